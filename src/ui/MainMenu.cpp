// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/MainMenu.h"

#include "core/WindowDesign.h"

#include <QAction>
#include <QMenu>

#include <span>

namespace klavoset {

namespace {

// A menu whose design checks one of its items holds options: all its items get the check column.
bool holdsOptions(std::span<const design::MenuItem> items)
{
    for (const auto& item : items)
        if (item.checked)
            return true;
    return false;
}

} // namespace

MainMenu::MainMenu(QMenuBar* bar) : QObject(bar)
{
    const std::span<const design::MenuItem> all(design::kMenu);
    QMenu* menu = nullptr;
    bool options = false;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const design::MenuItem& m = all[i];
        const QString name = QString::fromUtf8(m.name.data(), static_cast<qsizetype>(m.name.size()));
        const QString caption = QString::fromStdU16String(std::u16string(m.caption));
        QAction* action = nullptr;
        if (m.topLevel) {
            menu = bar->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            std::size_t end = i + 1;
            while (end < all.size() && !all[end].topLevel)
                ++end;
            options = holdsOptions(all.subspan(i + 1, end - i - 1));
        } else if (m.caption == u"-") {
            action = menu->addSeparator();
        } else {
            action = menu->addAction(caption);
            action->setCheckable(options || m.checked);
            action->setChecked(m.checked);
            connect(action, &QAction::triggered, this, [this, action, name] {
                // Qt has toggled the mark already; put back the editor's and let the command decide.
                action->setChecked(checked(name.toStdString()));
                emit commandChosen(name);
            });
        }
        action->setObjectName(name);
        action->setEnabled(m.enabled);
        m_items[std::string(m.name)] = Item{action, m.checked};
    }
}

QAction* MainMenu::action(std::string_view name) const
{
    const auto it = m_items.find(name);
    return it == m_items.end() ? nullptr : it->second.action;
}

void MainMenu::setChecked(std::string_view name, bool checked)
{
    const auto it = m_items.find(name);
    if (it == m_items.end())
        return;
    it->second.checked = checked;
    if (checked)
        it->second.action->setCheckable(true);
    it->second.action->setChecked(checked);
}

bool MainMenu::checked(std::string_view name) const
{
    const auto it = m_items.find(name);
    return it != m_items.end() && it->second.checked;
}

} // namespace klavoset
