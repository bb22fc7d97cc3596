// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/TableFinder.h"

#include "core/DemoImage.h"
#include "image/Identify.h"
#include "support/ImageBuilder.h"
#include "support/ImageSizes.h"
#include "support/RandomLayouts.h"
#include "support/StartedEditor.h"
#include "writers/LayoutWriter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ImageBuilder;

constexpr std::int32_t kCorrections[] = {0, 0x200000, 0x400000};

// The finder must report exactly these tables: the row's own values, WAP tables only where `wap`.
void expectTables(const std::optional<FirmwareRow>& found, const FirmwareRow& row, bool wap)
{
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->id.empty());
    EXPECT_EQ(found->newGeneration, row.newGeneration);
    EXPECT_EQ(found->hasRussian, row.hasRussian);
    EXPECT_EQ(found->englishTable, row.englishTable);
    EXPECT_EQ(found->russianTable, row.russianTable);
    EXPECT_EQ(found->key10Entry, row.key10Entry);
    EXPECT_EQ(found->wapUpperTable, wap ? row.wapUpperTable : 0);
    EXPECT_EQ(found->wapLowerTable, wap ? row.wapLowerTable : 0);
}

// The identity of a version no row lists, at the first probe.
void unlist(Bytes& image)
{
    image.at(kProbes[0] - 0x80 + 0x50) = 0xEE;
    ASSERT_EQ(findFirmware(identifyFirmware(image)), nullptr);
}

// Every letter key ends in its digit, or no key holds a digit.
LayoutTexts digits(LayoutTexts t, bool keep)
{
    for (const Layout a : kAllLayouts)
        for (int key = 2; key <= 9; ++key)
            for (char16_t& c : t.at(a, key))
                if (keep ? &c == &t.at(a, key).back() : c >= u'0' && c <= u'9')
                    c = keep ? static_cast<char16_t>(u'0' + key) : u'x';
    return t;
}

Bytes randomBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

FirmwareRow rowAt(bool newGeneration, bool hasRussian, std::int32_t english, std::int32_t russian)
{
    return {"", newGeneration, hasRussian, english, russian, newGeneration ? english + 0xA2E : 0, 0, 0};
}

// Loaded through a description of what the finder reported, the image shows `texts`.
void expectShown(const Bytes& image, const FirmwareRow& found, const LayoutTexts& texts)
{
    test::StartedEditor e;
    ASSERT_FALSE(e.system.catalog.add(identifyFirmware(image), found));
    ASSERT_EQ(e.open(u"/x.bin", image), Outcome::Done);
    EXPECT_TRUE(e.view.boxes.empty());
    EXPECT_EQ(e.texts(), texts);
}

class EveryRow : public ::testing::TestWithParam<FirmwareRow>
{
};

// Each row's tables as an untouched phone keeps them (the demo image, whose WAP layout a save copied where
// the row has usable WAP tables; random layouts with keys shortened, with digits in their keys and without,
// in random bytes), all of an unlisted version: found exactly, the layouts shown are the ones built, and
// after one save by this program (WAP layout included where the row has usable WAP tables) they are found
// exactly again.
TEST_P(EveryRow, FindsTheRowsTablesAsThePhoneKeepsThemAndAfterASave)
{
    const FirmwareRow& row = GetParam();
    const FirmwareDescriptor d = completeDescriptor(row);
    const std::int32_t size = test::smallestImageSize(d);
    auto made = makeDemoImage(row.id, size);
    ASSERT_TRUE(made.isOk());
    Bytes demo = std::move(made).value();
    unlist(demo);
    expectTables(findKeyTables(demo), row, d.wapAvailable);

    test::RandomLayouts random(static_cast<std::uint32_t>(row.englishTable));
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        const LayoutTexts texts = digits(random.fitting(d, d.hasRussian, false), keep);
        ImageBuilder builder(size);
        builder.raw() = randomBytes(static_cast<std::size_t>(size), static_cast<std::uint32_t>(keep));
        Bytes image = builder.identityOf(row.id).firmwareLayouts(d, texts).build();
        unlist(image);
        const auto found = findKeyTables(image);
        expectTables(found, row, false);
        expectShown(image, *found, texts);

        const WapSource wap = d.wapAvailable ? WapSource::English : WapSource::Untouched;
        ASSERT_FALSE(writeLayouts(image, d, d.hasRussian, 0, texts, {false, wap}));
        expectTables(findKeyTables(image), row, d.wapAvailable);
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, EveryRow, ::testing::ValuesIn(supportedFirmware()), test::RowName());

