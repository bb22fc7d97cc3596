// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset::test {

// Applies a patch as the outside patcher reads it, independent of the editor's writer: comment lines
// (";") are skipped, and every data line "OFFSET: OLD NEW" must find the bytes OLD at OFFSET of the image
// and puts NEW there. Returns what is wrong with the patch, or nothing when it applied.
[[nodiscard]] std::optional<std::string> applyVkp(std::string_view text, std::span<std::uint8_t> image);

// One data line of a patch.
struct VkpLine
{
    int number = 0; // in the file, comments counted
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> before, after;
};

// The data lines of a patch, or what is wrong with its text.
[[nodiscard]] std::optional<std::string> readVkp(std::string_view text, std::vector<VkpLine>& lines);
// Applies the lines in order, as applyVkp does; or undoes them, last line first: each must then find its
// NEW bytes and puts back its OLD ones. Undoing a patch that applied gives back the image it applied to.
[[nodiscard]] std::optional<std::string> applyVkpLines(std::span<const VkpLine> lines,
                                                       std::span<std::uint8_t> image, bool undo = false);

} // namespace klavoset::test
