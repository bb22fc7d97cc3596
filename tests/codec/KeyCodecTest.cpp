// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/KeyCodec.h"

#include "support/ImageBuilder.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::ImageBuilder;

struct Decoded
{
    std::u16string text;
    std::int32_t correction;
};

Decoded decode(std::vector<std::uint8_t> image, std::int32_t entry, bool koi = false, bool koiCapable = true,
               std::int32_t key10 = 0, bool key10Slot = false)
{
    std::int32_t correction = 0;
    KeyCodec codec(image, correction, key10, koi);
    return {codec.decodeKey(entry, koiCapable, key10Slot).text, correction};
}

TEST(KeyCodec, DecodesWorkedExample)
{
    auto image = ImageBuilder(0x600000, 0)
                     .bytes(0x100, {0x03, 0x00, 0x34, 0x52, 0x8C, 0x02})
                     .units(0x31234, u"ab\n")
                     .build();
    const Decoded d = decode(image, 0x100);
    EXPECT_EQ(d.text, u"ab\x7F");
    EXPECT_EQ(d.correction, 0);
}

TEST(KeyCodec, EncodesWorkedExample)
{
    std::vector<std::uint8_t> image(0x600000, 0);
    std::int32_t correction = 0;
    KeyCodec codec(image, correction, 0, false);
    std::int32_t pos = 0x100;
    std::int32_t data = 0x31234;
    codec.encodeKey(pos, data, u"ab\x7F", false);
    EXPECT_EQ(pos, 0x106);
    EXPECT_EQ(data, 0x3123A);
    const std::vector<std::uint8_t> entry(image.begin() + 0x100, image.begin() + 0x106);
    EXPECT_EQ(entry, (std::vector<std::uint8_t>{0x03, 0x00, 0x34, 0x12, 0x8C, 0x02}));
    const std::vector<std::uint8_t> units(image.begin() + 0x31234, image.begin() + 0x3123A);
    EXPECT_EQ(units, (std::vector<std::uint8_t>{0x61, 0, 0x62, 0, 0x0A, 0}));
}

// Address 0xA31234 in images of several sizes, with the correction the decoder settles.
TEST(KeyCodec, SettlesAddressCorrectionBySize)
{
    struct Case
    {
        std::int32_t size, stringAt, correction;
    };
    for (const Case c :
         {Case{0x1000000, 0xA31234, 0}, Case{0x800000, 0x231234, 0}, Case{0x600000, 0x31234, 0},
          Case{0x400000, 0x31234, 0x200000}, Case{0x200000, 0x31234, 0x400000}}) {
        auto image = ImageBuilder(c.size, 0)
                         .bytes(0x10, {1, 0, 0x34, 0x12, 0x8C, 0x02})
                         .units(c.stringAt, u"Z")
                         .build();
        const Decoded d = decode(image, 0x10);
        EXPECT_EQ(d.text, u"Z") << std::hex << c.size;
        EXPECT_EQ(d.correction, c.correction) << std::hex << c.size;
    }
}

TEST(KeyCodec, EmptyEntryStillSettlesCorrection)
{
    auto image = ImageBuilder(0x400000, 0).bytes(0x10, {0, 0, 0x35, 0x12, 0x8C, 0x02}).build();
    const Decoded d = decode(image, 0x10);
    EXPECT_EQ(d.text, u"");
    EXPECT_EQ(d.correction, 0x200000);
}

TEST(KeyCodec, HighBitsOfInPageOffsetAreIgnored)
{
    for (const std::uint8_t high : {0x12, 0x52, 0x92, 0xD2}) {
        auto image = ImageBuilder(0x600000, 0)
                         .bytes(0x10, {1, 0, 0x34, high, 0x8C, 0x02})
                         .units(0x31234, u"q")
                         .build();
        EXPECT_EQ(decode(image, 0x10).text, u"q");
    }
}

TEST(KeyCodec, FailuresGiveEmptyText)
{
    ImageBuilder b(0x600000, 0);
    b.bytes(0x10, {2, 0, 0x34, 0x12, 0x8C, 0x02}).units(0x31234, u"a").bytes(0x31236, {0x00, 0x80});
    EXPECT_EQ(decode(b.build(), 0x10).text, u"") << "unit of 0x8000 or more";
    b.bytes(0x20, {1, 0, 0x34, 0x12, 0x00, 0x80});
    EXPECT_EQ(decode(b.build(), 0x20).text, u"") << "page of 0x8000 or more";
    b.bytes(0x30, {200, 0, 0xF0, 0x3F, 0xFF, 0x03}); // string runs past the end of the image
    EXPECT_EQ(decode(b.build(), 0x30).text, u"");
    EXPECT_EQ(decode(b.build(), 0x600000 - 3).text, u"") << "entry cut by the end";
    EXPECT_EQ(decode(b.build(), -6).text, u"");
    b.bytes(0x40, {1, 0, 0, 0, 0, 0}); // points far below the image even after both corrections
    EXPECT_EQ(decode(b.build(), 0x40).text, u"");
}

