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
// table has the English table's entries for the shared keys 0, 1, 10 and 11 (the newer generation's
// zero entries for 10 and 11 included) and entries that lead into the image for the letter keys. The
// English and Russian tables themselves are not listed. Image offsets, in increasing order.
[[nodiscard]] std::vector<std::int32_t> findOtherTables(std::span<const std::uint8_t> image,
                                                        const FirmwareDescriptor& firmware, bool hasRussian);

} // namespace klavoset
