// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/EditorView.h"

#include <QColor>
#include <QPalette>

namespace klavoset {

// The engine's system colours in the current palette: Window is an editable field's background, ScrollBar
// the grey of a disabled one, Face the window itself and InfoBk the warning of an exceeded budget.
[[nodiscard]] QColor systemColor(SysColor color, const QPalette& palette);

} // namespace klavoset
