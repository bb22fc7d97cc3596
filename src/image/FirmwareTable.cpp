// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/FirmwareTable.h"

#include <algorithm>
#include <limits>

namespace klavoset {
namespace {

constexpr bool N = true;  // newer generation
constexpr bool O = false; // older generation

// clang-format off
constexpr std::array<FirmwareRow, 34> kFirmware{{
    // id                newGeneration hasRussian  englishTable    russianTable    key10Entry wapUpperTable   wapLowerTable
    {"C55 v24 lg91",     N, true,  0x473076, 0x4734D4, 0x473AA4, 0x585D40, 0x585FF6},
    {"S55 v20 lg91",     N, true,  0x19B496, 0x19B8F4, 0x19BEC4, 0x10F7C0, 0x10F8B6},
    {"C45 v50 lg1",      O, true,  0x2367D8, 0x236C40, 0,        0x24F7AA, 0x24FA84},
    {"S45i v4 lg3",      O, true,  0x4EF2C,  0x4F394,  0,        0x6AC84,  0x6AF5E},
    {"M50 v17 lg91",     O, true,  0x40842,  0x40CAA,  0,        0x5ABB6,  0x5AE90},
    {"SLIK v56 lg1",     O, false, 0x185CE4, 0,        0,        0x405D04, 0x405E1C},
    {"2118 v31 lg8",     O, false, 0x4369A2, 0,        0,        0x49FC6E, 0x49FD8A},
    {"M55 v10 lg91",     N, true,  0x3FD6DE, 0x3FDB3C, 0x3FE10C, 0x36BA4C, 0x36BB42},
    {"M55 v10 lg2",      N, true,  0x3FD6DE, 0x3FDB3C, 0x3FE10C, 0x36BA4C, 0x36BB42},
    {"ME45 v28 lg3",     O, true,  0x49B18,  0x49F80,  0,        0x6398C,  0x63AA8},
    {"SL55 v14 lg91",    N, true,  0x1A2A40, 0x1A2E9E, 0x1A346E, 0x10BB2A, 0x10BC20},
    {"M55 v11 lg91",     N, true,  0x3DACC0, 0x3DB11E, 0x3DB6EE, 0x378070, 0x378166},
    {"A50 v10 lg91",     O, true,  0x235324, 0x23578C, 0,        0x24E7C6, 0x24EAA0},
    {"A50 v11 lg5",      O, true,  0x235324, 0x23578C, 0,        0x24E7C6, 0x24EAA0},
    {"ME45 v30 lg3",     O, true,  0x49B18,  0x49F80,  0,        0x63B12,  0x63C2E},
    {"M50 v19 lg91",     O, true,  0x40880,  0x40CE8,  0,        0x5ABB6,  0x5AE90},
    {"C45 v38 lg3",      O, true,  0x2367D8, 0x236C40, 0,        0x24F7AA, 0x24FA84},
    {"MT50 v17 lg91",    O, true,  0x40842,  0x40CAA,  0,        0x5ABB6,  0x5AE90},
    {"A50 v11 lg91",     O, true,  0x235324, 0x23578C, 0,        0x24E7C6, 0x24EAA0},
    {"C60 v23 lg91",     N, true,  0x54C0D8, 0x54C536, 0x54CB06, 0x25BDA0, 0x25BE96},
    {"C60 v25 lg91",     N, true,  0x54D4AA, 0x54D908, 0x54DED8, 0x268514, 0x26860A},
    {"CF62 v7 lg91",     N, true,  0x406A60, 0x406EBE, 0x40748E, 0x35B020, 0x35B116},
    {"C60 v26 lg91",     N, true,  0x54D4AA, 0x54D908, 0x54DED8, 0x268514, 0x26860A},
    {"M55 v11 lg92",     N, true,  0x3DACC0, 0x3DB11E, 0x3DB6EE, 0x378070, 0x378166},
    {"CF62 v11 lg91",    N, true,  0x406A60, 0x406EBE, 0x40748E, 0x35B016, 0x35B10C},
    {"M55 v91 lg91",     N, true,  0x3DACD0, 0x3DB12E, 0x3DB6FE, 0x378070, 0x378166},
    {"S55 v91 lg91",     N, true,  0x19B496, 0x19B8F4, 0x19BEC4, 0x10F7C0, 0x10F8B6},
    {"A50 v12 lg1",      O, true,  0x235324, 0x23578C, 0,        0x24E7C6, 0x24EAA0},
    {"A52 v7 lg1",       N, true,  0x1941FA, 0x194658, 0x194C28, 0,        0},
    {"A60 v10 lg95",     N, true,  0x70E2D2, 0x70E58C, 0x70ED00, 0x473CCA, 0x473DC0},
    {"MC60 v10 lg95",    N, true,  0x3E969A, 0x3E9AF8, 0x3EA0C8, 0x35AD62, 0x35AE58},
    {"A55 v9 lg1",       N, true,  0x495EE4, 0x496342, 0x496912, 0x576E9E, 0x57154},
    {"SL55 v16 lg91",    N, true,  0x1A2A40, 0x1A2E9E, 0x1A346E, 0x10F7E0, 0x10F8D6},
    {"C60 v27 lg91",     N, true,  0x54D4AA, 0x54D908, 0x54DED8, 0x268514, 0x26860A},
}};
// clang-format on

// In every sound row the lower-case WAP table lies a few hundred bytes above the upper-case one; a row
// outside that (no tables, or a lower table far away) is not trusted with WAP writes.
constexpr std::int32_t kMaxWapTableDistance = 0x400;

bool wapTablesUsable(const FirmwareRow& row)
{
    return row.wapUpperTable > 0 && row.wapLowerTable > row.wapUpperTable &&
           row.wapLowerTable - row.wapUpperTable <= kMaxWapTableDistance;
}

// An offset held to the range of offsets: a row far outside any image then gives areas outside it, which
// every check refuses, rather than a signed overflow.
std::int32_t bounded(std::int64_t offset)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        offset, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The WAP strings have no budget of their own: they may fill wapStorage up to the next area of the
// descriptor that starts above it, and no further.
std::int32_t wapCapacity(const FirmwareDescriptor& d)
{
    std::int32_t nearest = std::numeric_limits<std::int32_t>::max();
    const std::int32_t starts[] = {d.englishTable,   d.russianTable,  d.newGeneration ? d.key10Entry : 0,
                                   d.wapUpperTable,  d.wapLowerTable, d.englishStorage,
                                   d.russianStorage, d.sharedStorage};
    for (const std::int32_t start : starts)
        if (start > d.wapStorage)
            nearest = std::min(nearest, start);
    return nearest == std::numeric_limits<std::int32_t>::max()
               ? 0
               : bounded(std::int64_t{nearest} - d.wapStorage);
}

} // namespace

std::span<const FirmwareRow> supportedFirmware() { return kFirmware; }

const FirmwareRow* findFirmware(std::string_view fwId)
{
    const auto it = std::find_if(kFirmware.begin(), kFirmware.end(),
                                 [&](const FirmwareRow& row) { return row.id == fwId; });
    return it == kFirmware.end() ? nullptr : &*it;
}

FirmwareDescriptor completeDescriptor(const FirmwareRow& row)
{
    FirmwareDescriptor d;
    d.id = std::string(row.id);
    d.newGeneration = row.newGeneration;
    d.hasRussian = row.hasRussian;
    d.englishTable = row.englishTable;
    d.russianTable = row.russianTable;
    d.key10Entry = row.key10Entry;
    d.wapUpperTable = row.wapUpperTable;
    d.wapLowerTable = row.wapLowerTable;
    const auto at = [](std::int32_t offset, std::int64_t distance) { return bounded(offset + distance); };
    if (d.newGeneration) {
        d.sharedCapacity = 91;
        d.englishStorage = at(d.englishTable, 0x90);
        d.russianStorage = at(d.russianTable, -0x114);
        d.sharedStorage = at(d.englishTable, -0xB6);
        d.wapStorage = at(d.russianTable, 0x90);
    } else {
        d.sharedCapacity = 46;
        if (d.russianTable == 0)
            d.russianTable = at(d.englishTable, 0x468);
        d.englishStorage = at(d.englishTable, -0x110);
        d.russianStorage = at(d.russianTable, -0x114);
        d.sharedStorage = at(d.russianStorage, -0x5C);
        d.wapStorage = at(d.englishTable, 0x90 + 0x5A);
    }
    d.wapAvailable = wapTablesUsable(row);
    d.wapCapacity = d.wapAvailable ? wapCapacity(d) : 0;
    return d;
}

} // namespace klavoset
