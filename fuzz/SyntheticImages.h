#pragma once

#include "image/FirmwareTable.h"
#include "support/FlashBuilder.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace klavoset::fuzz {

// The smallest image (a multiple of 64 KiB) that holds the identity block below the first probe and
// every area of the firmware: small images keep each fuzz run fast.
[[nodiscard]] std::int32_t smallestImageSize(const FirmwareDescriptor& d);

// Valid images of every supported firmware holding the sample layouts, built once and then copied.
class SyntheticImages
{
  public:
    // `adrFix` is the address correction the pointers are written for (0, 0x200000 or 0x400000).
    [[nodiscard]] const std::vector<std::uint8_t>& of(const FirmwareRow& row, std::int32_t adrFix);

  private:
    std::map<std::pair<const FirmwareRow*, std::int32_t>, std::vector<std::uint8_t>> m_images;
};

} // namespace klavoset::fuzz
