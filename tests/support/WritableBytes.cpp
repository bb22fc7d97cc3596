// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/WritableBytes.h"

#include <algorithm>
#include <cstdint>

namespace klavoset::test {

std::vector<ImageArea> writableAreas(const FirmwareDescriptor& d, bool hasRussian, bool wap)
{
    std::vector<ImageArea> areas{
        {d.englishTable, 144}, {d.englishStorage, 272}, {d.sharedStorage, 2 * d.sharedCapacity}};
    if (d.newGeneration)
        areas.push_back({d.key10Entry, 6});
    if (hasRussian) {
        areas.push_back({d.russianTable, 144});
        areas.push_back({d.russianStorage, 276});
    }
    if (wap) {
        for (int i = 0; i < 12; ++i) {
            areas.push_back({d.wapUpperTable + 10 * i + 6, 4});
            areas.push_back({d.wapLowerTable + 10 * i + 6, 4});
        }
        areas.push_back({d.wapStorage, d.wapCapacity});
    }
    return areas;
}

bool isWritable(const std::vector<ImageArea>& areas, std::size_t offset)
{
    const auto at = static_cast<std::int64_t>(offset);
    return std::any_of(areas.begin(), areas.end(), [at](const ImageArea& a) {
        return at >= a.offset && at < std::int64_t{a.offset} + a.size;
    });
}

std::vector<bool> writableBytes(const FirmwareDescriptor& d, bool hasRussian, bool wap, std::size_t size)
{
    std::vector<bool> ok(size, false);
    for (const ImageArea& a : writableAreas(d, hasRussian, wap))
        for (std::int64_t k = std::max<std::int64_t>(a.offset, 0);
             k < std::int64_t{a.offset} + a.size && k < static_cast<std::int64_t>(size); ++k)
            ok[static_cast<std::size_t>(k)] = true;
    return ok;
}

} // namespace klavoset::test