TEST(KeyCodec, Key10SubstitutionOnlyInKey10SlotsOfNewerFirmware)
{
    ImageBuilder b(0x600000, 0);
    b.entry(0x200, 1, 0x300).units(0x300, u"*"); // the separate key-10 entry
    b.bytes(0x10, {0, 0, 0, 0x10, 0x8C, 0x02});  // count 0, in-page low byte 0
    b.bytes(0, {1, 0, 0x34, 0x12, 0x8C, 0x02}).units(0x31234, u"!");
    EXPECT_EQ(decode(b.build(), 0x10, false, true, 0x200, true).text, u"*");
    EXPECT_EQ(decode(b.build(), 0x10, false, true, 0x200, false).text, u"") << "other keys decode in place";
    // only count 0 with in-page low byte 0 means "see the key-10 entry": either alone is decoded in place
    b.bytes(0x20, {0, 0, 0x01, 0x10, 0x8C, 0x02});
    EXPECT_EQ(decode(b.build(), 0x20, false, true, 0x200, true).text, u"");
    b.bytes(0x30, {1, 0, 0x00, 0x13, 0x8C, 0x02}).units(0x31300, u"?");
    EXPECT_EQ(decode(b.build(), 0x30, false, true, 0x200, true).text, u"?");
    // older firmware has no separate entry; the boot bytes at offset 0 are never read as a key
    EXPECT_EQ(decode(b.build(), 0x10, false, true, 0, true).text, u"");
}

TEST(KeyCodec, Koi8AppliesOnlyWithPermission)
{
    auto image = ImageBuilder(0x600000, 0)
                     .entry(0x10, 3, 0x1000)
                     .bytes(0x1000, {0xE9, 0, 0xC1, 0x04, 0x41, 0})
                     .build();
    EXPECT_EQ(decode(image, 0x10, true, true).text, u"ИаA");
    EXPECT_EQ(decode(image, 0x10, false, true).text, u"\u00E9\u04C1A");
    EXPECT_EQ(decode(image, 0x10, true, false).text, u"\u00E9\u04C1A");
}

TEST(KeyCodec, Koi8EncodingOfCyrillicLetters)
{
    std::vector<std::uint8_t> image(0x10000, 0);
    std::int32_t correction = 0;
    KeyCodec koi(image, correction, 0, true);
    std::int32_t pos = 0, data = 0x100;
    koi.encodeKey(pos, data, u"ЯаъЪёA", true);
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 0x100, image.begin() + 0x10C),
              (std::vector<std::uint8_t>{0xF1, 0, 0xC1, 0, 0xDF, 0, 0xFF, 0, 0x51, 0x04, 0x41, 0}));
    pos = 0, data = 0x200;
    koi.encodeKey(pos, data, u"Я", false);
    EXPECT_EQ(image[0x200], 0x2F);
    EXPECT_EQ(image[0x201], 0x04);
}

TEST(KeyCodec, EmptyTextWritesPointerAndNoUnits)
{
    std::vector<std::uint8_t> image(0x10000, 0xEE);
    std::int32_t correction = 0;
    KeyCodec codec(image, correction, 0, false);
    std::int32_t pos = 0, data = 0x100;
    codec.encodeKey(pos, data, u"", false);
    EXPECT_EQ(data, 0x100);
    EXPECT_EQ(image[0], 0);
    EXPECT_EQ(image[0x100], 0xEE);
    EXPECT_EQ(codec.decodeKey(0, false, false).text, u"");
}

TEST(KeyCodec, EveryUnitBelow8000RoundTrips)
{
    std::vector<std::uint8_t> image(0x20000, 0);
    std::int32_t correction = 0;
    KeyCodec codec(image, correction, 0, false);
    for (char32_t first = 1; first < 0x8000; first += 200) {
        std::u16string text;
        for (char32_t c = first; c < first + 200 && c < 0x8000 && text.size() < 200; ++c)
            if (c != 0x0A)
                text += static_cast<char16_t>(c);
        std::int32_t pos = 0, data = 0x100;
        codec.encodeKey(pos, data, text, false);
        const DecodedKey decoded = codec.decodeKey(0, false, false);
        EXPECT_EQ(decoded.text, text);
        EXPECT_EQ(decoded.end, 0x100 + 2 * static_cast<std::int32_t>(text.size())) << "just past the string";
    }
}

} // namespace
} // namespace klavoset
