// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/Budget.h"

#include "image/FirmwareDescriptor.h"

namespace klavoset {

bool Budget::exceeded(int CommonCap) const
{
    return CommonUsed > CommonCap || EngUsed > kEngCap || RusUsed > kRusCap;
}

Budget countBudget(const FieldLengths& lengths)
{
    const auto len = [&](KeyArray a, int key) {
        return lengths[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)];
    };
    Budget b;
    for (const int key : kSharedKeys)
        b.CommonUsed += len(KeyArray::eb, key);
    for (int k = 2; k <= 9; ++k) {
        b.EngUsed += len(KeyArray::eb, k) + len(KeyArray::em, k);
        b.RusUsed += len(KeyArray::rb, k) + len(KeyArray::rm, k);
    }
    return b;
}

Budget countBudget(const LayoutTexts& texts)
{
    return countBudget(
        fieldLengths([&texts](KeyArray a, int key) { return static_cast<int>(texts.at(a, key).size()); }));
}

} // namespace klavoset
