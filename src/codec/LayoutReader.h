// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"
#include "image/FirmwareDescriptor.h"

#include <cstdint>
#include <span>

namespace klavoset {

// The layouts a load shows, decoded from the key tables of the image: keys 0..10 on newer-generation
// firmware (key 11 stays empty), 0..11 on older; russianUpper and russianLower stay empty without Russian
// layouts. Each layout is decoded from its own table, shared keys included. `addressCorrection` may be
// settled by the decoder.
[[nodiscard]] LayoutTexts decodeLayouts(std::span<std::uint8_t> image, const FirmwareDescriptor& firmware,
                                        bool hasRussian, std::int32_t& addressCorrection, bool koi);

} // namespace klavoset
