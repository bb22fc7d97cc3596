// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QList>
#include <QString>

namespace klavoset {

// The program's icon, for its windows: the pictures drawn from its SVG at build time.
[[nodiscard]] QIcon programIcon();
[[nodiscard]] QList<int> programIconSizes();

// Toolbar picture 1..21 for buttons that show it `side` pixels wide on a screen of `pixelRatio`. The
// pictures drawn at build time serve the sizes they were drawn at; any other size is drawn from the SVG.
[[nodiscard]] QIcon toolbarPicture(int image, int side, qreal pixelRatio);
[[nodiscard]] QList<int> toolbarPictureSizes();
[[nodiscard]] QString toolbarPictureSource(int image); // the SVG resource

} // namespace klavoset
