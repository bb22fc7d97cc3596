// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/OtherTables.h"

#include "image/Identify.h"
#include "image/TableFinder.h"
#include "support/ImageBuilder.h"
#include "writers/LayoutWriter.h"

#include <gtest/gtest.h>
#include <random>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Offsets = std::vector<std::int32_t>;

// The original bytes of C60 v27 lg91 around its English table (0x54D4AA) and its three further tables: the
// Greek letters at English + 0x124 and two Arabic layouts at Russian + 0xE8 and + 0x19E, as the community's
// keyboard-layout patch for that firmware gives them.
constexpr const char* kC60v27[] = {
    "54D4A0: 7700780079007A0039000E00D213D301", "54D4B0: 0300EE13D3010700F413D30105000214",
    "54D4C0: D30104000C14D30104001414D3010700", "54D4D0: 1C14D30105002A14D30105003414D301",
    "54D4E0: 05003E14D30100000000000000000000", "54D4F0: 00000E00D213D3010300EE13D3010900",
    "54D5C0: C503C7037700780079007A0039000E00", "54D5D0: D213D3010300EE13D3010B003A15D301",
    "54D5E0: 09005015D30108006215D30106007215", "54D5F0: D3010C007E15D3010B009615D3010800",
    "54D600: AC15D3010900BC15D301000000000000", "54D610: 00000000000094034500A60344004600",
    "54D9F0: 0E00D213D3010300EE13D30104009819", "54DA00: D3010800A019D3010500B019D3010500",
    "54DA10: BA19D3010500C419D3010700CE19D301", "54DA20: 0500DC19D3010500E619D30100000000",
    "54DA30: 00000000000000002C062D062E068606", "54DAA0: AF06440639000E00D213D3010300EE13",
    "54DAB0: D3010500381AD3010A00421AD3010500", "54DAC0: 561AD3010500601AD30108006A1AD301",
    "54DAD0: 08007A1AD30107008A1AD3010700981A", "54DAE0: D3010000000000000000000000002E00",
};

Bytes c60v27Image()
{
    Bytes image(0xE00000, 0xFF);
    for (const std::string_view line : kC60v27) {
        auto at = static_cast<std::size_t>(std::stoul(std::string(line.substr(0, 6)), nullptr, 16));
        for (std::size_t i = 8; i < line.size(); i += 2)
            image.at(at++) =
                static_cast<std::uint8_t>(std::stoul(std::string(line.substr(i, 2)), nullptr, 16));
    }
    return image;
}

// All three lie where a save may write: the Greek one in the English storage, its letters at its start, the
// Arabic ones in the WAP storage. Any English letters write over the Greek ones, a WAP copy over the first
// Arabic table as well.
TEST(OtherTables, TheFirmwaresOwnFurtherTablesAreFoundAndTheirOverwritingForeseen)
{
    const FirmwareDescriptor d = test::descriptorOf("C60 v27 lg91");
    Bytes image = c60v27Image();
    const Offsets offsets{0x54D5CE, 0x54D9F0, 0x54DAA6};
    EXPECT_EQ(findOtherTables(image, d, true), offsets);

    std::vector<OtherTable> tables;
    for (const std::int32_t offset : offsets)
        tables.push_back(otherTableAt(image, offset, 0));
    const std::vector<ImageArea> greek = tables[0].areas;
    ASSERT_EQ(greek.size(), 11u) << "the table, keys 0 to 9 (key 0 14 characters at English - 0xD8)";
    EXPECT_EQ(greek[1].offset, 0x54D4AA - 0xD8);
    EXPECT_EQ(greek[1].size, 28);
    EXPECT_EQ(greek[3].offset, d.englishStorage) << "key 2's letters";

    LayoutTexts texts = test::sampleLayouts(true, true);
    EXPECT_EQ(tablesWrittenOver(image, d, true, 0, texts, {}, tables), (Offsets{0x54D5CE}));
    EXPECT_EQ(tablesWrittenOver(image, d, true, 0, texts, {false, WapSource::English}, tables),
              (Offsets{0x54D5CE, 0x54D9F0}));
    for (int key = 2; key <= 9; ++key)
        texts.at(Layout::englishUpper, key) = texts.at(Layout::englishLower, key) = u"";
    EXPECT_EQ(tablesWrittenOver(image, d, true, 0, texts, {}, tables), Offsets{})
        << "no letters: none written";
    texts.at(Layout::englishUpper, 2) = u"A";
    EXPECT_EQ(tablesWrittenOver(image, d, true, 0, texts, {}, tables), (Offsets{0x54D5CE}));

    // A table without its zero entry for key 10, or with a letter entry that leads nowhere, is none.
    image[0x54D9F0 + 6 * 10] = 1;
    image[0x54DAA6 + 6 * 9 + 5] = 0x80;
    EXPECT_EQ(findOtherTables(image, d, true), (Offsets{0x54D5CE}));
    // Without WAP writes the WAP storage is filled by nothing; neither is the Russian one without Russian.
    image = c60v27Image();
    FirmwareDescriptor noWap = d;
    noWap.wapAvailable = false;
    EXPECT_EQ(findOtherTables(image, noWap, true), (Offsets{0x54D5CE}));
}

