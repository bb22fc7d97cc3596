// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/EditorView.h"

#include <QLabel>
#include <QWidget>

#include <array>

namespace klavoset {

class KeyField;

// The keypad: for each of the twelve keys a label and its four fields (eb, em, rb, rm) one above the
// other, at the designed places. Its own background is the window colour of the editor.
class KeyGrid : public QWidget
{
    Q_OBJECT
  public:
    explicit KeyGrid(QWidget* parent);

    [[nodiscard]] KeyField* field(Layout a, int key) const;
    [[nodiscard]] QLabel* label(int key) const;
    void setFieldColor(Layout a, int key, const QColor& color);
    void setBackground(const QColor& color);

    // Tab order: column by column, each key's fields from top to bottom.
    static constexpr int kTabKeys[kKeys] = {1, 4, 7, 10, 2, 5, 8, 0, 3, 6, 9, 11};
    [[nodiscard]] static QString keyName(int key);
    [[nodiscard]] static QString fieldName(Layout a, int key); // objectName, e.g. "eb_10"
    // What a screen reader says for a field: its key and layout, e.g. "Клавиша 2, английская, заглавные".
    [[nodiscard]] static QString accessibleName(Layout a, int key);

  private:
    std::array<std::array<KeyField*, kKeys>, 4> m_fields{};
    std::array<QLabel*, kKeys> m_labels{};
};

} // namespace klavoset
