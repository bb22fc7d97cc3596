// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace klavoset {

// The window is designed in twips (1/1440 inch): 15 twips are one pixel at 96 dpi, more at higher dpi.
[[nodiscard]] constexpr int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// The designed client area and the bars along its edges, in twips.
inline constexpr int kClientWidth = 10050;
inline constexpr int kClientHeight = 9090;
inline constexpr int kToolbarHeight = 525;
inline constexpr int kStatusBarHeight = 300;

} // namespace klavoset
