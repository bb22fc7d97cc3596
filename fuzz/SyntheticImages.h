// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareTable.h"
#include "support/ImageBuilder.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace klavoset::fuzz {

// Valid images of every supported firmware holding the sample layouts, as small as the firmware allows
// (so that each fuzz run stays fast), built once and then lent.
class SyntheticImages
{
  public:
    // `adrFix` is the address correction the pointers are written for (0, 0x200000 or 0x400000).
    [[nodiscard]] const std::vector<std::uint8_t>& of(const FirmwareRow& row, std::int32_t correction);

  private:
    std::map<std::pair<const FirmwareRow*, std::int32_t>, std::vector<std::uint8_t>> m_images;
};

} // namespace klavoset::fuzz
