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

// An editor not yet started, so each test decides what start-up finds.
struct Unstarted
{
    MemoryView view;
    test::MemoryFileSystem files;
    test::FakeSystem system;
    Editor editor{view, files, system};
};

TEST(StartUp, StateBeforeAnyLoad)
{
    Unstarted e;
    e.editor.start();
    EXPECT_TRUE(e.editor.image().empty());
    EXPECT_TRUE(e.editor.fullflashPath().empty());
    EXPECT_TRUE(e.editor.firmware().id.empty());
    EXPECT_EQ(e.editor.firmware().englishTable, 0);
    EXPECT_FALSE(e.editor.firmware().newGeneration);
    EXPECT_TRUE(e.editor.hasRussian());
    EXPECT_EQ(e.view.fieldText(Layout::russianUpper, 9), u"ЫЬЭЮЯ9WXYZ");
    EXPECT_FALSE(e.view.field(Layout::englishUpper, 2).enabled);
}

TEST(StartUp, ToolsAreEnabledExactlyWhenFound)
{
    Unstarted e;
    e.system.patcher = u"vklay.exe \"%1\"";
    e.system.calculator = u"/usr/bin/calc";
    e.files.files[u"/usr/bin/calc"] = {};
    e.system.charMap = u"/usr/bin/missing";
    e.editor.start();
    EXPECT_EQ(e.editor.registeredPatcherCommand(), u"vklay.exe \"%1\"");
    EXPECT_TRUE(e.view.item("V_Klay").enabled);
    EXPECT_TRUE(e.view.button("V_Klay").enabled);
    EXPECT_TRUE(e.view.item("Calculator").enabled);
    EXPECT_FALSE(e.view.item("CharMap").enabled);
    EXPECT_FALSE(e.view.button("CharMap").enabled);
    EXPECT_FALSE(e.view.item("Help").enabled);
}

TEST(StartUp, CommandLineNamesOneFullflash)
{
    const auto image = test::imageOf("C45 v50 lg1", test::sampleLayouts(false, true), 0x400000);
    struct Case
    {
        std::u16string line;
        bool loads;
    };
    for (const Case& c : {Case{u"\"/my files/ff.bin\"", true}, Case{u"/my files/ff.bin", true},
                          Case{u"\"\"", false}, Case{u"\"", false}, Case{u"", false}}) {
        Unstarted e;
        e.files.files[u"/my files/ff.bin"] = image;
        e.view.type(Layout::englishUpper, 2, u"changed");
        e.system.line = c.line;
        e.editor.start();
        EXPECT_EQ(e.editor.fullflashPath() == u"/my files/ff.bin", c.loads)
            << std::string(c.line.begin(), c.line.end());
        EXPECT_TRUE(e.view.boxes.empty()) << "no question, no refusal";
        EXPECT_TRUE(e.view.dialogs.empty()) << "no dialog";
    }
}

TEST(StartUp, CommandLineLayoutFileOpensAsALayout)
{
    Unstarted e;
    e.files.files[u"/my files/a.LAY"] = {u'x', 0, u'\r', 0, u'\n', 0};
    e.system.line = u"\"/my files/a.LAY\"";
    e.editor.start();
    EXPECT_EQ(e.editor.layoutFilePath(), u"/my files/a.LAY");
    EXPECT_EQ(e.view.fieldText(Layout::englishUpper, 1), u"x");
    EXPECT_EQ(e.view.panelText(1), u"Раскладка загружена из файла раскладок");
    EXPECT_TRUE(e.editor.fullflashPath().empty());
    EXPECT_TRUE(e.view.boxes.empty()) << "no question, no refusal";
    EXPECT_TRUE(e.view.dialogs.empty()) << "no dialog";
}

TEST(StartUp, CommandLineWithTwoFilesFailsToOpen)
{
    Unstarted e;
    e.system.line = u"/a.bin /b.bin";
    e.editor.start();
    EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
    EXPECT_EQ(e.view.panelText(2), u"/a.bin /b.bin");
}

TEST(ChangeGuard, QuestionOnlyWhenMarked)
{
    Unstarted e;
    e.editor.start();
    EXPECT_FALSE(e.editor.userKeepsChanges());
    EXPECT_TRUE(e.view.boxes.empty());
    e.view.type(Layout::englishUpper, 2, u"changed");
    e.view.boxAnswers = {AnswerNo, AnswerCancel, AnswerYes};
    EXPECT_TRUE(e.editor.userKeepsChanges());
    EXPECT_TRUE(e.editor.userKeepsChanges());
    EXPECT_FALSE(e.editor.userKeepsChanges());
    EXPECT_EQ(e.view.boxes[0].text, u"Раскладка была изменена !\r\n\r\nВы уверены, что хотите продолжить ?");
    EXPECT_EQ(e.view.boxes[0].style, MsgYesNoCancel);
}

TEST(ChangeGuard, UnloadAndExitAskOnce)
{
    Unstarted e;
    e.editor.start();
    EXPECT_TRUE(e.editor.mayClose());
    e.view.type(Layout::englishUpper, 2, u"changed");
    e.view.boxAnswers = {AnswerNo};
    EXPECT_FALSE(e.editor.mayClose());
    e.view.boxAnswers = {AnswerCancel};
    e.editor.exitCommand();
    EXPECT_FALSE(e.view.ended);
    e.view.boxAnswers = {AnswerYes};
    e.editor.exitCommand();
    EXPECT_TRUE(e.view.ended);
    EXPECT_EQ(e.view.boxes.size(), 3u);
}

