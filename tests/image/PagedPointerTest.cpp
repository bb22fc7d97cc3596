// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/PagedPointer.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

// A C60's key-0 pointer (in-page 0x13D2, page 0x1D3) names address 0x74D3D2, worked out by hand: in its
// 14 MiB image offset 0x54D3D2; in an image of 6 MiB it lies below the start until two correction steps.
TEST(PagedPointer, MapsAddressesAndOffsetsBothWays)
{
    EXPECT_EQ(pointerAddress(0x13D2, 0x1D3), 0x74D3D2);
    EXPECT_EQ(pointerAddress(0xD3D2, 0x1D3), 0x74D3D2) << "the in-page offset's top bits are no part of it";
    EXPECT_EQ(pointerAddress(0, 0x7FFF), 0x7FFF * 0x4000);
    EXPECT_EQ(pointerAddress(0, 0x8000), -1);

    EXPECT_EQ(imageOffsetOf(0x74D3D2, 0xE00000, 0), 0x54D3D2);
    EXPECT_EQ(addressOfOffset(0x54D3D2, 0xE00000, 0), 0x74D3D2);
    EXPECT_EQ(addressOfOffset(0x14D3D2, 0x600000, 0x400000), 0x74D3D2);

    const SettledOffset none = settleCorrection(0x54D3D2, 0);
    EXPECT_EQ(none.offset, 0x54D3D2);
    EXPECT_EQ(none.correction, 0);
    const SettledOffset one = settleCorrection(-0x100, 0);
    EXPECT_EQ(one.offset, 0x1FFF00);
    EXPECT_EQ(one.correction, 0x200000);
    const SettledOffset two = settleCorrection(imageOffsetOf(0x74D3D2, 0x600000, 0), 0);
    EXPECT_EQ(two.offset, 0x14D3D2);
    EXPECT_EQ(two.correction, 0x400000);

    EXPECT_TRUE(offsetMaps(0, 0x1000000, 0));
    EXPECT_FALSE(offsetMaps(0, 0x1000001, 0)) << "an address below 0";
    EXPECT_TRUE(offsetMaps(0x1F000000 - 1, 0, 0));
    EXPECT_FALSE(offsetMaps(0x1F000000, 0, 0)) << "page 0x8000";
}

} // namespace
} // namespace klavoset
