// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The layout file: UTF-16 little-endian text without a byte-order mark, one line per layout (englishUpper,
// englishLower and, with Russian layouts, russianUpper and russianLower), each ended by CR LF; the keys of a
// line are separated by TABs.
namespace klavoset {

// The four lines of a layout file, as built from the fields or as read.
struct LayoutLines
{
    std::u16string englishUpper, englishLower, russianUpper, russianLower;
    bool operator==(const LayoutLines&) const = default;
};

// Appends `line` as one line. A TAB as the very last unit is dropped: lines never end with a separator.
void appendLine(std::vector<std::uint8_t>& file, std::u16string_view line);

// The next line from `at` (a byte index, advanced past the line's CR LF). A CR without LF and an LF
// without CR stay in the text. A single byte left at the end of the file is ignored.
[[nodiscard]] std::u16string readLine(std::span<const std::uint8_t> file, std::size_t& at);

// Spreads a line over the twelve fields of a layout in the order 1..9, *, 0, #. Fields of the line past
// the twelfth are ignored; a field of `fields` that gets nothing from the line keeps its text.
void spreadLine(std::u16string_view line, std::array<std::u16string, kKeys>& fields);

// The lines a save writes: englishUpper with keys 1..9, *, 0, #; englishLower, russianUpper and russianLower
// with keys 1..9 and a TAB after each.
[[nodiscard]] LayoutLines linesOf(const LayoutTexts& texts);

// The whole file: two lines, or four when hasRussian.
[[nodiscard]] std::vector<std::uint8_t> encodeLayoutFile(const LayoutLines& lines, bool hasRussian);
// Reads two lines, or four when hasRussian; missing lines are empty, further lines ignored.
[[nodiscard]] LayoutLines decodeLayoutFile(std::span<const std::uint8_t> file, bool hasRussian);

} // namespace klavoset
