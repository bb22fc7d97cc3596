// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/WapTableSearch.h"

#include "image/FirmwareCatalog.h"
#include "image/Identify.h"

#include <algorithm>
#include <vector>

namespace klavoset {
namespace {

constexpr std::int64_t kWapRecordBytes = 10;
constexpr std::int64_t kWapPointerAt = 6;
constexpr int kWapRecords = 12;

// A NUL-terminated UTF-8 string at `at` that ends before `end`.
bool wapStringBefore(const ImageBytes& image, std::int64_t at, std::int64_t end)
{
    while (at < end) {
        const std::uint32_t lead = image.byte(at++);
        if (lead == 0)
            return true;
        int follow = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            follow = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            follow = 2;
        else if (lead >= 0x80)
            return false;
        for (; follow > 0; --follow, ++at)
            if (at >= end || (image.byte(at) & 0xC0) != 0x80)
                return false;
    }
    return false;
}

// Twelve records whose pointers all lead to strings inside `strings`.
bool wapTableIn(const ImageBytes& image, std::int64_t table, const ByteArea& strings, std::int32_t correction)
{
    if (!image.inside(table, kWapTableBytes))
        return false;
    for (int i = 0; i < kWapRecords; ++i) {
        const std::int64_t address = image.addressAt(table + kWapRecordBytes * i + kWapPointerAt);
        if (address < 0)
            return false;
        const std::int64_t at = image.offsetOf(address, correction);
        if (at < strings.from || at >= strings.to || !wapStringBefore(image, at, strings.to))
            return false;
    }
    return true;
}

} // namespace

void findWapTables(const ImageBytes& image, FirmwareRow& row, std::int32_t correction,
                   std::span<const std::int64_t> hits)
{
    // The row has no WAP tables yet, so its areas are the key tables and storages alone.
    const FirmwareDescriptor d = completeDescriptor(row);
    std::vector<ByteArea> keyAreas;
    for (const ImageArea& a : descriptorAreas(d))
        keyAreas.push_back({a.offset, std::int64_t{a.offset} + a.size});
    ByteArea strings{d.wapStorage, image.size()};
    for (const ByteArea& a : keyAreas)
        if (a.from > strings.from)
            strings.to = std::min(strings.to, a.from);

    std::vector<std::int64_t> starts;
    for (const std::int64_t hit : hits) {
        const std::int64_t at = image.offsetOf(image.addressAt(hit), correction);
        if (at < strings.from || at >= strings.to)
            continue;
        for (int record = 0; record + 2 < kWapRecords; ++record)
            if (hit - kWapPointerAt - kWapRecordBytes * record >= 0)
                starts.push_back(hit - kWapPointerAt - kWapRecordBytes * record);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<std::int64_t> tables;
    for (const std::int64_t start : starts)
        if (wapTableIn(image, start, strings, correction)) {
            tables.push_back(start);
            if (tables.size() > 2)
                return;
        }
    if (tables.size() != 2 || tables[1] - tables[0] < kWapTableBytes)
        return;

    FirmwareRow with = row;
    with.wapUpperTable = static_cast<std::int32_t>(tables[0]);
    with.wapLowerTable = static_cast<std::int32_t>(tables[1]);
    const FirmwareDescriptor w = completeDescriptor(with);
    if (!w.wapAvailable || descriptionFault(with) ||
        !descriptorFitsImage(w, static_cast<std::int32_t>(image.size())))
        return;
    const ByteArea wapStorage{w.wapStorage, w.wapStorage + w.wapCapacity};
    keyAreas.push_back(wapStorage);
    for (const std::int64_t table : tables) {
        if (!wapTableIn(image, table, wapStorage, correction))
            return;
        for (const ByteArea& a : keyAreas)
            if (a.meets({table, table + kWapTableBytes}))
                return;
    }
    row = with;
}

} // namespace klavoset
