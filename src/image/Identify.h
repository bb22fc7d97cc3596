// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

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

// Every area the descriptor locates: both key tables, the three key storages, the key-10 entry on the newer
// generation and, when WAP is available, both WAP tables and the WAP storage with its capacity.
[[nodiscard]] std::vector<ImageArea> descriptorAreas(const FirmwareDescriptor& d);

// True when every area of the descriptor, and so the byte at russianTable + 1 that the Russian test reads,
// lies inside an image of imageSize bytes.
[[nodiscard]] bool descriptorFitsImage(const FirmwareDescriptor& d, std::int32_t imageSize);

// Whether an area meets a byte that identification may read: the 256-byte block around any probe. A write
// there could change the identity string of the image, or make another probe find one.
[[nodiscard]] bool meetsIdentityBlock(const ImageArea& area);

} // namespace klavoset
