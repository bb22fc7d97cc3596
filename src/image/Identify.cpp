// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/Identify.h"

#include <cstdio>

namespace klavoset {

std::string readByteString(std::span<const std::uint8_t> image, std::int32_t& at)
{
    std::string s;
    const auto len = static_cast<std::int64_t>(image.size());
    if (at < 0 || at >= len)
        return s;
    while (at < len && image[static_cast<std::size_t>(at)] != 0x00 &&
           image[static_cast<std::size_t>(at)] != 0xFF) {
        s += static_cast<char>(image[static_cast<std::size_t>(at)]);
        ++at;
    }
    return s;
}

bool hasIdentityBlock(std::span<const std::uint8_t> image)
{
    for (const std::int32_t probe : kProbes) {
        std::int32_t at = probe;
        if (readByteString(image, at) == "SIEMENS")
            return true;
    }
    return false;
}

std::string identifyFirmware(std::span<const std::uint8_t> image)
{
    std::int32_t at = 0;
    std::string id;
    for (const std::int32_t probe : kProbes) {
        at = probe;
        id = readByteString(image, at);
        if (id == "SIEMENS")
            break;
    }
    const std::int32_t block = at & 0xFFFF00;
    if (at < static_cast<std::int64_t>(image.size())) {
        at = block + 0x70;
        id = readByteString(image, at);
        const std::size_t versionAt = static_cast<std::size_t>(block) + 0x50;
        const unsigned version = versionAt < image.size() ? image[versionAt] : 0;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", version);
        id += " v";
        id += hex;
        at = block + 0x60;
        id += " ";
        id += readByteString(image, at);
    }
    return id;
}

bool descriptorFitsImage(const FirmwareDescriptor& d, std::int32_t imageSize)
{
    struct Area
    {
        std::int64_t start, size;
    };
    const Area areas[] = {
        {d.englishTable, kTableBytes},
        {d.russianTable, kTableBytes},
        {d.englishStorage, kEnglishStorageBytes},
        {d.russianStorage, kRussianStorageBytes},
        {d.sharedStorage, sharedStorageBytes(d)},
        {d.newGeneration ? d.key10Entry : 0, kEntryBytes},
        {d.wapAvailable ? d.wapUpperTable : 0, kWapTableBytes},
        {d.wapAvailable ? d.wapLowerTable : 0, kWapTableBytes},
        {d.wapAvailable ? d.wapStorage : 0, d.wapCapacity},
    };
    for (const Area& a : areas)
        if (a.start < 0 || a.start + a.size > imageSize)
            return false;
    return true;
}

} // namespace klavoset
