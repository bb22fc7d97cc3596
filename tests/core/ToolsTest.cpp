// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "core/MemoryView.h"
#include "support/FakeSystem.h"
#include "support/ImageBuilder.h"
#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

struct Started
{
    MemoryView view;
    test::MemoryFileSystem files;
    test::FakeSystem system;
    Editor editor{view, files, system};
    explicit Started(std::u16string patcher = {})
    {
        system.patcher = std::move(patcher);
        editor.start();
    }
};

using Arguments = std::vector<std::u16string>;

// An edit saved as a patch under `path`: the file the patcher is then started with.
void savePatch(Started& e, const std::u16string& path)
{
    e.files.files[u"/ff.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    ASSERT_EQ(e.editor.openFullflash(u"/ff.bin").outcome, Outcome::Done);
    e.view.type(Layout::englishUpper, 2, u"Q");
    ASSERT_EQ(e.editor.savePatchAs(path).outcome, Outcome::Done);
}

// The patch's path takes the place of every placeholder, always as one argument of its own making.
TEST(Tools, VKlayGetsThePatchPathForEveryPlaceholder)
{
    Started none(u"vklay \"%1\"");
    none.editor.startPatcherCommand();
    EXPECT_EQ(none.system.started.back(), (Arguments{u"vklay", u""})) << "no patch yet";

    Started twice(u"v %1 %1 %2");
    savePatch(twice, u"/p/%1.vkp");
    twice.editor.startPatcherCommand();
    EXPECT_EQ(twice.system.started.back(), (Arguments{u"v", u"/p/%1.vkp", u"/p/%1.vkp", u"%2"}));

    Started plain(u"vklay.exe");
    savePatch(plain, u"/x.vkp");
    plain.editor.startPatcherCommand();
    EXPECT_EQ(plain.system.started.back(), Arguments{u"vklay.exe"});

    Started quoted(u"\"/usr/bin/wine\" \"C:\\V Klay\\V_Klay.exe\" \"%1\"");
    savePatch(quoted, u"-p \"a b\" \"c.vkp");
    quoted.editor.startPatcherCommand();
    EXPECT_EQ(quoted.system.started.back(),
              (Arguments{u"/usr/bin/wine", u"C:\\V Klay\\V_Klay.exe", u"-p \"a b\" \"c.vkp"}));
}

TEST(Tools, ViewOpensTheLoadedFullflashAsPlainBinaryData)
{
    Started e;
    e.files.files[u"/a.bin"] = test::imageOf("C45 v50 lg1", {}, 0x400000);
    e.files.files[u"/b.bin"] = test::imageOf("S55 v20 lg91", {}, 0x400000);
    for (const std::u16string path : {u"/a.bin", u"/b.bin"}) {
        e.view.dialogAnswers.push_back(path);
        ASSERT_EQ(e.editor.openFullflashCommand(), Outcome::Done);
    }
    e.editor.runCommand("View");
    EXPECT_EQ(e.system.viewed.back(), u"/b.bin");
    EXPECT_TRUE(e.system.opened.empty()) << "not by its type: that would be this editor again";

    e.system.viewer = false;
    e.editor.runCommand("View");
    EXPECT_EQ(e.view.panelText(1), u"Нет программы для просмотра двоичных файлов");
    EXPECT_EQ(e.view.panelText(2), u"/b.bin");
}

TEST(Tools, AddressesOfTheBuildAndAbout)
{
    Started e;
    e.editor.setAddresses(u"https://k.example.net/", u"https://f.example.net/t=1", u"k@example.net");
    e.editor.start();
    e.editor.runCommand("URL");
    EXPECT_EQ(e.system.opened.back(), u"https://k.example.net/");
    e.editor.runCommand("Forum");
    EXPECT_EQ(e.system.opened.back(), u"https://f.example.net/t=1");
    e.editor.runCommand("Mail");
    EXPECT_EQ(e.system.opened.back(), u"mailto:k@example.net?subject=Klavoset_v2.59");
    e.editor.runCommand("About");
    const std::u16string about = e.view.boxes.back().text;
    EXPECT_EQ(about.rfind(u"Klavoset v2.59\r\n\r\nПрограмма редактирования клавиатурных раскладок телефонов "
                          u"Siemens\r\n\r\n",
                          0),
              0u);
    EXPECT_NE(about.find(u"https://k.example.net/"), std::u16string::npos);
    EXPECT_EQ(e.view.boxes.back().style, MsgInfo);

    // Not set: the command is disabled, does nothing, and the About box leaves the address out.
    e.editor.setAddresses(u"", u"https://f.example.net/t=1", u"");
    e.editor.start();
    for (const char* item : {"URL", "Mail"}) {
        EXPECT_FALSE(e.view.item(item).enabled) << item;
        EXPECT_FALSE(e.view.button(item).enabled) << item;
    }
    EXPECT_TRUE(e.view.item("Forum").enabled);
    const std::size_t opened = e.system.opened.size();
    e.editor.homePageCommand();
    e.editor.mailCommand();
    EXPECT_EQ(e.system.opened.size(), opened);
    e.editor.runCommand("About");
    EXPECT_EQ(e.view.boxes.back().text.find(u"example.net"), std::u16string::npos);
    EXPECT_EQ(e.view.boxes.back().text.find(u"\r\n\r\n\r\n"), std::u16string::npos) << "no empty paragraph";
}

} // namespace
} // namespace klavoset
