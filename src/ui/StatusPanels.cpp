#include "ui/StatusPanels.h"

#include "core/WindowDesign.h"
#include "ui/Twips.h"

#include <QLabel>

namespace klavoset {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    const int dpi = logicalDpiX();
    setFixedHeight(twipsToPixels(kStatusBarHeight, logicalDpiY()));
    int number = 0;
    for (const design::Panel& p : design::kPanels) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(number + 1));
        label->setToolTip(QString::fromStdU16String(std::u16string(p.tooltip)));
        label->setTextFormat(Qt::PlainText); // paths and messages, never markup
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        const int width = twipsToPixels(p.widthTwips, dpi);
        const bool last = number + 1 == static_cast<int>(m_panels.size());
        // The designed widths add up to a little more than the window: the last panel takes what is left.
        if (last)
            label->setMaximumWidth(width);
        else
            label->setFixedWidth(width);
        addPermanentWidget(label, last ? 1 : 0); // permanent: a status tip never hides it
        m_panels[static_cast<std::size_t>(number++)] = label;
    }
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
