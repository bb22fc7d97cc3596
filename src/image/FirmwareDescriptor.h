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
    std::string FwId;
    std::int32_t EngTab = 0;
    std::int32_t RusTab = 0;
    std::int32_t Key10Entry = 0;
    std::int32_t WapTabU = 0;
    std::int32_t WapTabL = 0;
    std::int32_t EngData = 0;
    std::int32_t RusData = 0;
    std::int32_t CommonData = 0;
    std::int32_t WapData = 0;
    bool NewGen = false;
    bool HasRus = true;
    int CommonCap = 0;
    // Whether the WAP tables can be written safely, and how many bytes the WAP strings may take.
    bool wapAvailable = false;
    std::int32_t wapCapacity = 0;

    bool operator==(const FirmwareDescriptor&) const = default;
};

// Sizes of the areas, in bytes.
inline constexpr std::int32_t kTableBytes = 144; // 2 layouts x 12 entries x 6 bytes
inline constexpr std::int32_t kEntryBytes = 6;
inline constexpr std::int32_t kWapTableBytes = 120; // 12 records x 10 bytes
inline constexpr std::int32_t kEngDataBytes = 272;  // 136 characters
inline constexpr std::int32_t kRusDataBytes = 276;  // 138 characters
inline constexpr int kEngCap = 136;
inline constexpr int kRusCap = 138;
inline constexpr int kLargeCommonCap = 91; // the larger of the two capacities of the shared keys
// The load takes a Russian table as real only when its first count (key 0) is at most this.
inline constexpr int kMaxRusKey0Count = 17;

// `size` bytes of the image from `offset`.
struct ImageArea
{
    std::int32_t offset = 0;
    std::int32_t size = 0;
};

[[nodiscard]] inline std::int32_t commonDataBytes(const FirmwareDescriptor& d) { return 2 * d.CommonCap; }

} // namespace klavoset
