// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FailingCalls.h"

#include "base/FileSystem.h"
#include "support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>

// The file layer's failure paths, each reached by the system call itself failing where the engine makes it.

namespace klavoset {
namespace {

namespace fs = std::filesystem;
using test::failCall;
using test::SystemCall;

std::size_t entriesIn(const fs::path& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// A read that fails says why in the system's words; one through a map that fails is a copy instead.
TEST(FailingCalls, ReadingSaysWhyOrFallsBackToACopy)
{
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    const std::vector<std::uint8_t> bytes((2 << 20) + 1, 0x3C);
    test::writeBytes(path, bytes);

    failCall(SystemCall::Fstat, EIO);
    auto read = RealFileSystem().readAll(path.u16string());
    ASSERT_FALSE(read.isOk());
    EXPECT_EQ(read.error().reason, "Input/output error");
    failCall(SystemCall::Fdopen, ENOMEM);
    read = RealFileSystem().readAll(path.u16string());
    ASSERT_FALSE(read.isOk());
    EXPECT_EQ(read.error().reason, "Cannot allocate memory");
    // A regular file whose first page cannot be read: the system's own read error.
    read = RealFileSystem().readAll(u"/proc/self/mem");
    ASSERT_FALSE(read.isOk());
    EXPECT_EQ(read.error().stage, FileError::Stage::Transfer);
    EXPECT_EQ(read.error().reason, "Input/output error");

    RealFileSystem mapping(RealFileSystem::Reading::Map);
    failCall(SystemCall::Mmap, ENOMEM);
    read = mapping.readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    EXPECT_TRUE(read.value() == bytes);
    failCall(SystemCall::Fstat, EIO, 2); // the map's own look at the file
    read = mapping.readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    EXPECT_TRUE(read.value() == bytes);
}

// Whichever step of a replace fails, the old file stays whole, no temporary file is left, and the reason
// is the system's.
TEST(FailingCalls, AFailedReplaceKeepsTheFile)
{
    struct Case
    {
        SystemCall call;
        int error;
        const char* reason;
    };
    const Case cases[] = {
        {SystemCall::Fdopen, ENOMEM, "Cannot allocate memory"},  // the temporary file's stream
        {SystemCall::Fchmod, EPERM, "Operation not permitted"},  // the old file's mode
        {SystemCall::Fsync, EIO, "Input/output error"},          // the flush to the disk
        {SystemCall::Fclose, ENOSPC, "No space left on device"}, // the last of the cache, written on close
    };
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    const std::vector<std::uint8_t> old(3 << 20, 5);
    test::writeBytes(path, old);
    for (const Case& c : cases) {
        failCall(c.call, c.error);
        const auto error =
            RealFileSystem().writeAtomically(path.u16string(), std::vector<std::uint8_t>(4096, 6));
        ASSERT_TRUE(error) << c.reason;
        EXPECT_EQ(error->reason, c.reason);
        EXPECT_EQ(test::readBytes(path), old) << c.reason;
        EXPECT_EQ(entriesIn(dir.path), 1u) << c.reason;
    }
}

} // namespace
} // namespace klavoset
