// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A save that fails leaves the previous file byte-identical and nothing beside it: a disk that fails a
// chosen write, a folder where the file should be, and a file system that is full.
#include "PropertyCase.h"
#include "base/FileSystem.h"
#include "core/Editor.h"
#include "support/ImageBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <unistd.h>

namespace klavoset {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::PropertyCase;

constexpr std::uint32_t kCases = 3;
constexpr std::size_t kWriteChunk = 1 << 20; // the file layer writes in pieces of this size

// The real file layer, except that one chosen write of a temporary file fails, as on a failing disk.
class FailingWrite : public RealFileSystem
{
  public:
    int failAt = 0; // the number of the write that fails, counting every write so far; 0 for none
    int writes = 0;

  protected:
    bool writeBytes(std::FILE* file, std::span<const std::uint8_t> bytes) override
    {
        return ++writes != failAt && RealFileSystem::writeBytes(file, bytes);
    }
};

// The editor over real files in `dir`, with the case's image there as ff.bin and loaded.
struct OnDisk
{
    fs::path dir;
    MemoryView view;
    FailingWrite files;
    NoSystemServices system;
    Editor editor{view, files, system};

    OnDisk(fs::path folder, const PropertyCase& c) : dir(std::move(folder))
    {
        test::writeBytes(dir / "ff.bin", c.image);
        editor.start();
        if (c.koi)
            editor.koi8Command();
        view.dialogAnswers.push_back(path("ff.bin"));
        loaded = editor.openFullflashCommand() == Outcome::Done;
        test::typeTexts(view, c.edited);
        editor.runCommand(c.wap);
    }
    [[nodiscard]] std::u16string path(const char* name) const { return (dir / name).u16string(); }
    [[nodiscard]] std::set<std::string> names() const
    {
        std::set<std::string> s;
        for (const auto& entry : fs::directory_iterator(dir))
            s.insert(entry.path().filename().string());
        return s;
    }
    bool loaded = false;
};

class FailedSaveOfEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

TEST_P(FailedSaveOfEveryFirmware, FailedWriteKeepsEveryPreviousFile)
{
    for (std::uint32_t seed = 0; seed < kCases; ++seed) {
        PropertyCase c(GetParam(), seed);
        SCOPED_TRACE(c.describe());
        test::TempDir dir;
        const Bytes oldPatch{'o', 'l', 'd', '\r', '\n'};
        const Bytes oldLayout{'a', 0, '\r', 0, '\n', 0};
        test::writeBytes(dir.path / "ff.vkp", oldPatch);
        test::writeBytes(dir.path / "ff.lay", oldLayout);
        OnDisk e(dir.path, c);
        ASSERT_TRUE(e.loaded);

        const int pieces = static_cast<int>((c.image.size() + kWriteChunk - 1) / kWriteChunk);
        e.files.failAt = e.files.writes + 1 + c.random.below(pieces);
        EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::FileError);
        EXPECT_EQ(test::readBytes(dir.path / "ff.bin"), c.image);
        EXPECT_EQ(e.view.panelText(6), u"*") << "the layouts still count as unsaved";

        e.files.failAt = e.files.writes + 1;
        e.view.dialogAnswers.push_back(e.path("ff.vkp"));
        EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::FileError);
        EXPECT_EQ(test::readBytes(dir.path / "ff.vkp"), oldPatch);

        e.files.failAt = e.files.writes + 1;
        e.view.dialogAnswers.push_back(e.path("ff.lay"));
        EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::FileError);
        EXPECT_EQ(test::readBytes(dir.path / "ff.lay"), oldLayout);
        EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin", "ff.lay", "ff.vkp"}));

        if (seed == 0) { // the image kept in memory is saved whole by the next attempt that works
            e.files.failAt = 0;
            ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
            EXPECT_EQ(test::readBytes(dir.path / "ff.bin"), e.editor.image());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, FailedSaveOfEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         test::RowName());

TEST(FailedSave, FolderInPlaceOfTheFileIsLeftAlone)
{
    PropertyCase c(supportedFirmware()[0], 1);
    test::TempDir dir;
    OnDisk e(dir.path, c);
    ASSERT_TRUE(e.loaded);
    fs::create_directory(dir.path / "taken");
    test::writeBytes(dir.path / "taken" / "inside", {1, 2, 3});

    e.view.dialogAnswers.push_back(e.path("taken"));
    EXPECT_EQ(e.editor.saveFullflashAsCommand(), Outcome::FileError);
    e.view.dialogAnswers.push_back(e.path("taken"));
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::FileError);
    e.view.dialogAnswers.push_back(e.path("taken"));
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::FileError);

    EXPECT_TRUE(fs::is_directory(dir.path / "taken"));
    EXPECT_EQ(test::readBytes(dir.path / "taken" / "inside"), (Bytes{1, 2, 3}));
    EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin", "taken"}));
    EXPECT_EQ(test::readBytes(dir.path / "ff.bin"), c.image);
}

// A small tmpfs of this process's own (a private mount namespace, gone with the process).
struct SmallFileSystem
{
    explicit SmallFileSystem(const fs::path& at, std::size_t bytes) : path(at)
    {
        static const bool isolated =
            ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const std::string options = "size=" + std::to_string(bytes);
        mounted = isolated && ::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted)
            ::umount2(path.c_str(), MNT_DETACH);
    }
    fs::path path;
    bool mounted = false;
};

TEST(FailedSave, FullFileSystemKeepsThePreviousFile)
{
    for (const FirmwareRow& row : supportedFirmware()) {
        PropertyCase c(row, 2);
        SCOPED_TRACE(c.describe());
        test::TempDir dir;
        // Room for the image and half of it again: the new copy cannot be completed.
        const SmallFileSystem small(dir.path, c.image.size() + c.image.size() / 2);
        if (!small.mounted)
            GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
        OnDisk e(dir.path, c);
        ASSERT_TRUE(e.loaded);
        EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::FileError);
        EXPECT_EQ(test::readBytes(dir.path / "ff.bin"), c.image);
        EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin"})) << "the unfinished copy is gone";
    }
}

} // namespace
} // namespace klavoset
