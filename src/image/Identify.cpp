// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/Identify.h"

#include <cstdio>

namespace klavoset {

std::string GetSt(std::span<const std::uint8_t> Flash, std::int32_t& Pos)
{
    std::string s;
    const auto len = static_cast<std::int64_t>(Flash.size());
    if (Pos < 0 || Pos >= len)
        return s;
    while (Pos < len && Flash[static_cast<std::size_t>(Pos)] != 0x00 &&
           Flash[static_cast<std::size_t>(Pos)] != 0xFF) {
        s += static_cast<char>(Flash[static_cast<std::size_t>(Pos)]);
        ++Pos;
    }
    return s;
}

std::string identifyFirmware(std::span<const std::uint8_t> Flash)
{
    std::int32_t Pos = 0;
    std::string FwId;
    for (const std::int32_t probe : kProbes) {
        Pos = probe;
        FwId = GetSt(Flash, Pos);
        if (FwId == "SIEMENS")
            break;
    }
    const std::int32_t Base = Pos & 0xFFFF00;
    if (Pos < static_cast<std::int64_t>(Flash.size())) {
        Pos = Base + 0x70;
        FwId = GetSt(Flash, Pos);
        const std::size_t versionAt = static_cast<std::size_t>(Base) + 0x50;
        const unsigned version = versionAt < Flash.size() ? Flash[versionAt] : 0;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", version);
        FwId += " v";
        FwId += hex;
        Pos = Base + 0x60;
        FwId += " ";
        FwId += GetSt(Flash, Pos);
    }
    return FwId;
}

bool descriptorFitsImage(const FirmwareDescriptor& d, std::int32_t FlashLen)
{
    struct Area
    {
        std::int64_t start, size;
    };
    const Area areas[] = {
        {d.EngTab, kTableBytes},
        {d.RusTab, kTableBytes},
        {d.EngData, kEngDataBytes},
        {d.RusData, kRusDataBytes},
        {d.CommonData, commonDataBytes(d)},
        {d.NewGen ? d.Key10Entry : 0, kEntryBytes},
        {d.wapAvailable ? d.WapTabU : 0, kWapTableBytes},
        {d.wapAvailable ? d.WapTabL : 0, kWapTableBytes},
        {d.wapAvailable ? d.WapData : 0, d.wapCapacity},
    };
    for (const Area& a : areas)
        if (a.start < 0 || a.start + a.size > FlashLen)
            return false;
    return true;
}

} // namespace klavoset