// Tables of both generations at places no row names, the Russian table at distances no row has, in random
// bytes, laid out as a phone keeps them and as a save leaves them, with pointers written for each address
// correction (the tables below 2 MiB, where the decoder settles on that correction).
TEST(TableFinder, FindsTablesAtNewPlacesUnderEveryCorrection)
{
    const FirmwareRow rows[] = {rowAt(true, true, 0x1234F6, 0x1234F6 + 0x500),
                                rowAt(false, true, 0x0F00A2, 0x0F00A2 + 0x4A0),
                                rowAt(false, false, 0x1C0F10, 0)};
    std::uint32_t seed = 1;
    for (const FirmwareRow& row : rows)
        for (const std::int32_t correction : kCorrections)
            for (const bool phones : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << std::hex << row.englishTable << " correction " << correction
                             << (phones ? " as the phone keeps them" : " as saved"));
                const FirmwareDescriptor d = completeDescriptor(row);
                ImageBuilder builder(0x400000);
                builder.raw() = randomBytes(0x400000, ++seed);
                const LayoutTexts texts = test::RandomLayouts(seed).fitting(d, d.hasRussian, false);
                builder.identity("X99", 0x11, "lg91");
                const Bytes image = (phones ? builder.firmwareLayouts(d, texts, correction)
                                            : builder.layouts(d, texts, correction))
                                        .build();
                const auto found = findKeyTables(image);
                expectTables(found, row, false);
                expectShown(image, *found, texts);
            }
}

// In a 16 MiB image address 0 is the first byte, so zeros there are entries of no characters near their
// "table": a phone's image that starts with zeros is found all the same.
TEST(TableFinder, ZerosAtTheImagesStartAreNoTables)
{
    const FirmwareRow row = rowAt(true, true, 0x7234F6, 0x7234F6 + 0x45E);
    const FirmwareDescriptor d = completeDescriptor(row);
    ImageBuilder builder(0x1000000);
    std::fill_n(builder.raw().begin(), 0x10000, std::uint8_t{0});
    const LayoutTexts texts = test::RandomLayouts(3).fitting(d, true, false);
    const Bytes image = builder.identity("X99", 0x11, "lg91").firmwareLayouts(d, texts).build();
    expectTables(findKeyTables(image), row, false);
}

// WAP tables are reported only as the single pair of places whose records all lead into the WAP storage.
TEST(TableFinder, WapTablesOnlyWhenCertain)
{
    FirmwareRow row = rowAt(true, true, 0x2345A0, 0x2345A0 + 0x45E);
    row.wapUpperTable = 0x301000;
    row.wapLowerTable = 0x301000 + 0x1F6;
    const FirmwareDescriptor d = completeDescriptor(row);
    const LayoutTexts texts = test::sampleLayouts(true, true);
    ImageBuilder builder(0x400000);
    builder.raw() = randomBytes(0x400000, 7);
    Bytes image = builder.layouts(d, texts).build();
    ASSERT_FALSE(writeLayouts(image, d, true, 0, texts, {false, WapSource::Russian}));
    expectTables(findKeyTables(image), row, true);

    Bytes third = image; // a copy of the upper-case table elsewhere: which one the phone reads is unknown
    std::copy_n(image.begin() + row.wapUpperTable, kWapTableBytes, third.begin() + 0x380000);
    expectTables(findKeyTables(third), row, false);

    ImageBuilder stray(0); // one record leads out of the WAP storage: its pointer written like an entry's
    stray.raw() = image;
    stray.entry(row.wapLowerTable + 10 * 5 + 6 - 2, 0, d.englishStorage);
    expectTables(findKeyTables(stray.build()), row, false);
}

