// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace klavoset::test {

// Applies a patch as the outside patcher reads it, independent of the editor's writer: comment lines
// (";") are skipped, and every data line "OFFSET: OLD NEW" must find the bytes OLD at OFFSET of the image
// and puts NEW there. Returns what is wrong with the patch, or nothing when it applied.
[[nodiscard]] std::optional<std::string> applyVkp(std::string_view text, std::span<std::uint8_t> image);

} // namespace klavoset::test
