// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Cp1251.h"
#include "base/Utf.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

TEST(Utf, RoundTripsBmpAndSupplementaryCharacters)
{
    const std::u16string text = u"Aé€Я\U0001F600\x7F";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"Я"), "\xD0\xAF");
}

TEST(Utf, InvalidInputBecomesReplacementCharacters)
{
    EXPECT_EQ(fromUtf8("\xFF"
                       "a"),
              u"\uFFFD"
              "a");
    EXPECT_EQ(fromUtf8("\xD0"), u"\uFFFD");           // cut sequence
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD"); // overlong
    EXPECT_EQ(toUtf8(u"\xD800"), "\xEF\xBF\xBD");
}

TEST(Cp1251, CyrillicAndSymbols)
{
    EXPECT_EQ(toCp1251(u"АяЁё №"), "\xC0\xFF\xA8\xB8 \xB9");
    EXPECT_EQ(fromCp1251("\xC0\xFF\xA8\xB8\x88"), u"АяЁё€");
    EXPECT_EQ(toCp1251(u"\u4E00"), "?");
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue; // the one byte without a character
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(toCp1251(fromCp1251(one)), one) << b;
    }
}

} // namespace
} // namespace klavoset
