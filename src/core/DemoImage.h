// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {

// An erased (0xFF) image of `size` bytes for a supported firmware, to try the editor without a phone: the
// identity block below the first probe, and the key tables and strings of the window's sample layouts laid
// where an untouched firmware keeps them (each table's strings just below it, a further table of one
// layout above the English table on the newer generation), so that it behaves like a phone's own dump;
// and the WAP layout copied from English, as a save copies it, where the firmware has usable WAP tables.
// Refuses an unknown identity and a size too small (or too large) for the firmware's areas.
[[nodiscard]] Result<std::vector<std::uint8_t>, std::string> makeDemoImage(std::string_view fwId,
                                                                           std::int32_t size);

} // namespace klavoset
