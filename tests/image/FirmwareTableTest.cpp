// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/FirmwareTable.h"

#include "image/FirmwareCatalog.h"

#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <tuple>

namespace klavoset {
namespace {

// Every row's whole descriptor, written out by hand from the table as printed and its rules: a typo in a
// safety-critical number, here or in the engine's table, fails one against the other.
struct Expected
{
    std::string_view id;
    bool newGeneration;
    bool hasRussian;
    std::int32_t englishTable, russianTable, key10Entry, wapUpperTable, wapLowerTable;
    std::int32_t englishStorage, russianStorage, sharedStorage, wapStorage;
    int sharedCapacity;
    std::int32_t wapCapacity; // 0: no WAP writes
};

constexpr bool N = true, O = false, R = true, E = false;

// clang-format off
constexpr Expected kExpected[] = {
    // id              gen  rus  englishT  russianT  key10     wapUpper  wapLower  englishS  russianS  sharedS   wapS      cap wapCap
    {"C55 v24 lg91",   N,   R,   0x473076, 0x4734D4, 0x473AA4, 0x585D40, 0x585FF6, 0x473106, 0x4733C0, 0x472FC0, 0x473564, 91, 1344},
    {"S55 v20 lg91",   N,   R,   0x19B496, 0x19B8F4, 0x19BEC4, 0x10F7C0, 0x10F8B6, 0x19B526, 0x19B7E0, 0x19B3E0, 0x19B984, 91, 1344},
    {"C45 v50 lg1",    O,   R,   0x2367D8, 0x236C40, 0x000000, 0x24F7AA, 0x24FA84, 0x2366C8, 0x236B2C, 0x236AD0, 0x2368C2, 46, 526},
    {"S45i v4 lg3",    O,   R,   0x04EF2C, 0x04F394, 0x000000, 0x06AC84, 0x06AF5E, 0x04EE1C, 0x04F280, 0x04F224, 0x04F016, 46, 526},
    {"M50 v17 lg91",   O,   R,   0x040842, 0x040CAA, 0x000000, 0x05ABB6, 0x05AE90, 0x040732, 0x040B96, 0x040B3A, 0x04092C, 46, 526},
    {"SLIK v56 lg1",   O,   E,   0x185CE4, 0x18614C, 0x000000, 0x405D04, 0x405E1C, 0x185BD4, 0x186038, 0x185FDC, 0x185DCE, 46, 526},
    {"2118 v31 lg8",   O,   E,   0x4369A2, 0x436E0A, 0x000000, 0x49FC6E, 0x49FD8A, 0x436892, 0x436CF6, 0x436C9A, 0x436A8C, 46, 526},
    {"M55 v10 lg91",   N,   R,   0x3FD6DE, 0x3FDB3C, 0x3FE10C, 0x36BA4C, 0x36BB42, 0x3FD76E, 0x3FDA28, 0x3FD628, 0x3FDBCC, 91, 1344},
    {"M55 v10 lg2",    N,   R,   0x3FD6DE, 0x3FDB3C, 0x3FE10C, 0x36BA4C, 0x36BB42, 0x3FD76E, 0x3FDA28, 0x3FD628, 0x3FDBCC, 91, 1344},
    {"ME45 v28 lg3",   O,   R,   0x049B18, 0x049F80, 0x000000, 0x06398C, 0x063AA8, 0x049A08, 0x049E6C, 0x049E10, 0x049C02, 46, 526},
    {"SL55 v14 lg91",  N,   R,   0x1A2A40, 0x1A2E9E, 0x1A346E, 0x10BB2A, 0x10BC20, 0x1A2AD0, 0x1A2D8A, 0x1A298A, 0x1A2F2E, 91, 1344},
    {"M55 v11 lg91",   N,   R,   0x3DACC0, 0x3DB11E, 0x3DB6EE, 0x378070, 0x378166, 0x3DAD50, 0x3DB00A, 0x3DAC0A, 0x3DB1AE, 91, 1344},
    {"A50 v10 lg91",   O,   R,   0x235324, 0x23578C, 0x000000, 0x24E7C6, 0x24EAA0, 0x235214, 0x235678, 0x23561C, 0x23540E, 46, 526},
    {"A50 v11 lg5",    O,   R,   0x235324, 0x23578C, 0x000000, 0x24E7C6, 0x24EAA0, 0x235214, 0x235678, 0x23561C, 0x23540E, 46, 526},
    {"ME45 v30 lg3",   O,   R,   0x049B18, 0x049F80, 0x000000, 0x063B12, 0x063C2E, 0x049A08, 0x049E6C, 0x049E10, 0x049C02, 46, 526},
    {"M50 v19 lg91",   O,   R,   0x040880, 0x040CE8, 0x000000, 0x05ABB6, 0x05AE90, 0x040770, 0x040BD4, 0x040B78, 0x04096A, 46, 526},
    {"C45 v38 lg3",    O,   R,   0x2367D8, 0x236C40, 0x000000, 0x24F7AA, 0x24FA84, 0x2366C8, 0x236B2C, 0x236AD0, 0x2368C2, 46, 526},
    {"MT50 v17 lg91",  O,   R,   0x040842, 0x040CAA, 0x000000, 0x05ABB6, 0x05AE90, 0x040732, 0x040B96, 0x040B3A, 0x04092C, 46, 526},
    {"A50 v11 lg91",   O,   R,   0x235324, 0x23578C, 0x000000, 0x24E7C6, 0x24EAA0, 0x235214, 0x235678, 0x23561C, 0x23540E, 46, 526},
    {"C60 v23 lg91",   N,   R,   0x54C0D8, 0x54C536, 0x54CB06, 0x25BDA0, 0x25BE96, 0x54C168, 0x54C422, 0x54C022, 0x54C5C6, 91, 1344},
    {"C60 v25 lg91",   N,   R,   0x54D4AA, 0x54D908, 0x54DED8, 0x268514, 0x26860A, 0x54D53A, 0x54D7F4, 0x54D3F4, 0x54D998, 91, 1344},
    {"CF62 v7 lg91",   N,   R,   0x406A60, 0x406EBE, 0x40748E, 0x35B020, 0x35B116, 0x406AF0, 0x406DAA, 0x4069AA, 0x406F4E, 91, 1344},
    {"C60 v26 lg91",   N,   R,   0x54D4AA, 0x54D908, 0x54DED8, 0x268514, 0x26860A, 0x54D53A, 0x54D7F4, 0x54D3F4, 0x54D998, 91, 1344},
    {"M55 v11 lg92",   N,   R,   0x3DACC0, 0x3DB11E, 0x3DB6EE, 0x378070, 0x378166, 0x3DAD50, 0x3DB00A, 0x3DAC0A, 0x3DB1AE, 91, 1344},
    {"CF62 v11 lg91",  N,   R,   0x406A60, 0x406EBE, 0x40748E, 0x35B016, 0x35B10C, 0x406AF0, 0x406DAA, 0x4069AA, 0x406F4E, 91, 1344},
    {"M55 v91 lg91",   N,   R,   0x3DACD0, 0x3DB12E, 0x3DB6FE, 0x378070, 0x378166, 0x3DAD60, 0x3DB01A, 0x3DAC1A, 0x3DB1BE, 91, 1344},
    {"S55 v91 lg91",   N,   R,   0x19B496, 0x19B8F4, 0x19BEC4, 0x10F7C0, 0x10F8B6, 0x19B526, 0x19B7E0, 0x19B3E0, 0x19B984, 91, 1344},
    {"A50 v12 lg1",    O,   R,   0x235324, 0x23578C, 0x000000, 0x24E7C6, 0x24EAA0, 0x235214, 0x235678, 0x23561C, 0x23540E, 46, 526},
    {"A52 v7 lg1",     N,   R,   0x1941FA, 0x194658, 0x194C28, 0x000000, 0x000000, 0x19428A, 0x194544, 0x194144, 0x1946E8, 91, 0},
    {"A60 v10 lg95",   N,   R,   0x70E2D2, 0x70E58C, 0x70ED00, 0x473CCA, 0x473DC0, 0x70E362, 0x70E478, 0x70E21C, 0x70E61C, 91, 1764},
    {"MC60 v10 lg95",  N,   R,   0x3E969A, 0x3E9AF8, 0x3EA0C8, 0x35AD62, 0x35AE58, 0x3E972A, 0x3E99E4, 0x3E95E4, 0x3E9B88, 91, 1344},
    {"A55 v9 lg1",     N,   R,   0x495EE4, 0x496342, 0x496912, 0x576E9E, 0x057154, 0x495F74, 0x49622E, 0x495E2E, 0x4963D2, 91, 0},
    {"SL55 v16 lg91",  N,   R,   0x1A2A40, 0x1A2E9E, 0x1A346E, 0x10F7E0, 0x10F8D6, 0x1A2AD0, 0x1A2D8A, 0x1A298A, 0x1A2F2E, 91, 1344},
    {"C60 v27 lg91",   N,   R,   0x54D4AA, 0x54D908, 0x54DED8, 0x268514, 0x26860A, 0x54D53A, 0x54D7F4, 0x54D3F4, 0x54D998, 91, 1344},
};
// clang-format on

TEST(FirmwareTable, EveryRowGivesTheDescriptorWrittenOutByHand)
{
    ASSERT_EQ(supportedFirmware().size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        const Expected& x = kExpected[i];
        EXPECT_EQ(supportedFirmware()[i].id, x.id) << "row " << i;
        const FirmwareRow* row = findFirmware(x.id);
        ASSERT_NE(row, nullptr) << x.id;
        const FirmwareDescriptor d = completeDescriptor(*row);
        const auto fields = [](const auto& v) {
            return std::tuple(v.newGeneration, v.hasRussian, v.englishTable, v.russianTable, v.key10Entry,
                              v.wapUpperTable, v.wapLowerTable, v.englishStorage, v.russianStorage,
                              v.sharedStorage, v.wapStorage, v.sharedCapacity, v.wapCapacity);
        };
        EXPECT_EQ(fields(d), fields(x)) << x.id;
        EXPECT_EQ(d.wapAvailable, x.wapCapacity != 0) << x.id;
    }
}

TEST(FirmwareTable, HoldsThirtyFourDistinctIdentities)
{
    std::set<std::string_view> ids;
    for (const FirmwareRow& row : supportedFirmware())
        ids.insert(row.id);
    EXPECT_EQ(ids.size(), 34u);
}

TEST(FirmwareTable, LookupIsExactAndCaseSensitive)
{
    EXPECT_NE(findFirmware("C55 v24 lg91"), nullptr);
    EXPECT_EQ(findFirmware("c55 v24 lg91"), nullptr);
    EXPECT_EQ(findFirmware("C55 v24 lg91 "), nullptr);
    EXPECT_EQ(findFirmware("C55 v25 lg91"), nullptr);
    EXPECT_EQ(findFirmware(""), nullptr);
}

TEST(FirmwareTable, NewerGenerationRules)
{
    const FirmwareDescriptor d = completeDescriptor(*findFirmware("C55 v24 lg91"));
    EXPECT_EQ(d.englishStorage, 0x473106);
    EXPECT_EQ(d.russianStorage, 0x4733C0);
    EXPECT_EQ(d.sharedStorage, 0x472FC0);
    EXPECT_EQ(d.wapStorage, 0x473564);
    EXPECT_EQ(d.sharedCapacity, 91);
    EXPECT_TRUE(d.wapAvailable);
    EXPECT_EQ(d.wapCapacity, 1344);
}

TEST(FirmwareTable, OlderGenerationRulesDeriveMissingRussianTable)
{
    const FirmwareDescriptor d = completeDescriptor(*findFirmware("SLIK v56 lg1"));
    EXPECT_EQ(d.russianTable, 0x18614C);
    EXPECT_EQ(d.englishStorage, 0x185BD4);
    EXPECT_EQ(d.russianStorage, 0x186038);
    EXPECT_EQ(d.sharedStorage, 0x185FDC);
    EXPECT_EQ(d.wapStorage, 0x185DCE);
    EXPECT_EQ(d.sharedCapacity, 46);
    EXPECT_FALSE(d.hasRussian);
    EXPECT_EQ(d.wapCapacity, 526);
}

TEST(FirmwareTable, AliasesShareOneDescriptor)
{
    FirmwareDescriptor a = completeDescriptor(*findFirmware("M55 v10 lg2"));
    FirmwareDescriptor b = completeDescriptor(*findFirmware("M55 v10 lg91"));
    a.id = b.id;
    EXPECT_EQ(a, b);
    FirmwareDescriptor c = completeDescriptor(*findFirmware("A50 v11 lg5"));
    FirmwareDescriptor e = completeDescriptor(*findFirmware("A50 v10 lg91"));
    c.id = e.id;
    EXPECT_EQ(c, e);
}

TEST(FirmwareTable, FirmwareWithoutSoundWapTablesGetsNoWapWrites)
{
    EXPECT_FALSE(completeDescriptor(*findFirmware("A52 v7 lg1")).wapAvailable);
    EXPECT_FALSE(completeDescriptor(*findFirmware("A55 v9 lg1")).wapAvailable);
    int usable = 0;
    for (const FirmwareRow& row : supportedFirmware())
        usable += completeDescriptor(row).wapAvailable ? 1 : 0;
    EXPECT_EQ(usable, 32);
}

// Every area of every descriptor must stay clear of the others, or one save would overwrite another.
TEST(FirmwareTable, AreasOfEveryRowDoNotOverlap)
{
    for (const FirmwareRow& row : supportedFirmware()) {
        const FirmwareDescriptor d = completeDescriptor(row);
        struct Area
        {
            std::int32_t start, size;
        };
        std::vector<Area> areas = {{d.englishTable, 144},
                                   {d.russianTable, 144},
                                   {d.englishStorage, 272},
                                   {d.russianStorage, 276},
                                   {d.sharedStorage, 2 * d.sharedCapacity}};
        if (d.newGeneration)
            areas.push_back({d.key10Entry, 6});
        if (d.wapAvailable) {
            areas.push_back({d.wapUpperTable, 120});
            areas.push_back({d.wapLowerTable, 120});
            areas.push_back({d.wapStorage, d.wapCapacity});
            EXPECT_GT(d.wapCapacity, 24) << row.id;
        }
        for (std::size_t i = 0; i < areas.size(); ++i)
            for (std::size_t j = i + 1; j < areas.size(); ++j) {
                const bool apart = areas[i].start + areas[i].size <= areas[j].start ||
                                   areas[j].start + areas[j].size <= areas[i].start;
                EXPECT_TRUE(apart) << row.id << " areas " << i << " and " << j;
            }
    }
}

// A description is looked up after the table, which wins on a clash; one that would place an area
// outside any image, or give WAP tables where none lie, is refused and changes nothing.
TEST(FirmwareCatalog, TableFirstAndOnlySoundDescriptions)
{
    const FirmwareRow c55 = *findFirmware("C55 v24 lg91");
    FirmwareCatalog catalog;
    EXPECT_TRUE(catalog.add("C55 v24 lg91", c55)) << "the table has it";
    EXPECT_FALSE(catalog.add("C55 v25 lg91", c55));
    ASSERT_NE(catalog.find("C55 v25 lg91"), nullptr);
    EXPECT_EQ(catalog.find("C55 v25 lg91")->id, "C55 v25 lg91");
    EXPECT_EQ(catalog.find("C55 v25 lg91")->englishTable, 0x473076);
    EXPECT_EQ(catalog.find("C55 v24 lg91"), findFirmware("C55 v24 lg91"));

    FirmwareRow bad = c55;
    bad.englishTable = 0x40; // its shared storage would start before the image
    EXPECT_TRUE(catalog.add("X1 v1 lg1", bad));
    bad = c55;
    bad.russianTable = 0x7FFFFF00;
    EXPECT_TRUE(catalog.add("X2 v1 lg1", bad));
    bad = c55;
    bad.wapLowerTable = 0x100; // below the upper-case table: not a WAP table pair
    EXPECT_TRUE(catalog.add("X3 v1 lg1", bad));
    bad = c55;
    bad.key10Entry = 0;
    EXPECT_TRUE(catalog.add("X4 v1 lg1", bad));
    bad = *findFirmware("C45 v50 lg1");
    bad.key10Entry = 0x236D00; // the older generation has none: its key-10 entries would be read from there
    EXPECT_TRUE(catalog.add("X5 v1 lg1", bad));
    EXPECT_EQ(catalog.descriptions().size(), 1u);
    const FirmwareCatalog copy = catalog;
    EXPECT_EQ(copy.find("C55 v25 lg91")->id, "C55 v25 lg91") << "a copy's rows name its own strings";
}

// Descriptions read when first wanted are never read for the table's firmware, once for the rest, and
// before anything added, which then wins.
TEST(FirmwareCatalog, DeferredDescriptionsAreReadOnlyWhenWanted)
{
    FirmwareRow c55 = *findFirmware("C55 v24 lg91");
    int reads = 0;
    FirmwareCatalog catalog;
    catalog.deferDescriptions([&](FirmwareCatalog& c) {
        ++reads;
        (void)c.add("C55 v25 lg91", c55);
    });
    EXPECT_EQ(catalog.find("C55 v24 lg91"), findFirmware("C55 v24 lg91"));
    EXPECT_EQ(reads, 0);
    c55.wapUpperTable = c55.wapLowerTable = 0;
    EXPECT_FALSE(catalog.add("C55 v25 lg91", c55));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(catalog.find("C55 v25 lg91")->wapUpperTable, 0);
    EXPECT_EQ(catalog.descriptions().size(), 1u);
    EXPECT_EQ(reads, 1);
}

// A descriptor whose areas overlap one another or the bytes identification reads would let one save
// spoil the layouts, or make the image another firmware (or none) at the next load.
TEST(FirmwareCatalog, AreasThatWouldHurtTheImageAreRefused)
{
    // Every row passes, with the WAP tables of the one the table does not trust with WAP left out.
    for (FirmwareRow row : supportedFirmware()) {
        if (row.id == "A55 v9 lg1") {
            EXPECT_EQ(descriptionFault(row), "the WAP tables are not where such tables lie");
            row.wapUpperTable = row.wapLowerTable = 0;
        }
        EXPECT_EQ(descriptionFault(row), std::nullopt) << row.id;
    }

    const FirmwareRow c55 = *findFirmware("C55 v24 lg91"); // English table 0x473076, Russian 0x4734D4
    const FirmwareRow c45 = *findFirmware("C45 v50 lg1");  // English table 0x2367D8
    const auto faultOf = [](FirmwareRow row, auto change) {
        change(row);
        return descriptionFault(row).value_or("accepted");
    };
    // Offsets checked before anything is derived from them.
    EXPECT_EQ(faultOf(c55, [](FirmwareRow& r) { r.englishTable = 2147483647; }),
              "an area lies outside any image of these phones");
    EXPECT_EQ(faultOf(c45, [](FirmwareRow& r) { r.russianTable = 2147483600; }),
              "an area lies outside any image of these phones");
    // The identity blocks 0x7FF00..0x7FFFF, 0x27FF00.., 0x47FF00.., 0x67FF00..
    EXPECT_EQ(faultOf(c55, [](FirmwareRow& r) { r.key10Entry = 0x7FF80; }),
              "an area meets the identity block");
    EXPECT_EQ(faultOf(c55,
                      [](FirmwareRow& r) {
                          r.key10Entry = 0x7FFF0; // alone in the block: no WAP storage runs over it
                          r.wapUpperTable = r.wapLowerTable = 0;
                      }),
              "an area meets the identity block");
    EXPECT_EQ(faultOf(c55, [](FirmwareRow& r) { r.key10Entry = 0x47FEFA; }), "accepted"); // ends at 0x47FF00
    EXPECT_EQ(faultOf(c55, [](FirmwareRow& r) { r.key10Entry = 0x47FEFB; }),
              "an area meets the identity block");
    EXPECT_EQ(faultOf(c45,
                      [](FirmwareRow& r) {
                          r.englishTable = 0x680000;
                          r.russianTable = 0;
                      }),
              "an area meets the identity block"); // its English storage ends in the last block
    // Areas over one another.
    EXPECT_EQ(faultOf(c55, [](FirmwareRow& r) { r.key10Entry = 0x473076 + 6; }), "two areas overlap");
    EXPECT_EQ(faultOf(c55, [](FirmwareRow& r) { r.russianTable = 0x473076 + 0x200; }), "two areas overlap");
    EXPECT_EQ(faultOf(c45, [](FirmwareRow& r) { r.russianTable = 0x2367D8 + 0x100; }), "two areas overlap");
    EXPECT_EQ(faultOf(c55,
                      [](FirmwareRow& r) {
                          r.wapUpperTable = 0x4733C0;
                          r.wapLowerTable = 0x4734B6;
                      }),
              "two areas overlap"); // the upper WAP table on the Russian storage
    // The WAP storage with its capacity: from 0x27F5EE up to the key-10 entry, over the block at 0x27FF00.
    const auto acrossTheBlock = [](FirmwareRow& r) {
        r.englishTable = 0x27F100;
        r.russianTable = 0x27F55E;
        r.key10Entry = 0x280100;
    };
    EXPECT_EQ(faultOf(c55, acrossTheBlock), "an area meets the identity block");
    EXPECT_EQ(faultOf(c55,
                      [&](FirmwareRow& r) {
                          acrossTheBlock(r);
                          r.wapUpperTable = r.wapLowerTable = 0;
                      }),
              "accepted");
}

} // namespace
} // namespace klavoset
