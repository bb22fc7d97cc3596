// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/Budget.h"

#include "image/FirmwareDescriptor.h"

namespace klavoset {

bool Budget::exceeded(int sharedCapacity) const
{
    return sharedUsed > sharedCapacity || englishUsed > kEnglishCapacity || russianUsed > kRussianCapacity;
}

Budget countBudget(const FieldLengths& lengths)
{
    const auto len = [&](Layout a, int key) {
        return lengths[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)];
    };
    Budget b;
    for (const int key : kSharedKeys)
        b.sharedUsed += len(Layout::englishUpper, key);
    for (int k = 2; k <= 9; ++k) {
        b.englishUsed += len(Layout::englishUpper, k) + len(Layout::englishLower, k);
        b.russianUsed += len(Layout::russianUpper, k) + len(Layout::russianLower, k);
    }
    return b;
}

Budget countBudget(const LayoutTexts& texts)
{
    return countBudget(
        fieldLengths([&texts](Layout a, int key) { return static_cast<int>(texts.at(a, key).size()); }));
}

} // namespace klavoset
