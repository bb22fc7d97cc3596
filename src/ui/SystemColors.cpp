// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SystemColors.h"

namespace klavoset {

QColor systemColor(SysColor color, const QPalette& palette)
{
    switch (color) {
    case SysColor::Window:
        return palette.color(QPalette::Active, QPalette::Base);
    case SysColor::ScrollBar: {
        // A scroll bar's track: between the button face and its shadow, so a disabled field stands out
        // from both the window and an editable field.
        const QColor face = palette.color(QPalette::Active, QPalette::Button);
        const QColor mid = palette.color(QPalette::Active, QPalette::Mid);
        return QColor((face.red() + mid.red()) / 2, (face.green() + mid.green()) / 2,
                      (face.blue() + mid.blue()) / 2);
    }
    case SysColor::Face:
        return palette.color(QPalette::Active, QPalette::Window);
    case SysColor::InfoBk:
        return palette.color(QPalette::Active, QPalette::ToolTipBase);
    }
    return palette.color(QPalette::Active, QPalette::Window);
}

} // namespace klavoset
