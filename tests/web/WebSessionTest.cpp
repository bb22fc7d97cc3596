// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/WebSession.h"

#include "image/Identify.h"
#include "support/ImageBuilder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace klavoset::web {
namespace {

std::vector<std::uint8_t> image() { return test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true)); }

// An image of a firmware no row lists, whose key tables the finder sees: "C55 v25 lg91".
std::vector<std::uint8_t> unlisted()
{
    auto bytes = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true), 0x800000);
    bytes.at(kProbes[0] - 0x80 + 0x50) = 0x25; // the version byte
    return bytes;
}

Outcome open(WebSession& s, const std::string& name, const std::vector<std::uint8_t>& bytes,
             Answers answers = {})
{
    auto& staged = s.stage(bytes.size());
    std::memcpy(staged.data(), bytes.data(), bytes.size());
    return s.openFullflash(name, std::move(answers));
}

TEST(WebSession, UnsavedChangesStopTheOpenUntilTheUserSaysYes)
{
    WebSession s;
    ASSERT_EQ(open(s, "a.bin", image()), Outcome::Done);
    EXPECT_TRUE(s.question().empty());
    s.type(Layout::englishUpper, 2, "XY");
    ASSERT_EQ(s.view.panelText(6), u"*");

    EXPECT_EQ(open(s, "b.bin", image()), Outcome::Declined);
    EXPECT_EQ(s.question(), "Раскладка была изменена !\r\n\r\nВы уверены, что хотите продолжить ?");
    EXPECT_EQ(s.view.fieldText(Layout::englishUpper, 2), u"XY");
    EXPECT_EQ(s.editor.fullflashPath(), u"a.bin");
    EXPECT_TRUE(s.takeBoxes().empty()); // the question is the page's to ask, not a box already shown

    EXPECT_EQ(open(s, "b.bin", image(), {AnswerYes}), Outcome::Done);
    EXPECT_TRUE(s.question().empty());
    EXPECT_EQ(s.editor.fullflashPath(), u"b.bin");
    EXPECT_EQ(s.view.panelText(6), u"");
    EXPECT_FALSE(s.files.canRead(u"b.bin")); // the image is held once, by the editor
}

