// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

namespace klavoset {

// Where a firmware keeps its layouts, all as byte offsets into the image.
struct FirmwareDescriptor
{
    std::string id;
    std::int32_t englishTable = 0;
    std::int32_t russianTable = 0;
    std::int32_t key10Entry = 0;
    std::int32_t wapUpperTable = 0;
    std::int32_t wapLowerTable = 0;
    std::int32_t englishStorage = 0;
    std::int32_t russianStorage = 0;
    std::int32_t sharedStorage = 0;
    std::int32_t wapStorage = 0;
    bool newGeneration = false;
    bool hasRussian = true;
    int sharedCapacity = 0;
    // Whether the WAP tables can be written safely, and how many bytes the WAP strings may take.
    bool wapAvailable = false;
    std::int32_t wapCapacity = 0;

    bool operator==(const FirmwareDescriptor&) const = default;
};

// Sizes of the areas, in bytes.
inline constexpr std::int32_t kTableBytes = 144; // 2 layouts x 12 entries x 6 bytes
inline constexpr std::int32_t kEntryBytes = 6;
inline constexpr std::int32_t kWapTableBytes = 120;       // 12 records x 10 bytes
inline constexpr std::int32_t kEnglishStorageBytes = 272; // 136 characters
inline constexpr std::int32_t kRussianStorageBytes = 276; // 138 characters
inline constexpr int kEnglishCapacity = 136;
inline constexpr int kRussianCapacity = 138;
inline constexpr int kLargeSharedCapacity = 91; // the larger of the two capacities of the shared keys
// The load takes a Russian table as real only when its first count (key 0) is at most this.
inline constexpr int kMaxRussianKey0Count = 17;

// `size` bytes of the image from `offset`.
struct ImageArea
{
    std::int32_t offset = 0;
    std::int32_t size = 0;
};

[[nodiscard]] inline std::int32_t sharedStorageBytes(const FirmwareDescriptor& d)
{
    return 2 * d.sharedCapacity;
}

} // namespace klavoset
