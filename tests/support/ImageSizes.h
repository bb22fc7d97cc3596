// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <cstdint>

namespace klavoset::test {

// The smallest image (a multiple of 64 KiB) that holds the identity block below the first probe and
// every area of the firmware: small images keep generated cases fast.
[[nodiscard]] std::int32_t smallestImageSize(const FirmwareDescriptor& d);

} // namespace klavoset::test
