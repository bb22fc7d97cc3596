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
// identity block below the first probe, the key tables and strings of the window's sample layouts written
// as a save would write them, and the WAP layout copied from English where the firmware has usable WAP
// tables. Refuses an unknown identity and a size too small (or too large) for the firmware's areas.
[[nodiscard]] Result<std::vector<std::uint8_t>, std::string> makeDemoImage(std::string_view fwId,
                                                                           std::int32_t size);

} // namespace klavoset