// A save gives the English table's keys 0 and 1 new strings in the shared storage; the further tables keep
// pointing at the firmware's own, and are still found while the save has not reached them.
TEST(OtherTables, StillFoundAfterASave)
{
    const FirmwareDescriptor d = test::descriptorOf("C60 v27 lg91");
    Bytes image = c60v27Image();
    LayoutTexts texts = test::sampleLayouts(true, true);
    texts.at(Layout::englishLower, 9) = u"w";
    texts.at(Layout::englishLower, 8) = u"t";
    texts.at(Layout::englishLower, 7) = u"pqrs7"; // the English letters end where the Greek table starts
    ASSERT_FALSE(writeLayouts(image, d, true, 0, texts, {}));
    ASSERT_NE(image[0x54D4AA + 2], 0xD2) << "the English table's key 0 was given a new string";
    EXPECT_EQ(findOtherTables(image, d, true), (Offsets{0x54D5CE, 0x54D9F0, 0x54DAA6}));

    image[0x54D5CE + 5] = 0x80;  // the Greek table's key 0 leads nowhere
    image[0x54D9F0 + 6 + 1] = 1; // the first Arabic table's key 1 is no entry
    EXPECT_EQ(findOtherTables(image, d, true), (Offsets{0x54DAA6}));
}

// A further table's strings are read under the image's address correction, as the key tables' are.
TEST(OtherTables, StringsAreReadUnderTheImagesCorrection)
{
    const FirmwareDescriptor d = test::descriptorOf("C55 v24 lg91");
    const Bytes image = test::ImageBuilder()
                            .identityOf("C55 v24 lg91")
                            .firmwareLayouts(d, test::sampleLayouts(true, true), 0x200000)
                            .build();
    const OtherTable greek = otherTableAt(image, d.englishTable + 0x124, 0x200000);
    ASSERT_EQ(greek.areas.size(), 11u);
    EXPECT_EQ(greek.areas[3].offset, d.englishTable + 0x124 - 64)
        << "key 2's letters, 8 keys of 4 units below";
}

// The same shape built anywhere in random bytes: found where it meets an area a save fills, under every
// address correction; random bytes, erased and blank images hold none.
TEST(OtherTables, FoundInEveryFillableAreaAndNowhereElse)
{
    const FirmwareDescriptor d = test::descriptorOf("C45 v50 lg1"); // older generation: keys 10 and 11 too
    std::mt19937 random(28);
    Bytes noise(0x400000);
    for (std::uint8_t& b : noise)
        b = static_cast<std::uint8_t>(random());
    for (const std::int32_t correction : {0, 0x200000, 0x400000}) {
        test::ImageBuilder builder(0x400000);
        builder.raw() = noise;
        builder.layouts(d, test::sampleLayouts(false, true), correction);
        EXPECT_EQ(findOtherTables(builder.build(), d, true), Offsets{});
        // In the English storage, in part before the WAP storage, inside it, and beyond every such area.
        const Offsets fillable{d.englishStorage + 2, d.wapStorage - 71, d.wapStorage + 0x100};
        for (const std::int32_t at : fillable)
            builder.otherTable(d, at, 0x300000, correction);
        builder.otherTable(d, d.russianTable + 0x200, 0x300000, correction);
        EXPECT_EQ(findOtherTables(builder.build(), d, true), fillable) << correction;
        builder.raw().at(static_cast<std::size_t>(fillable[1] + 6 * 11 + 2)) ^=
            1; // its `#` is not the English one
        EXPECT_EQ(findOtherTables(builder.build(), d, true), (Offsets{fillable[0], fillable[2]}))
            << correction;
    }
    EXPECT_EQ(findOtherTables(Bytes(0x400000, 0xFF), d, true), Offsets{});
    EXPECT_EQ(findOtherTables(Bytes(0x400000, 0x00), d, true), Offsets{});
    EXPECT_EQ(findOtherTables(Bytes(0x1000), d, true), Offsets{});
}

// Tables the finder places so that their WAP storage, up to the key-10 entry, runs over the identity block
// at 0x27FF00: the key tables are found, the WAP tables are not, so no WAP copy can be written there.
TEST(OtherTables, FoundWapStorageOverTheIdentityBlockIsNotUsed)
{
    FirmwareRow row{"", true, true, 0x27F800, 0x27F800 + 0x45E, 0x27F800 + 0xA2E, 0x301000, 0x301000 + 0x1F6};
    const FirmwareDescriptor d = completeDescriptor(row);
    std::mt19937 random(7);
    test::ImageBuilder builder(0x400000);
    for (std::uint8_t& b : builder.raw())
        b = static_cast<std::uint8_t>(random());
    const LayoutTexts texts = test::sampleLayouts(true, true);
    Bytes image = builder.layouts(d, texts).identity("X99", 0x11, "lg91", 0x27FF80).build();
    ASSERT_FALSE(writeLayouts(image, d, true, 0, texts, {false, WapSource::Russian}));
    ASSERT_EQ(identifyFirmware(image), "X99 v11 lg91");

    const auto found = findKeyTables(image);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->englishTable, 0x27F800);
    EXPECT_EQ(found->wapUpperTable, 0);
    EXPECT_EQ(found->wapLowerTable, 0);
}

} // namespace
} // namespace klavoset
