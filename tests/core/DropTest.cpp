// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::StartedEditor;

TEST(Drop, KindIsTakenFromTheExtensionInAnyCase)
{
    EXPECT_TRUE(Editor::canOpenDropped(u"/a/ff.bin"));
    EXPECT_TRUE(Editor::canOpenDropped(u"C:\\ff\\FF.FLS"));
    EXPECT_TRUE(Editor::canOpenDropped(u"/a/keys.Lay"));
    EXPECT_FALSE(Editor::canOpenDropped(u"/a/patch.vkp"));
    EXPECT_FALSE(Editor::canOpenDropped(u"/a.bin/noext"));
    EXPECT_FALSE(Editor::canOpenDropped(u"C:\\a.lay\\noext"));
    EXPECT_FALSE(Editor::canOpenDropped(u""));
}

TEST(Drop, FullflashLoadsWithoutDialog)
{
    StartedEditor e;
    e.files.files[u"/ff.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    EXPECT_EQ(e.editor.openDropped(u"/ff.bin"), Outcome::Done);
    EXPECT_TRUE(e.view.dialogs.empty());
    EXPECT_EQ(e.editor.fullflashPath(), u"/ff.bin");
    EXPECT_EQ(e.view.panelText(7), u"C55 v24 lg91");
}

TEST(Drop, ChangedLayoutsAreGuardedAndRefusalLoadsNothing)
{
    StartedEditor e;
    e.files.files[u"/a.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    ASSERT_EQ(e.editor.openDropped(u"/a.bin"), Outcome::Done);
    e.view.type(Layout::englishUpper, 2, u"XY");
    e.files.files[u"/b.bin"] = e.files.files[u"/a.bin"];
    e.view.boxAnswers.push_back(AnswerNo);
    EXPECT_EQ(e.editor.openDropped(u"/b.bin"), Outcome::Declined);
    ASSERT_EQ(e.view.boxes.size(), 1u);
    EXPECT_EQ(e.view.boxes[0].style, MsgYesNoCancel);
    EXPECT_EQ(e.editor.fullflashPath(), u"/a.bin");
    EXPECT_EQ(e.text(Layout::englishUpper, 2), u"XY");

    // The refused drop must not answer the next real dialog.
    e.view.boxAnswers.push_back(AnswerYes);
    EXPECT_EQ(e.editor.openFullflashCommand(), Outcome::Declined);
    EXPECT_EQ(e.view.dialogs.size(), 1u);
}

// The halves ask nothing and show no dialog; what went wrong comes back as the message the user was shown.
TEST(FileCommandHalves, AskNothingAndReturnWhatTheUserWasTold)
{
    StartedEditor e;
    e.files.files[u"/a.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    ASSERT_EQ(e.editor.openFullflash(u"/a.bin").outcome, Outcome::Done);
    e.view.type(Layout::englishUpper, 2, u"XY");

    CommandResult r = e.editor.openFullflash(u"/missing.bin");
    EXPECT_EQ(r.outcome, Outcome::FileError);
    EXPECT_EQ(r.message, u"/missing.bin\r\n\r\nНе могу открыть файл !\r\n\r\nNo such file or directory");
    e.files.files[u"/x.bin"] = {1, 2, 3};
    r = e.editor.openFullflash(u"/x.bin");
    EXPECT_EQ(r.outcome, Outcome::Unsupported);
    ASSERT_FALSE(e.view.boxes.empty());
    EXPECT_EQ(r.message, e.view.boxes.back().text);
    EXPECT_TRUE(e.view.dialogs.empty());
    EXPECT_EQ(e.text(Layout::englishUpper, 2), u"XY");

    r = e.editor.saveLayoutFileAs(u"/k.lay");
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(r.message, u"/k.lay\r\n\r\nРаскладка сохранена в файл раскладок");
    EXPECT_TRUE(e.view.dialogs.empty());
    EXPECT_EQ(e.view.boxes.size(), 1u) << "no question before the open";
}

TEST(Drop, OtherFilesAreIgnored)
{
    StartedEditor e;
    e.files.files[u"/p.vkp"] = {1, 2, 3};
    EXPECT_EQ(e.editor.openDropped(u"/p.vkp"), Outcome::Declined);
    EXPECT_TRUE(e.view.dialogs.empty());
    EXPECT_TRUE(e.view.boxes.empty());
    EXPECT_TRUE(e.editor.fullflashPath().empty());
}

} // namespace
} // namespace klavoset
