// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileSystem.h"
#include "base/MappedFiles.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace klavoset {
namespace {

// Writes a file of `size` bytes that differ from their neighbours, so that a byte out of place shows.
std::vector<std::uint8_t> writePatterned(const std::filesystem::path& path, std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 16));
    test::writeBytes(path, bytes);
    return bytes;
}

// A file is read in one read into a buffer of its size; what the size does not cover is read on.
TEST(RealFileSystemRead, ReadsAnImageWhole)
{
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    const auto bytes = writePatterned(path, (16 << 20) + 7);
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

// A file that yields fewer bytes than its size said was shortened while it was read: refused as a read
// error, never filled up into an image that a later save would write back half empty.
TEST(RealFileSystemRead, AFileShortenedWhileItIsReadIsRefused)
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
    test::writeBytes(path, std::vector<std::uint8_t>((3 << 20) + 5, 0xA5));
    const auto read = ShortReads().readAll(path.u16string());
    ASSERT_FALSE(read.isOk());
    EXPECT_EQ(read.error().stage, FileError::Stage::Transfer);
}

#ifndef _WIN32
// Only regular files are read, however they are read: a FIFO nobody writes to is refused at once instead
// of waiting for ever, a device instead of being read until memory runs out.
TEST(RealFileSystemRead, OnlyRegularFilesAreReadAndNothingWaits)
{
    test::TempDir dir;
    const auto fifo = dir.path / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(30); // a read that waits ends the test
    for (const auto reading : {RealFileSystem::Reading::Copy, RealFileSystem::Reading::Map})
        for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero")}) {
            RealFileSystem files(reading);
            const auto read = files.readAll(path.u16string());
            ASSERT_FALSE(read.isOk()) << path;
            EXPECT_EQ(read.error().stage, FileError::Stage::Transfer) << path;
            EXPECT_EQ(read.error().reason, "not a regular file") << path;
            EXPECT_FALSE(files.canRead(path.u16string())) << path;
        }
    ::alarm(0);
}
#endif

// A mapped image reads as the file and stays the reader's own: what the editor writes into it never
// reaches the file, and it outlives the file's name being replaced (a save over the same path).
TEST(RealFileSystemRead, AMappedImageIsAPrivateCopyOfTheFile)
{
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    const auto bytes = writePatterned(path, (2 << 20) + 3);
    RealFileSystem files(RealFileSystem::Reading::Map);
    auto read = files.readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    FileBytes image = std::move(read).value();
    EXPECT_TRUE(image == bytes);
    image[5] ^= 0xFF;
    image[bytes.size() - 1] ^= 0xFF;
    ASSERT_FALSE(files.writeAtomically(path.u16string(), std::vector<std::uint8_t>(16, 0)));
    EXPECT_EQ(image[5], bytes[5] ^ 0xFF);
    EXPECT_EQ(image[7], bytes[7]);
    image.resize(bytes.size() + 1); // grows out of the map into memory of its own
    EXPECT_EQ(image[bytes.size() - 1], bytes.back() ^ 0xFF);
    EXPECT_EQ(test::readBytes(path).size(), 16u);
}

#ifndef _WIN32
// Another program that shortens a mapped image ends the process with the guard's message and code
// instead of a crash, and the temporary file of a save in progress goes with it.
TEST(RealFileSystemReadDeathTest, AMappedImageShortenedMeanwhileEndsTheProcessCleanly)
{
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    const auto pending = dir.path / "out.tmp";
    test::writeBytes(path, std::vector<std::uint8_t>(4 << 20, 0x5A));
    test::writeBytes(pending, {1, 2, 3});
    const auto readAfterShortening = [&] {
        guardMappedFiles("shortened meanwhile\n", 7);
        auto read = RealFileSystem(RealFileSystem::Reading::Map).readAll(path.u16string());
        if (!read.isOk())
            std::_Exit(1);
        notePendingFile(pending.native());
        std::filesystem::resize_file(path, 4096);
        volatile std::uint8_t last = read.value()[(4 << 20) - 1];
        std::_Exit(last); // not reached: the page is gone with the file's end
    };
    EXPECT_EXIT(readAfterShortening(), testing::ExitedWithCode(7), "shortened meanwhile");
    EXPECT_FALSE(std::filesystem::exists(pending));
}
#endif

} // namespace
} // namespace klavoset
