// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/KeyField.h"

#include <algorithm>

namespace klavoset {

KeyField::KeyField(int limit, QWidget* parent) : QLineEdit(parent), m_limit(limit)
{
    setMaxLength(limit);
    connect(this, &QLineEdit::textEdited, this, &KeyField::followLength);
}

void KeyField::setProgramText(const QString& text)
{
    // QLineEdit cuts a text to its maximum length, so the maximum is raised first and lowered after.
    if (text.size() > maxLength())
        setMaxLength(static_cast<int>(text.size()));
    setText(text);
    followLength();
}

void KeyField::followLength()
{
    // Setting the maximum sets the text again, even when the maximum stays: laid out anew, the cursor put
    // at the end and the undo steps forgotten. So only a change is set, and the cursor is put back.
    const int limit = std::max(m_limit, static_cast<int>(text().size()));
    if (limit == maxLength())
        return;
    const int cursor = cursorPosition();
    setMaxLength(limit);
    setCursorPosition(cursor);
}

} // namespace klavoset
