// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>

namespace klavoset {

// The four layouts: English upper/lower case, Russian upper/lower case.
enum class Layout { englishUpper, englishLower, russianUpper, russianLower };
inline constexpr Layout kAllLayouts[] = {Layout::englishUpper, Layout::englishLower, Layout::russianUpper,
                                         Layout::russianLower};
inline constexpr int kKeys = 12; // 0..9, 10 = '*', 11 = '#'

// The keys all four layouts share: stored once, edited in englishUpper only. The others, 2..9, are letter
// keys.
inline constexpr int kSharedKeys[] = {0, 1, 10, 11};
[[nodiscard]] constexpr bool isSharedKey(int key) { return key < 2 || key > 9; }

// The 48 key texts: a snapshot of the key fields for the writers, or what a load decoded.
struct LayoutTexts
{
    std::array<std::array<std::u16string, kKeys>, 4> keys;

    [[nodiscard]] const std::u16string& at(Layout a, int key) const
    {
        return keys[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)];
    }
    [[nodiscard]] std::u16string& at(Layout a, int key)
    {
        return keys[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)];
    }
    bool operator==(const LayoutTexts&) const = default;
};

} // namespace klavoset
