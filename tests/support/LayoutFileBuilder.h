// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace klavoset::test {

// Builds layout files in memory, independent of the editor's reader and writer: UTF-16LE units without
// a byte-order mark, every line ended by CR LF.
class LayoutFileBuilder
{
  public:
    // One line of units, then CR LF.
    LayoutFileBuilder& line(std::u16string_view text);
    // The lines a save of these texts gives: englishUpper keys 1..9, *, 0, #, then englishLower,
    // russianUpper, russianLower keys 1..9 (the Russian lines only with `hasRussian`); fields joined by TAB,
    // one trailing TAB of a line dropped.
    LayoutFileBuilder& layouts(const LayoutTexts& texts, bool hasRussian);
    LayoutFileBuilder& bytes(std::initializer_list<std::uint8_t> values); // raw, e.g. an odd last byte

    [[nodiscard]] std::vector<std::uint8_t> build() const { return m_bytes; }

  private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace klavoset::test
