// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

// A file is read in one read into a buffer of its size; what the size does not cover is read on.
TEST(RealFileSystemRead, ReadsAnImageWhole)
{
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    std::vector<std::uint8_t> bytes((16 << 20) + 7);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 16));
    test::writeBytes(path, bytes);
    const auto read = RealFileSystem().readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    EXPECT_TRUE(read.value() == bytes);
}

TEST(RealFileSystemRead, ReadsAFileWhoseSizeIsNotKnownBeforehand)
{
    // The system reports a size of 0 for it, yet it has content.
    const std::filesystem::path path = "/proc/self/cmdline";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no /proc here";
    const auto read = RealFileSystem().readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    EXPECT_FALSE(read.value().empty());
    EXPECT_EQ(read.value(), test::readBytes(path));
}

// A file that yields fewer bytes than its size said keeps that size: what was read, then zeros, never
// what the memory held before.
TEST(RealFileSystemRead, AShortReadLeavesZerosPastWhatWasRead)
{
    struct ShortReads : RealFileSystem
    {
        std::size_t readBytes(std::FILE* file, std::span<std::uint8_t> into) override
        {
            return RealFileSystem::readBytes(file, into.first(into.size() / 2));
        }
    };
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    const std::vector<std::uint8_t> bytes((3 << 20) + 5, 0xA5);
    test::writeBytes(path, bytes);
    // Read whole first: the short read gets the same memory back (freed blocks this large are kept for
    // reuse), full of the file's bytes.
    ASSERT_TRUE(RealFileSystem().readAll(path.u16string()).value() == bytes);
    const auto read = ShortReads().readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    std::vector<std::uint8_t> want(bytes.size(), 0);
    std::fill_n(want.begin(), bytes.size() / 2, std::uint8_t{0xA5});
    EXPECT_TRUE(read.value() == want);
}

} // namespace
} // namespace klavoset
