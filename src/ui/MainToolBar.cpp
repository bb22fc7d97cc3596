// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/MainToolBar.h"

#include "core/WindowDesign.h"
#include "ui/Pictures.h"
#include "ui/Twips.h"

#include <QAction>
#include <QLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionToolBar>

namespace klavoset {

MainToolBar::MainToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    toggleViewAction()->setVisible(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    const int side = twipsToPixels(23 * 15, logicalDpiY()); // the pictures are 23 pixels at 96 dpi
    setIconSize(QSize(side, side));
    setFixedHeight(twipsToPixels(kToolbarHeight, logicalDpiY()));
    layout()->setSpacing(0);

    for (const design::ToolbarEntry& b : design::kToolbar) {
        if (b.kind == design::ButtonKind::Separator) {
            addSeparator();
            continue;
        }
        const QString key = QString::fromUtf8(b.key.data(), static_cast<qsizetype>(b.key.size()));
        const QString tip = QString::fromStdU16String(std::u16string(b.tooltip));
        QAction* action = addAction(toolbarPicture(b.image), tip);
        action->setObjectName(QStringLiteral("Toolbar_") + key);
        action->setToolTip(tip);
        action->setEnabled(b.enabled);
        const bool group = b.kind == design::ButtonKind::Group;
        action->setCheckable(group);
        action->setChecked(b.pressed);
        connect(action, &QAction::triggered, this, [this, action, key] {
            if (!action->isEnabled())
                return;
            action->setChecked(pressed(key.toStdString())); // the command presses it, not the click
            emit buttonClicked(key);
        });
        // Tight buttons, so that all 26 entries fit the designed width as the pictures are made for.
        widgetForAction(action)->setFixedSize(side + 4, side + 4);
        widgetForAction(action)->setAccessibleName(tip); // a picture alone says nothing to a screen reader
        m_buttons[std::string(b.key)] = Button{action, group ? b.group : 0, b.pressed};
    }
}

void MainToolBar::paintEvent(QPaintEvent*)
{
    // The style's background, drawn in strips: Qt hands a line of a hundred pixels or more to a pool of
    // threads that it starts for the purpose, which takes longer than the line itself. The pixels are
    // the same.
    QPainter painter(this);
    QStyleOptionToolBar option;
    initStyleOption(&option);
    constexpr int kStrip = 64;
    for (int x = 0; x < width(); x += kStrip) {
        painter.setClipRect(QRect(x, 0, kStrip, height()));
        style()->drawControl(QStyle::CE_ToolBar, &option, &painter, this);
    }
}

QAction* MainToolBar::button(std::string_view key) const
{
    const auto it = m_buttons.find(key);
    return it == m_buttons.end() ? nullptr : it->second.action;
}

void MainToolBar::setPressed(std::string_view key)
{
    const auto it = m_buttons.find(key);
    if (it == m_buttons.end())
        return;
    for (auto& [name, b] : m_buttons)
        if (b.group != 0 && b.group == it->second.group && &b != &it->second) {
            b.pressed = false;
            b.action->setChecked(false);
        }
    it->second.pressed = true;
    it->second.action->setChecked(true);
}

bool MainToolBar::pressed(std::string_view key) const
{
    const auto it = m_buttons.find(key);
    return it != m_buttons.end() && it->second.pressed;
}

} // namespace klavoset
