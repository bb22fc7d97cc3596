// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileSystem.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

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

// Every write lands, but the flush to the disk fails, as on a disk that fails under the cache.
class FailingFlush : public RealFileSystem
{
  protected:
    bool flushToDisk(std::FILE*) override
    {
        errno = EIO;
        return false;
    }
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
    FullDisk full;
    FailingFlush unflushed;
    for (RealFileSystem* files : std::initializer_list<RealFileSystem*>{&full, &unflushed}) {
        const auto error = files->writeAtomically(u16(p), std::vector<std::uint8_t>(3 << 20, 6));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->stage, FileError::Stage::Transfer);
        EXPECT_EQ(RealFileSystem().readAll(u16(p)).value(), old);
        EXPECT_EQ(entriesIn(dir.path), 1u);
    }
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

// A name near the system's limit (120 Cyrillic letters and ".lay": 244 bytes) is saved, new and replaced,
// although the temporary name beside it would be longer than any name may be.
TEST(RealFileSystem, NamesNearTheLimitAreSaved)
{
    TempDir dir;
    RealFileSystem files;
    const fs::path p = dir.path / fs::path(std::u16string(120, u'ж') + u".lay");
    EXPECT_FALSE(files.writeAtomically(u16(p), std::vector<std::uint8_t>{1}));
    EXPECT_FALSE(files.writeAtomically(u16(p), std::vector<std::uint8_t>{2}));
    EXPECT_EQ(test::readBytes(p), std::vector<std::uint8_t>{2});
    EXPECT_EQ(entriesIn(dir.path), 1u);
}

#ifndef _WIN32
// What the layer opens is never inherited by a program started meanwhile, and a save's temporary file is
// its owner's alone until its content is complete; then it takes the mode of the file it replaces, or
// that of any new file.
TEST(RealFileSystem, FilesAreNotInheritedAndPrivateWhileWritten)
{
    struct Watching : RealFileSystem
    {
        std::vector<std::pair<bool, mode_t>> seen; // close-on-exec, permissions
        void note(std::FILE* file)
        {
            struct stat st
            {
            };
            ::fstat(fileno(file), &st);
            seen.emplace_back((::fcntl(fileno(file), F_GETFD) & FD_CLOEXEC) != 0, st.st_mode & 07777);
        }
        std::size_t readBytes(std::FILE* file, std::span<std::uint8_t> into) override
        {
            note(file);
            return RealFileSystem::readBytes(file, into);
        }
        bool writeBytes(std::FILE* file, std::span<const std::uint8_t> bytes) override
        {
            note(file);
            return RealFileSystem::writeBytes(file, bytes);
        }
    };
    TempDir dir;
    const auto kept = dir.path / "kept.bin";
    test::writeBytes(kept, std::vector<std::uint8_t>(1000, 1));
    ::chmod(kept.c_str(), 0604);
    const mode_t mask = ::umask(027);
    Watching files;
    ASSERT_TRUE(files.readAll(u16(kept)).isOk());
    ASSERT_FALSE(files.writeAtomically(u16(kept), std::vector<std::uint8_t>(10, 2)));
    ASSERT_FALSE(files.writeAtomically(u16(dir.path / "new.bin"), std::vector<std::uint8_t>(10, 2)));
    ::umask(mask);
    ASSERT_GE(files.seen.size(), 3u); // reads of the first file, then one write of each temporary file
    for (const auto& [closeOnExec, mode] : files.seen)
        EXPECT_TRUE(closeOnExec);
    EXPECT_EQ(files.seen.rbegin()[1].second, 0600u);
    EXPECT_EQ(files.seen.back().second, 0600u);
    EXPECT_EQ(fs::status(kept).permissions(), static_cast<fs::perms>(0604));
    EXPECT_EQ(fs::status(dir.path / "new.bin").permissions(), static_cast<fs::perms>(0640));
}

// A FIFO or a device node where the file should be stays what it is: nothing takes its name.
TEST(RealFileSystem, OnlyRegularFilesAreReplaced)
{
    TempDir dir;
    RealFileSystem files;
    const auto fifo = dir.path / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto error = files.writeAtomically(u16(fifo), std::vector<std::uint8_t>{1});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->stage, FileError::Stage::Open);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_EQ(entriesIn(dir.path), 1u);

    const auto device = dir.path / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a device node needs root";
    error = files.writeAtomically(u16(device), std::vector<std::uint8_t>{1});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->stage, FileError::Stage::Open);
    EXPECT_TRUE(fs::is_character_file(fs::symlink_status(device)));
}

// In a folder open to all, a link another user planted is not followed: root's save through it would
// replace root's own file elsewhere. A link the folder's owner made is followed as any.
TEST(RealFileSystem, ALinkAnotherUserPlantedIsNotFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "links of other users can only be made by root";
    constexpr uid_t kOther = 65534, kFolderOwner = 65533;
    TempDir dir;
    RealFileSystem files;
    const auto own = dir.path / "own.bin";
    test::writeBytes(own, {9});
    const auto open = dir.path / "tmp";
    fs::create_directory(open);
    ASSERT_EQ(::chown(open.c_str(), kFolderOwner, kFolderOwner), 0);
    ASSERT_EQ(::chmod(open.c_str(), 01777), 0);
    const auto link = open / "planted.bin";
    fs::create_symlink(own, link);
    ASSERT_EQ(::lchown(link.c_str(), kOther, kOther), 0);
    const auto error = files.writeAtomically(u16(link), std::vector<std::uint8_t>{1});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->stage, FileError::Stage::Open);
    EXPECT_EQ(test::readBytes(own), std::vector<std::uint8_t>{9});
    EXPECT_TRUE(fs::is_symlink(link));

    ASSERT_EQ(::lchown(link.c_str(), kFolderOwner, kFolderOwner), 0);
    EXPECT_FALSE(files.writeAtomically(u16(link), std::vector<std::uint8_t>{1}));
    EXPECT_EQ(test::readBytes(own), std::vector<std::uint8_t>{1});
}
#endif

} // namespace
} // namespace klavoset
