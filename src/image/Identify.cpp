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

std::vector<ImageArea> descriptorAreas(const FirmwareDescriptor& d)
{
    std::vector<ImageArea> areas = {{d.englishTable, kTableBytes},
                                    {d.russianTable, kTableBytes},
                                    {d.englishStorage, kEnglishStorageBytes},
                                    {d.russianStorage, kRussianStorageBytes},
                                    {d.sharedStorage, sharedStorageBytes(d)}};
    if (d.newGeneration)
        areas.push_back({d.key10Entry, kEntryBytes});
    if (d.wapAvailable) {
        areas.push_back({d.wapUpperTable, kWapTableBytes});
        areas.push_back({d.wapLowerTable, kWapTableBytes});
        areas.push_back({d.wapStorage, d.wapCapacity});
    }
    return areas;
}

bool descriptorFitsImage(const FirmwareDescriptor& d, std::int32_t imageSize)
{
    for (const ImageArea& a : descriptorAreas(d))
        if (a.offset < 0 || std::int64_t{a.offset} + a.size > imageSize)
            return false;
    return true;
}

bool meetsIdentityBlock(const ImageArea& area)
{
    constexpr std::int64_t kBlockBytes = 0x100;
    const std::int64_t end = std::int64_t{area.offset} + area.size;
    for (const std::int32_t probe : kProbes) {
        const std::int64_t block = probe & ~(kBlockBytes - 1);
        if (area.size > 0 && area.offset < block + kBlockBytes && block < end)
            return true;
    }
    return false;
}

} // namespace klavoset
