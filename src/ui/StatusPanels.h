// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

namespace klavoset {

// The status bar's seven text panels, numbered 1 to 7 as the editor names them.
class StatusPanels : public QStatusBar
{
    Q_OBJECT
  public:
    explicit StatusPanels(QWidget* parent);

    [[nodiscard]] QLabel* panel(int number) const; // nullptr outside 1..7
    [[nodiscard]] QString text(int number) const;
    void setText(int number, const QString& text);

  private:
    std::array<QLabel*, 7> m_panels{};
};

} // namespace klavoset
