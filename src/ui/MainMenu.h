// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMenuBar>
#include <QObject>

#include <map>
#include <string>
#include <string_view>

class QAction;

namespace klavoset {

// The menu bar as designed. An item's check mark is the editor's to set: choosing an item does not
// toggle it, the command decides.
class MainMenu : public QObject
{
    Q_OBJECT
  public:
    explicit MainMenu(QMenuBar* bar);

    // The item's action (a top-level menu's own action for a menu); nullptr for an unknown name.
    [[nodiscard]] QAction* action(std::string_view name) const;
    void setChecked(std::string_view name, bool checked);
    [[nodiscard]] bool checked(std::string_view name) const;

  signals:
    void commandChosen(const QString& name);

  private:
    struct Item
    {
        QAction* action = nullptr;
        bool checked = false;
    };
    std::map<std::string, Item, std::less<>> m_items;
};

} // namespace klavoset
