// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ImageSizes.h"

#include "image/Identify.h"

namespace klavoset::test {

std::int32_t smallestImageSize(const FirmwareDescriptor& d)
{
    constexpr std::int32_t kStep = 0x10000;
    std::int32_t size = kProbes[0] + 0x80; // the identity block and "SIEMENS" at the first probe
    size = (size + kStep - 1) / kStep * kStep;
    while (!descriptorFitsImage(d, size))
        size += kStep;
    return size;
}

} // namespace klavoset::test
