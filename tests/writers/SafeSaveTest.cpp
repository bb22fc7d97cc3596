// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "core/MemoryView.h"
#include "support/ImageBuilder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <unistd.h>

namespace klavoset {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Every write of a temporary file fails, as on a full disk.
class FullDisk : public RealFileSystem
{
  protected:
    bool writeBytes(std::FILE*, std::span<const std::uint8_t>) override { return false; }
};

// The editor over real files in a fresh folder that is removed afterwards.
template <typename Files> struct OnDisk
{
    fs::path dir;
    MemoryView view;
    Files files;
    NoSystemServices system;
    Editor editor{view, files, system};
    Bytes original = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true), 0x800000);

    OnDisk()
    {
        dir = fs::temp_directory_path() / ("klavoset-save-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        put("ff.bin", original);
        editor.start();
        view.dialogAnswers.push_back(path("ff.bin"));
        EXPECT_EQ(editor.openFullflashCommand(), Outcome::Done);
        view.type(Layout::englishUpper, 2, u"EDITED");
    }
    ~OnDisk()
    {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    [[nodiscard]] std::u16string path(const char* name) const { return (dir / name).u16string(); }
    void put(const char* name, const Bytes& bytes) const
    {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    [[nodiscard]] Bytes read(const char* name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    [[nodiscard]] std::set<std::string> names() const
    {
        std::set<std::string> s;
        for (const auto& entry : fs::directory_iterator(dir))
            s.insert(entry.path().filename().string());
        return s;
    }
};

TEST(SafeSave, FullDiskKeepsEveryOldFile)
{
    OnDisk<FullDisk> e;
    const Bytes layout = {0x61, 0, 0x0D, 0, 0x0A, 0};
    const Bytes patch = {';', '\r', '\n'};
    e.put("old.lay", layout);
    e.put("old.vkp", patch);

    EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::FileError);
    e.view.dialogAnswers.push_back(e.path("old.lay"));
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::FileError);
    e.view.dialogAnswers.push_back(e.path("old.vkp"));
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::FileError);

    EXPECT_EQ(e.read("ff.bin"), e.original);
    EXPECT_EQ(e.read("old.lay"), layout);
    EXPECT_EQ(e.read("old.vkp"), patch);
    EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin", "old.lay", "old.vkp"})) << "no temporary file left";
    EXPECT_EQ(e.view.panelText(6), u"*");
    ASSERT_FALSE(e.view.boxes.empty());
    EXPECT_NE(e.view.boxes.back().text.find(u"Ошибка записи файла"), std::u16string::npos);
}

TEST(SafeSave, DirectoryAsTargetIsRefused)
{
    OnDisk<RealFileSystem> e;
    fs::create_directory(e.dir / "sub");
    e.view.dialogAnswers.push_back(e.path("sub"));
    EXPECT_EQ(e.editor.saveFullflashAsCommand(), Outcome::FileError);
    EXPECT_TRUE(fs::is_directory(e.dir / "sub"));
    EXPECT_TRUE(fs::is_empty(e.dir / "sub"));
    EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin", "sub"}));
    EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
}

TEST(SafeSave, ReadOnlyFolderKeepsTheFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "a read-only folder does not keep new files out on Windows";
#endif
    OnDisk<RealFileSystem> e;
    fs::permissions(e.dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::FileError);
    fs::permissions(e.dir, fs::perms::owner_all);
    EXPECT_EQ(e.read("ff.bin"), e.original);
    EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin"}));
}

TEST(SafeSave, SuccessfulSaveReplacesTheFileWhole)
{
    OnDisk<RealFileSystem> e;
    e.put("ff.bin", Bytes(0x900000, 0x77)); // longer than the image: nothing of it may remain
    EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
    EXPECT_EQ(e.read("ff.bin"), e.editor.image());
    EXPECT_EQ(e.names(), (std::set<std::string>{"ff.bin"}));
}

// The three saves of one editor, each to the file of its kind named `stem` + its extension.
void saveAll(OnDisk<RealFileSystem>& e, const std::string& stem, Outcome expected)
{
    e.view.dialogAnswers.push_back(e.path((stem + ".bin").c_str()));
    EXPECT_EQ(e.editor.saveFullflashAsCommand(), expected);
    e.view.dialogAnswers.push_back(e.path((stem + ".lay").c_str()));
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), expected);
    e.view.dialogAnswers.push_back(e.path((stem + ".vkp").c_str()));
    EXPECT_EQ(e.editor.savePatchAsCommand(), expected);
}

// Holds as root too, whom the system would let write anything.
TEST(SafeSave, ReadOnlyTargetsAreRefusedAndKept)
{
    OnDisk<RealFileSystem> e;
    const Bytes old = {1, 2, 3};
    for (const char* name : {"ro.bin", "ro.lay", "ro.vkp"}) {
        e.put(name, old);
        fs::permissions(e.dir / name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    saveAll(e, "ro", Outcome::FileError);
    for (const char* name : {"ro.bin", "ro.lay", "ro.vkp"}) {
        EXPECT_EQ(e.read(name), old) << name;
        EXPECT_EQ(fs::status(e.dir / name).permissions(),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
    EXPECT_EQ(e.view.panelText(2), e.path("ro.vkp"));
    EXPECT_EQ(e.names().size(), 4u) << "no temporary file left";
}

TEST(SafeSave, ReplacedFilesKeepTheirPermissionsAndLinks)
{
#ifdef _WIN32
    GTEST_SKIP() << "links and POSIX permissions are not what a Windows user meets";
#endif
    OnDisk<RealFileSystem> e;
    fs::create_directory(e.dir / "real");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    for (const char* ext : {".bin", ".lay", ".vkp"}) {
        const fs::path file = e.dir / "real" / (std::string("f") + ext);
        e.put(("real/f" + std::string(ext)).c_str(), Bytes{9});
        fs::permissions(file, mode);
        fs::create_symlink(fs::path("real") / file.filename(), e.dir / (std::string("link") + ext));
    }
    // A temporary name an interrupted save left behind, which must neither block nor be taken.
    e.put("real/f.bin.klavoset-0.tmp", Bytes{7});

    saveAll(e, "link", Outcome::Done);
    for (const char* ext : {".bin", ".lay", ".vkp"}) {
        const fs::path link = e.dir / (std::string("link") + ext);
        EXPECT_TRUE(fs::is_symlink(link)) << ext;
        EXPECT_EQ(fs::status(link).permissions(), mode) << ext;
        EXPECT_NE(e.read(("real/f" + std::string(ext)).c_str()), Bytes{9}) << ext;
    }
    EXPECT_EQ(e.read("real/f.bin"), e.editor.image());
    EXPECT_EQ(e.read("real/f.bin.klavoset-0.tmp"), Bytes{7});
    EXPECT_EQ(std::distance(fs::directory_iterator(e.dir / "real"), fs::directory_iterator()), 4);
}

} // namespace
} // namespace klavoset