TEST(TableFinder, NothingWithoutExactlyOneSoundPlace)
{
    EXPECT_FALSE(findKeyTables(Bytes(0x1000000, 0xFF)));
    EXPECT_FALSE(findKeyTables(Bytes(0x1000000, 0x00)));
    EXPECT_FALSE(findKeyTables(randomBytes(0x1000000, 3)));
    EXPECT_FALSE(findKeyTables(Bytes{}));

    for (const char* id : {"C55 v24 lg91", "S45i v4 lg3", "SLIK v56 lg1"}) {
        SCOPED_TRACE(id);
        const FirmwareDescriptor d = test::descriptorOf(id);
        const LayoutTexts texts = test::sampleLayouts(d.newGeneration, d.hasRussian);
        const std::int32_t size = test::smallestImageSize(d);
        const Bytes image = test::imageOf(id, texts, size);
        ASSERT_TRUE(findKeyTables(image));

        ImageBuilder outside(0);
        outside.raw() = image;
        outside.bytes(d.englishTable + 6 * 5 + 4, {0xFF, 0x7F}); // key 5 points past the image
        EXPECT_FALSE(findKeyTables(outside.build()));

        // A Russian letter key (English for the firmware without them) into another table's storage.
        ImageBuilder moved(0);
        moved.raw() = image;
        if (d.hasRussian)
            moved.entry(d.russianTable + 6 * 3, 1, d.englishStorage);
        else
            moved.entry(d.englishTable + 6 * 3, 1, d.sharedStorage);
        EXPECT_FALSE(findKeyTables(moved.build()));

        Bytes unstorable = image; // a unit no layout can hold, where key 2's string starts
        unstorable.at(static_cast<std::size_t>(d.englishStorage) + 1) = 0x80;
        EXPECT_FALSE(findKeyTables(unstorable));

        FirmwareDescriptor copy = d; // a second complete set 1 MiB higher
        for (std::int32_t* at : {&copy.englishTable, &copy.russianTable, &copy.key10Entry,
                                 &copy.englishStorage, &copy.russianStorage, &copy.sharedStorage})
            *at += 0x100000;
        EXPECT_TRUE(findKeyTables(ImageBuilder(size + 0x100000).layouts(copy, texts).build()));
        EXPECT_FALSE(
            findKeyTables(ImageBuilder(size + 0x100000).layouts(d, texts).layouts(copy, texts).build()));
    }

    // An image that ends inside the Russian storage, which firmware without Russian layouts keeps all the
    // same (built at that size: the size moves every pointer's target).
    const FirmwareDescriptor slik = test::descriptorOf("SLIK v56 lg1");
    EXPECT_FALSE(findKeyTables(
        ImageBuilder(slik.russianStorage + 100).layouts(slik, test::sampleLayouts(false, false)).build()));

    // Pointers that need a correction whose strings lie above 2 MiB: the decoder, settling on no
    // correction there, would read other bytes.
    const FirmwareDescriptor c55 = test::descriptorOf("C55 v24 lg91");
    EXPECT_FALSE(findKeyTables(
        ImageBuilder(0x600000).layouts(c55, test::sampleLayouts(true, true), 0x200000).build()));
}

// As a phone keeps them, no answer for: the tables twice; one letter key whose string lies tens of KiB away;
// a Russian table's shared key at a string of its own; a key-10 entry whose string lies neither just below
// it nor in the shared storage; an older firmware whose Russian table is damaged in most of its entries
// (which is no firmware without Russian layouts).
TEST(TableFinder, NothingForPhoneImagesThatBreakARule)
{
    for (const char* id : {"C55 v24 lg91", "S45i v4 lg3"}) {
        SCOPED_TRACE(id);
        const FirmwareDescriptor d = test::descriptorOf(id);
        const LayoutTexts texts = test::sampleLayouts(d.newGeneration, d.hasRussian);
        const std::int32_t size = test::smallestImageSize(d);
        const Bytes image = ImageBuilder(size).firmwareLayouts(d, texts).build();
        ASSERT_TRUE(findKeyTables(image));

        FirmwareDescriptor copy = d; // a second set 1 MiB higher
        for (std::int32_t* at : {&copy.englishTable, &copy.russianTable, &copy.key10Entry})
            *at += 0x100000;
        ImageBuilder twice(size + 0x100000);
        EXPECT_FALSE(findKeyTables(twice.firmwareLayouts(d, texts).firmwareLayouts(copy, texts).build()));

        ImageBuilder far(0); // lower-case key 4, its string copied 40 KiB below the table
        far.raw() = image;
        const std::u16string& key4 = texts.at(Layout::englishLower, 4);
        far.units(d.englishTable - 0xA000, key4)
            .entry(d.englishTable + 72 + 6 * 4, static_cast<std::uint8_t>(key4.size()),
                   d.englishTable - 0xA000);
        EXPECT_FALSE(findKeyTables(far.build()));

        ImageBuilder own(0); // the Russian table's key 1 at a copy of its string, not at the English one's
        own.raw() = image;
        const std::u16string& key1 = texts.at(Layout::russianUpper, 1);
        own.units(d.englishTable - 0x400, key1)
            .entry(d.russianTable + 6, static_cast<std::uint8_t>(key1.size()), d.englishTable - 0x400);
        EXPECT_FALSE(findKeyTables(own.build()));

        ImageBuilder damaged(0);
        damaged.raw() = image;
        if (d.newGeneration) { // key 10's string, copied two bytes lower
            const std::u16string& key10 = texts.at(Layout::englishUpper, 10);
            const auto moved = static_cast<std::int32_t>(d.key10Entry - 2 * key10.size() - 2);
            damaged.units(moved, key10).entry(d.key10Entry, static_cast<std::uint8_t>(key10.size()), moved);
        } else { // 12 of the 16 Russian letter entries broken, keys 2 and 3 of each layout kept
            for (const std::int32_t layout : {0, 72})
                for (int key = 4; key <= 9; ++key)
                    damaged.bytes(d.russianTable + layout + 6 * key + 1, {0xFF});
        }
        EXPECT_FALSE(findKeyTables(damaged.build()));
    }
}

} // namespace
} // namespace klavoset
