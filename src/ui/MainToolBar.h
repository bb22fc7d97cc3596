// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QToolBar>

#include <map>
#include <string>
#include <string_view>

class QAction;

namespace klavoset {

// The toolbar as designed: buttons named by their command's key, group buttons whose pressed state the
// editor sets (pressing one releases the others of its group; a click alone presses nothing).
class MainToolBar : public QToolBar
{
    Q_OBJECT
  public:
    explicit MainToolBar(QWidget* parent);

    // The button's action, nullptr for an unknown key; its objectName is "Toolbar_" and the key.
    [[nodiscard]] QAction* button(std::string_view key) const;
    void setPressed(std::string_view key);
    [[nodiscard]] bool pressed(std::string_view key) const;

  signals:
    void buttonClicked(const QString& key);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Button
    {
        QAction* action = nullptr;
        int group = 0;
        bool pressed = false;
    };
    std::map<std::string, Button, std::less<>> m_buttons;
};

} // namespace klavoset
