// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/Identify.h"

#include "support/ImageBuilder.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::ImageBuilder;

TEST(Identify, BuildsIdentityFromFirstProbe)
{
    EXPECT_EQ(identifyFirmware(ImageBuilder(0x800000).identity("C55", 0x24, "lg91").build()), "C55 v24 lg91");
}

TEST(Identify, VersionIsUpperHexWithoutLeadingZeros)
{
    EXPECT_EQ(identifyFirmware(ImageBuilder(0x800000).identity("CF62", 0x07, "lg91").build()),
              "CF62 v7 lg91");
    EXPECT_EQ(identifyFirmware(ImageBuilder(0x800000).identity("M55", 0x91, "lg91").build()), "M55 v91 lg91");
    EXPECT_EQ(identifyFirmware(ImageBuilder(0x800000).identity("X", 0xAB, "lg1").build()), "X vAB lg1");
}

// The probes as the phones place them, written out here: a typo in the engine's list must not move the
// test's images along with it.
TEST(Identify, LaterProbesAreTriedInOrder)
{
    for (const std::int32_t probe : {0x7FF80, 0x27FF80, 0x47FF80, 0x67FF80}) {
        const auto image = ImageBuilder(0x800000).identity("S55", 0x20, "lg91", probe).build();
        EXPECT_EQ(identifyFirmware(image), "S55 v20 lg91") << std::hex << probe;
    }
}

TEST(Identify, MarkerMustMatchExactly)
{
    // A marker with extra letters or another case at the first probe is passed over for the next one.
    auto image = ImageBuilder(0x800000)
                     .identity("A", 1, "lg1", 0x7FF80, "SIEMENSX")
                     .identity("C55", 0x24, "lg91", 0x27FF80)
                     .build();
    EXPECT_EQ(identifyFirmware(image), "C55 v24 lg91");
    image = ImageBuilder(0x800000).identity("A", 1, "lg1", 0x7FF80, "Siemens").build();
    EXPECT_EQ(identifyFirmware(image), " vFF "); // built from the erased block of the last probe
}

TEST(Identify, StringsEndAtZeroOrErasedBytes)
{
    ImageBuilder b(0x800000);
    b.identity("C55", 0x24, "lg91");
    b.bytes(0x7FF70 + 3, {0xFF, 'Z'});
    EXPECT_EQ(identifyFirmware(b.build()), "C55 v24 lg91");
}

TEST(Identify, ShortImagesGiveEmptyIdentityWithoutReadingOutside)
{
    EXPECT_EQ(identifyFirmware(std::vector<std::uint8_t>(1, 0)), "");
    EXPECT_EQ(identifyFirmware(std::vector<std::uint8_t>(0x7FF80, 0x41)), "");
    // An image that ends inside the marker: the string stops at the end.
    std::vector<std::uint8_t> cut(0x7FF83, 'S');
    EXPECT_NO_THROW((void)identifyFirmware(cut));
}

TEST(Identify, GetStLeavesPosOnTerminator)
{
    const std::vector<std::uint8_t> bytes = {'a', 'b', 0, 'c'};
    std::int32_t pos = 0;
    EXPECT_EQ(readByteString(bytes, pos), "ab");
    EXPECT_EQ(pos, 2);
    pos = 3;
    EXPECT_EQ(readByteString(bytes, pos), "c");
    EXPECT_EQ(pos, 4);
    pos = 4;
    EXPECT_EQ(readByteString(bytes, pos), "");
    EXPECT_EQ(pos, 4);
}

TEST(Identify, DescriptorMustFitImage)
{
    const FirmwareDescriptor d = test::descriptorOf("C55 v24 lg91");
    EXPECT_TRUE(descriptorFitsImage(d, 0x1000000));
    EXPECT_FALSE(descriptorFitsImage(d, 0x473076));       // ends before the English table
    EXPECT_FALSE(descriptorFitsImage(d, 0x585FF6 + 119)); // the lower WAP table is cut
    EXPECT_TRUE(descriptorFitsImage(d, 0x585FF6 + 120));
}

} // namespace
} // namespace klavoset
