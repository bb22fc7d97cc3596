// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/StatusPanels.h"

#include "core/WindowDesign.h"
#include "ui/Twips.h"

#include <QHBoxLayout>
#include <QLabel>

namespace klavoset {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    const int dpi = logicalDpiX();
    setFixedHeight(twipsToPixels(kStatusBarHeight, logicalDpiY()));
    // The panels stand side by side in a row of their own: the status bar's layout would space them
    // wider than designed. Permanent, so that no status tip ever hides them.
    auto* row = new QWidget(this);
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(2);
    QFont small = font();
    small.setPointSize(8);
    int number = 0;
    for (const design::Panel& p : design::kPanels) {
        auto* label = new QLabel(row);
        label->setObjectName(QStringLiteral("Panel%1").arg(number + 1));
        label->setToolTip(QString::fromStdU16String(std::u16string(p.tooltip)));
        label->setTextFormat(Qt::PlainText); // paths and messages, never markup
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setFont(small);
        const int width = twipsToPixels(p.widthTwips, dpi);
        // The designed widths add up to a little more than the window: the path panel takes what is
        // left, so that the firmware's identity in the last panel is always whole.
        const bool flexible = number == 1;
        if (flexible) {
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            label->setMaximumWidth(width);
        } else {
            label->setFixedWidth(width);
        }
        box->addWidget(label, flexible ? 1 : 0);
        m_panels[static_cast<std::size_t>(number++)] = label;
    }
    addPermanentWidget(row, 1);
}

QLabel* StatusPanels::panel(int number) const
{
    return number >= 1 && number <= 7 ? m_panels[static_cast<std::size_t>(number - 1)] : nullptr;
}

QString StatusPanels::text(int number) const
{
    const QLabel* label = panel(number);
    return label == nullptr ? QString() : label->text();
}

void StatusPanels::setText(int number, const QString& text)
{
    if (QLabel* label = panel(number))
        label->setText(text);
}

} // namespace klavoset