TEST(ChangeGuard, LayoutFileLoadEmptiesWhatItDoesNotFill)
{
    Unstarted e;
    e.files.files[u"/f.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    e.files.files[u"/l.lay"] = {u'x', 0}; // key 1 of englishUpper, nothing else
    e.editor.start();
    ASSERT_EQ(e.editor.openFullflash(u"/f.bin").outcome, Outcome::Done);
    ASSERT_EQ(e.editor.openLayoutFile(u"/l.lay").outcome, Outcome::Done);
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            EXPECT_EQ(e.view.fieldText(a, key), key == 1 ? u"x" : u"") << static_cast<int>(a) << ' ' << key;
}

TEST(FileDialog, RequestFollowsFileKind)
{
    Unstarted e;
    e.files.files[u"/f.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    e.files.files[u"/l.lay"] = {u'x', 0};
    e.editor.start();
    ASSERT_EQ(e.editor.openFullflash(u"/f.bin").outcome, Outcome::Done);
    ASSERT_EQ(e.editor.openLayoutFile(u"/l.lay").outcome, Outcome::Done);
    EXPECT_EQ(e.editor.openFullflashCommand(), Outcome::Declined); // cancelled
    EXPECT_EQ(e.view.dialogs.back().fileName, u"/f.bin");
    EXPECT_EQ(e.view.dialogs.back().filters.front().second, u"*.bin;*.fls");
    EXPECT_EQ(e.view.dialogs.back().filters.front().first, u"Фуллфлеш (*.bin, *.fls)");
    EXPECT_EQ(e.view.dialogs.back().filters.back().first, u"Все файлы");
    EXPECT_EQ(e.view.dialogs.back().defaultExt, u"bin");
    EXPECT_TRUE(e.view.dialogs.back().open);
    EXPECT_EQ(e.view.dialogs.back().title, e.view.menuCaption("Open1"));
    e.view.dialogAnswers.push_back(u"/chosen.lay");
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::Done);
    EXPECT_TRUE(e.files.files.contains(u"/chosen.lay"));
    EXPECT_EQ(e.view.dialogs.back().fileName, u"/l.lay");
    EXPECT_EQ(e.view.dialogs.back().filters.front().first, u"Файлы раскладок (*.lay)");
    EXPECT_FALSE(e.view.dialogs.back().open);
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::Declined); // proposes the fullflash's name
    EXPECT_EQ(e.view.dialogs.back().fileName, u"/f.vkp");
    EXPECT_EQ(e.view.dialogs.back().filters.front().first, u"Файлы патчей (*.vkp)");
    EXPECT_EQ(e.view.dialogs.back().defaultExt, u"vkp");
}

TEST(Options, GroupsAndWarnings)
{
    Unstarted e;
    e.files.files[u"/slik.bin"] = test::imageOf("SLIK v56 lg1", test::sampleLayouts(false, false));
    e.editor.start();
    e.editor.runCommand("Koi");
    e.editor.runCommand("Koi");
    EXPECT_EQ(e.view.boxes.size(), 2u) << "the warning comes at every click";
    EXPECT_EQ(e.view.boxes[0].style, MsgWarning);
    EXPECT_TRUE(e.editor.options().koi);
    EXPECT_TRUE(e.view.menuChecked("Koi"));
    EXPECT_FALSE(e.view.menuChecked("Uni"));
    EXPECT_TRUE(e.view.button("Koi").pressed);
    EXPECT_FALSE(e.view.button("Uni").pressed);
    e.editor.runCommand("Uni");
    EXPECT_EQ(e.view.boxes.size(), 2u);
    EXPECT_TRUE(e.view.button("Uni").pressed);
    EXPECT_FALSE(e.editor.options().koi);

    e.editor.runCommand("WAP_E");
    EXPECT_TRUE(e.view.menuChecked("WAP_E"));
    EXPECT_EQ(e.editor.options().wap, WapSource::English);
    ASSERT_EQ(e.editor.openFullflash(u"/slik.bin").outcome, Outcome::Done);
    e.editor.runCommand("WAP_R");
    EXPECT_EQ(e.view.boxes.back().text, u"Эта серия телефонов имеет только одну раскладку !");
    EXPECT_EQ(e.editor.options().wap, WapSource::Untouched);
    EXPECT_TRUE(e.view.menuChecked("WAP_No"));
    EXPECT_FALSE(e.view.menuChecked("WAP_E"));
    EXPECT_TRUE(e.view.button("WAP_No").pressed);
    e.editor.runCommand("NoSuchKey");
}

TEST(Options, EnglishOnlyFirmwareHidesRussianFields)
{
    Unstarted e;
    e.files.files[u"/slik.bin"] = test::imageOf("SLIK v56 lg1", test::sampleLayouts(false, false));
    e.editor.start();
    ASSERT_EQ(e.editor.openFullflash(u"/slik.bin").outcome, Outcome::Done);
    EXPECT_FALSE(e.editor.hasRussian());
    for (int key = 0; key < kKeys; ++key) {
        EXPECT_FALSE(e.view.field(Layout::russianUpper, key).visible);
        EXPECT_FALSE(e.view.field(Layout::russianLower, key).visible);
        EXPECT_TRUE(e.view.field(Layout::englishLower, key).visible);
    }
}

} // namespace
} // namespace klavoset
