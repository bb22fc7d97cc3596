// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"

#include <array>
#include <cstddef>

namespace klavoset {

// Characters counted against the fixed storage of the firmware (each takes 2 bytes in the image).
struct Budget
{
    int sharedUsed = 0;  // englishUpper keys 0, 1, 10, 11
    int englishUsed = 0; // englishUpper and englishLower keys 2..9
    int russianUsed = 0; // russianUpper and russianLower keys 2..9

    [[nodiscard]] bool exceeded(int sharedCapacity) const;
};

// The characters of each field: all the count looks at.
using FieldLengths = std::array<std::array<int, kKeys>, 4>;

// The lengths `lengthOf(a, key)` gives for every field.
template <class LengthOf> [[nodiscard]] FieldLengths fieldLengths(LengthOf lengthOf)
{
    FieldLengths lengths{};
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            lengths[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)] = lengthOf(a, key);
    return lengths;
}

[[nodiscard]] Budget countBudget(const FieldLengths& lengths);
[[nodiscard]] Budget countBudget(const LayoutTexts& texts);

} // namespace klavoset
