// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/FirmwareTable.h"

#include "image/FirmwareCatalog.h"

#include <gtest/gtest.h>
#include <set>

namespace klavoset {
namespace {

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
    EXPECT_TRUE(catalog.isDescribed("C55 v25 lg91"));
    EXPECT_FALSE(catalog.isDescribed("C55 v24 lg91"));

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
    EXPECT_EQ(catalog.descriptions().size(), 1u);
    const FirmwareCatalog copy = catalog;
    EXPECT_EQ(copy.find("C55 v25 lg91")->id, "C55 v25 lg91") << "a copy's rows name its own strings";
}

} // namespace
} // namespace klavoset
