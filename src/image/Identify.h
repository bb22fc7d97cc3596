// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <cstdint>
#include <span>
#include <string>

namespace klavoset {

inline constexpr std::int32_t kProbes[] = {0x7FF80, 0x27FF80, 0x47FF80, 0x67FF80};

// The byte string at `at`, ended by 0x00, 0xFF or the end of the image; `at` is left on the terminator.
[[nodiscard]] std::string readByteString(std::span<const std::uint8_t> image, std::int32_t& at);

// Whether a probe holds "SIEMENS": only then is the identity string read from a real identity block;
// without one, identifyFirmware's string is whatever bytes the last probe met.
[[nodiscard]] bool hasIdentityBlock(std::span<const std::uint8_t> image);

// The identity string ("C55 v24 lg91") built from the block around the first "SIEMENS" probe; the
// result of the last probe when none matches, empty for an image shorter than the probes.
[[nodiscard]] std::string identifyFirmware(std::span<const std::uint8_t> image);

// True when every table and storage area of the descriptor, and the byte at russianTable + 1 that the Russian
// test reads, lie inside an image of imageSize bytes.
[[nodiscard]] bool descriptorFitsImage(const FirmwareDescriptor& d, std::int32_t imageSize);

} // namespace klavoset