// Each question is the user's own: a Yes to the unsaved changes does not load a firmware no row lists.
TEST(WebSession, EveryQuestionOfACommandIsAskedInTurn)
{
    WebSession s;
    ASSERT_EQ(open(s, "a.bin", image()), Outcome::Done);
    s.type(Layout::englishUpper, 2, "XY");
    const auto keptOldImage = [&] {
        EXPECT_EQ(s.editor.fullflashPath(), u"a.bin");
        EXPECT_EQ(s.view.fieldText(Layout::englishUpper, 2), u"XY");
        EXPECT_EQ(s.view.panelText(7), u"C55 v24 lg91");
        EXPECT_TRUE(s.takeRemembered().empty());
        EXPECT_EQ(s.system.catalog.find("C55 v25 lg91"), nullptr);
    };

    EXPECT_EQ(open(s, "new.bin", unlisted()), Outcome::Declined);
    EXPECT_EQ(s.questionStyle(), MsgYesNoCancel);
    EXPECT_EQ(open(s, "new.bin", unlisted(), {AnswerYes}), Outcome::Declined);
    EXPECT_EQ(s.questionStyle(), MsgYesNo);
    EXPECT_NE(s.question().find("Прошивки C55 v25 lg91 нет в списке"), std::string::npos);
    EXPECT_TRUE(s.takeBoxes().empty()) << "the refusal waits for the user's No";
    keptOldImage();

    EXPECT_EQ(open(s, "new.bin", unlisted(), {AnswerYes, AnswerNo}), Outcome::Unsupported);
    EXPECT_TRUE(s.question().empty());
    auto boxes = s.takeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, MsgStop);
    EXPECT_EQ(boxes[0].text, u"new.bin\r\n\r\nЭтот фуллфлеш не поддерживается\r\n\r\nC55 v25 lg91");
    keptOldImage();
    EXPECT_EQ(open(s, "new.bin", unlisted(), {AnswerYes, AnswerCancel}), Outcome::Unsupported)
        << "a Yes/No box closed otherwise is a No";
    EXPECT_EQ(s.takeBoxes().size(), 1u);
    EXPECT_EQ(open(s, "new.bin", unlisted(), {AnswerNo}), Outcome::Declined);
    EXPECT_TRUE(s.question().empty());
    EXPECT_TRUE(s.takeBoxes().empty());
    keptOldImage();

    EXPECT_EQ(open(s, "new.bin", unlisted(), {AnswerYes, AnswerYes}), Outcome::Done);
    EXPECT_TRUE(s.question().empty());
    EXPECT_TRUE(s.takeBoxes().empty());
    EXPECT_EQ(s.view.panelText(7), u"C55 v25 lg91");
    EXPECT_EQ(s.view.panelText(6), u"");
    const auto kept = s.takeRemembered();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].id, "C55 v25 lg91");

    // The next visit: the page hands the kept text back before anything is opened.
    WebSession next;
    EXPECT_EQ(next.addDescription(kept[0].text), std::nullopt);
    EXPECT_EQ(open(next, "again.bin", unlisted()), Outcome::Done);
    EXPECT_TRUE(next.question().empty());
    EXPECT_TRUE(next.takeBoxes().empty());
    EXPECT_EQ(next.editor.firmware().id, "C55 v25 lg91");
    EXPECT_EQ(next.view.fieldText(Layout::englishUpper, 2), s.view.fieldText(Layout::englishUpper, 2));
    EXPECT_TRUE(next.takeRemembered().empty()) << "known already, nothing new to keep";
    // A text spoilt in the browser's storage, or a firmware the table has by now, is refused with a reason.
    EXPECT_NE(next.addDescription(kept[0].text.substr(0, 20)), std::nullopt);
    std::string listed = kept[0].text;
    listed.replace(listed.find("v25"), 3, "v24");
    EXPECT_NE(next.addDescription(listed), std::nullopt);
}

TEST(WebSession, SavesBecomeDownloadsUnderTheDialogsNames)
{
    WebSession s;
    ASSERT_EQ(open(s, "ff.fls", image()), Outcome::Done);
    s.type(Layout::russianUpper, 5, "МНО5");
    ASSERT_EQ(s.savePatch(), Outcome::Done);
    EXPECT_EQ(s.downloadName(), "ff.vkp");
    EXPECT_FALSE(s.downloadBytes().empty());

    ASSERT_EQ(s.saveFullflash(), Outcome::Done);
    EXPECT_EQ(s.downloadName(), "ff.fls");
    EXPECT_EQ(s.downloadBytes(), s.editor.image());
    EXPECT_FALSE(s.files.canRead(u"ff.vkp")); // a new save drops the previous download

    ASSERT_EQ(s.saveLayout(), Outcome::Done);
    EXPECT_EQ(s.downloadName(), "ff.lay");
    s.clearDownload();
    EXPECT_TRUE(s.downloadName().empty());
    EXPECT_TRUE(s.downloadBytes().empty());
    EXPECT_FALSE(s.files.canRead(u"ff.lay"));
}

TEST(WebSession, RefusalsLeaveNothingBehind)
{
    WebSession s;
    ASSERT_EQ(open(s, "junk.bin", std::vector<std::uint8_t>(4096, 0)), Outcome::Unsupported);
    EXPECT_EQ(s.takeBoxes().at(0).style, MsgStop);
    EXPECT_FALSE(s.files.canRead(u"junk.bin"));

    ASSERT_EQ(open(s, "ff.bin", image()), Outcome::Done);
    for (int key = 2; key <= 9; ++key)
        s.type(Layout::englishUpper, key, "ABCDEFGHIJKLMNOP");
    ASSERT_EQ(s.view.windowColor, SysColor::InfoBk);
    EXPECT_EQ(s.saveFullflash(), Outcome::DoesNotFit);
    EXPECT_TRUE(s.downloadName().empty());
    const auto boxes = s.takeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, MsgStop);
}

} // namespace
} // namespace klavoset::web
