// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FuzzEditor.h"

#include <cstdint>
#include <span>

namespace klavoset::fuzz {

// Runs every save path over a loaded editor and checks what they write against the image as it was
// loaded: the patch export, applied by the tests' own applier, gives the encoded image; nothing outside
// the firmware's areas changes; a save agrees with the export and writes exactly the encoded image;
// the saved image loads again with the same layouts; the layout file opens again with the same layouts.
// Any broken invariant aborts.
void checkEverySave(FuzzEditor& e, std::span<const std::uint8_t> loaded);

} // namespace klavoset::fuzz
