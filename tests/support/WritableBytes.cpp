// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/WritableBytes.h"

#include <algorithm>
#include <cstdint>

namespace klavoset::test {

std::vector<bool> writableBytes(const FirmwareDescriptor& d, bool hasRussian, bool wap, std::size_t size)
{
    std::vector<bool> ok(size, false);
    const auto allow = [&](std::int64_t at, std::int64_t n) {
        for (std::int64_t k = std::max<std::int64_t>(at, 0);
             k < at + n && k < static_cast<std::int64_t>(size); ++k)
            ok[static_cast<std::size_t>(k)] = true;
    };
    allow(d.englishTable, 144);
    allow(d.englishStorage, 272);
    allow(d.sharedStorage, 2 * d.sharedCapacity);
    if (d.newGeneration)
        allow(d.key10Entry, 6);
    if (hasRussian) {
        allow(d.russianTable, 144);
        allow(d.russianStorage, 276);
    }
    if (wap) {
        for (int i = 0; i < 12; ++i) {
            allow(d.wapUpperTable + 10 * i + 6, 4);
            allow(d.wapLowerTable + 10 * i + 6, 4);
        }
        allow(d.wapStorage, d.wapCapacity);
    }
    return ok;
}

} // namespace klavoset::test
