// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>

namespace klavoset {

// A key's text field. Its limit holds for typing only: a text set by the program is kept whole, however
// long, and the user may shorten it but not lengthen it while it is over the limit.
class KeyField : public QLineEdit
{
    Q_OBJECT
  public:
    KeyField(int limit, QWidget* parent);

    void setProgramText(const QString& text);
    [[nodiscard]] int typingLimit() const { return m_limit; }

  private:
    void followLength();

    int m_limit;
};

} // namespace klavoset
