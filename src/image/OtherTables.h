// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <cstdint>
#include <span>
#include <vector>

namespace klavoset {

// Bytes of one further key table: the 12 entries of one layout.
inline constexpr std::int32_t kOtherTableBytes = 72;

// The firmware's further key tables (its Greek or Arabic layouts, say) that lie, even in part, in an area
// a save may fill: the key storages and, when WAP is available, the WAP storage with its capacity. Such a
// table has entries that lead into the image for the letter keys; on the older generation the English
// table's entries for the shared keys 0, 1, 10 and 11; on the newer generation zero entries for keys 10
// and 11 and entries that lead into the image for keys 0 and 1, so that it is still found after a save
// has moved the English table's strings. The English and Russian tables themselves are not listed.
// Image offsets, in increasing order.
[[nodiscard]] std::vector<std::int32_t> findOtherTables(std::span<const std::uint8_t> image,
                                                        const FirmwareDescriptor& firmware, bool hasRussian);

// A further table and what its layout needs from the image: its own bytes and the strings its entries lead
// to. Writing into any of them breaks that layout: its letters often lie where a save puts the English ones.
struct OtherTable
{
    std::int32_t offset = 0;
    std::vector<ImageArea> areas;
};
[[nodiscard]] OtherTable otherTableAt(std::span<const std::uint8_t> image, std::int32_t offset,
                                      std::int32_t addressCorrection);

} // namespace klavoset
