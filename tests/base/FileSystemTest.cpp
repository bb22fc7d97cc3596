// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileSystem.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::u16string u16(const fs::path& p) { return p.u16string(); }

// Fails the second write of the temporary file, as a full disk would.
class FullDisk : public RealFileSystem
{
  protected:
    bool writeBytes(std::FILE* file, std::span<const std::uint8_t> bytes) override
    {
        return ++m_writes < 2 && RealFileSystem::writeBytes(file, bytes);
    }

  private:
    int m_writes = 0;
};

std::size_t entriesIn(const fs::path& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(RealFileSystem, ReadingNeverCreatesAndRefusesDirectories)
{
    TempDir dir;
    RealFileSystem files;
    const auto missing = dir.path / "missing.bin";
    EXPECT_FALSE(files.readAll(u16(missing)).isOk());
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(files.canRead(u16(missing)));
    EXPECT_FALSE(files.readAll(u16(dir.path)).isOk());
    EXPECT_FALSE(files.canRead(u16(dir.path)));
}

TEST(RealFileSystem, ReadsReadOnlyFiles)
{
    TempDir dir;
    const auto p = dir.path / "ro.bin";
    test::writeBytes(p, {1, 2, 3});
    fs::permissions(p, fs::perms::owner_read);
    RealFileSystem files;
    const auto read = files.readAll(u16(p));
    ASSERT_TRUE(read.isOk());
    EXPECT_EQ(read.value(), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(files.canRead(u16(p)));
}

TEST(RealFileSystem, AtomicWriteReplacesWholeFile)
{
    TempDir dir;
    const auto p = dir.path / "ff.bin";
    test::writeBytes(p, std::vector<std::uint8_t>(100, 7));
    RealFileSystem files;
    const std::vector<std::uint8_t> bytes(10, 9);
    EXPECT_FALSE(files.writeAtomically(u16(p), bytes));
    EXPECT_EQ(files.readAll(u16(p)).value(), bytes);
    EXPECT_EQ(entriesIn(dir.path), 1u) << "no temporary file left";
    EXPECT_FALSE(files.writeAtomically(u16(dir.path / "new.bin"), bytes)) << "creates a new file too";
}

TEST(RealFileSystem, FailedWriteKeepsOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    const auto p = dir.path / "ff.bin";
    const std::vector<std::uint8_t> old(3 << 20, 5);
    test::writeBytes(p, old);
    FullDisk files;
    const auto error = files.writeAtomically(u16(p), std::vector<std::uint8_t>(3 << 20, 6));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->stage, FileError::Stage::Write);
    EXPECT_EQ(RealFileSystem().readAll(u16(p)).value(), old);
    EXPECT_EQ(entriesIn(dir.path), 1u);
}

TEST(RealFileSystem, TargetThatIsADirectoryOrInMissingFolderFailsToOpen)
{
    TempDir dir;
    RealFileSystem files;
    fs::create_directory(dir.path / "sub");
    auto error = files.writeAtomically(u16(dir.path / "sub"), std::vector<std::uint8_t>(4, 1));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->stage, FileError::Stage::Open);
    EXPECT_TRUE(fs::is_directory(dir.path / "sub"));
    error = files.writeAtomically(u16(dir.path / "no" / "such.bin"), std::vector<std::uint8_t>(4, 1));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->stage, FileError::Stage::Open);
}

TEST(RealFileSystem, NonAsciiPaths)
{
    TempDir dir;
    RealFileSystem files;
    const fs::path p = dir.path / fs::path(u"прошивка C55.bin");
    EXPECT_FALSE(files.writeAtomically(u16(p), std::vector<std::uint8_t>{42}));
    EXPECT_TRUE(fs::exists(p));
    EXPECT_EQ(files.readAll(u16(p)).value(), std::vector<std::uint8_t>{42});
}

} // namespace
} // namespace klavoset
