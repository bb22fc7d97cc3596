// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareTable.h"
#include "support/ImageBuilder.h"

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace klavoset::fuzz {

// Valid images of every supported firmware holding the sample layouts, as small as the firmware allows
// (so that each fuzz run stays fast), built once and then lent: as a save by this program leaves them, or
// with `phoneKept` as an untouched phone keeps them.
class SyntheticImages
{
  public:
    // `correction` is the address correction the pointers are written for (0, 0x200000 or 0x400000).
    [[nodiscard]] const std::vector<std::uint8_t>& of(const FirmwareRow& row, std::int32_t correction,
                                                      bool phoneKept = false);

  private:
    std::map<std::tuple<const FirmwareRow*, std::int32_t, bool>, std::vector<std::uint8_t>> m_images;
};

} // namespace klavoset::fuzz
