// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QList>
#include <QString>

namespace klavoset {

// The program's icon and the toolbar's pictures 1..21, drawn at build time from their SVG sources into
// PNGs of the sizes below, the sizes the window shows them at on common screens; any other size is drawn
// from the SVG when it is shown.
[[nodiscard]] QIcon programIcon();
[[nodiscard]] QList<int> programIconSizes();
[[nodiscard]] QIcon toolbarPicture(int image);
[[nodiscard]] QList<int> toolbarPictureSizes();
[[nodiscard]] QString toolbarPictureSource(int image); // the SVG resource

} // namespace klavoset
