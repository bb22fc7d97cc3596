// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"
#include "image/FirmwareDescriptor.h"

#include <cstdint>
#include <random>
#include <string>

namespace klavoset::test {

// Random key texts for property tests, reproducible from a seed.
class RandomLayouts
{
  public:
    explicit RandomLayouts(std::uint32_t seed) : m_random(seed) {}

    // Texts that fit every storage of the firmware, sometimes to the last character: the shared keys of
    // all four layouts equal to englishUpper's, key 11 empty on the newer generation, the Russian layouts
    // empty without `hasRussian`. Any code unit below U+8000 but the line feed (which the phone keeps as
    // U+007F). With `koi`, the English layouts only hold characters they can keep under KOI8 (no unit whose
    // low byte is 0xC0..0xFF but the Cyrillic letters themselves). With Russian layouts, key 0 keeps at most
    // 17 characters: the load takes a longer one at the Russian table for a sign that the firmware has no
    // Russian layouts.
    [[nodiscard]] LayoutTexts fitting(const FirmwareDescriptor& d, bool hasRussian, bool koi);

    // Bytes the WAP strings of these texts take as UTF-8 with their terminators, upper case from `upper`
    // and lower case from `lower`.
    [[nodiscard]] static std::int64_t wapBytes(const LayoutTexts& t, Layout upper, Layout lower);

    [[nodiscard]] int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    [[nodiscard]] bool chance(int percent) { return below(100) < percent; }
    [[nodiscard]] std::mt19937& engine() { return m_random; }

  private:
    [[nodiscard]] char16_t character(bool english, bool koi);
    [[nodiscard]] std::u16string text(std::size_t length, bool english, bool koi);
    // `total` characters split over `parts` keys at random cut points.
    [[nodiscard]] std::vector<std::size_t> split(int total, int parts);
    // A total up to `cap`, often 0 or exactly `cap`.
    [[nodiscard]] int total(int cap);

    std::mt19937 m_random;
};

} // namespace klavoset::test
