// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kGreek =
    0x473076 + 0x158; // a further table in the last 72 bytes of the English storage

// C55 v24 lg91 with the sample layouts (84 English letters, up to English table + 0x138) and a further
// table beyond them.
Bytes imageWithGreekTable()
{
    const FirmwareDescriptor d = test::descriptorOf("C55 v24 lg91");
    return test::ImageBuilder()
        .identityOf("C55 v24 lg91")
        .layouts(d, test::sampleLayouts(true, true))
        .otherTable(d, kGreek, 0x480000)
        .build();
}

const std::u16string kQuestion = u"Раскладка будет записана поверх другой раскладки телефона (её таблица по "
                                 u"адресу 0x4731CE).\r\n\r\nЭта раскладка телефона перестанет работать. "
                                 u"Всё равно сохранить?";

// Asked before anything is written, once per loaded image: Нет keeps the file and the image byte for byte,
// Да saves as always; a save that stays clear of the table asks nothing.
TEST(OtherLayouts, ASaveOverAnotherLayoutAsksOncePerImage)
{
    test::StartedEditor e;
    const Bytes original = imageWithGreekTable();
    ASSERT_EQ(e.open(u"/ff.bin", original), Outcome::Done);
    EXPECT_EQ(e.editor.otherTables(), std::vector<std::int32_t>{kGreek});
    e.view.type(Layout::englishUpper, 2, u"ABC2Ж"); // unchanged lengths: the letters end below the table
    ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
    EXPECT_TRUE(e.view.boxes.empty());

    e.view.type(Layout::englishUpper, 2, u"ABC2ЖÄÆÅÇÀÁÂÃÈÉÊËÌÍÎÏÐ"); // 17 more: two bytes into the table
    const Bytes saved = e.files.files[u"/ff.bin"];
    const Bytes image(e.editor.image().begin(), e.editor.image().end());
    e.view.boxAnswers = {AnswerNo};
    e.editor.saveFullflashCommand();
    ASSERT_EQ(e.view.boxes.size(), 1u);
    EXPECT_EQ(e.view.boxes[0].text, kQuestion);
    EXPECT_EQ(e.view.boxes[0].style, MsgYesNo);
    EXPECT_EQ(e.files.files[u"/ff.bin"], saved);
    EXPECT_EQ(e.editor.image(), image);
    EXPECT_EQ(e.view.panelText(6), u"*");

    e.view.boxAnswers = {AnswerYes};
    e.view.dialogAnswers.push_back(u"/greek.vkp");
    ASSERT_EQ(e.editor.savePatchAsCommand(), Outcome::Done);
    EXPECT_EQ(e.view.boxes.size(), 2u);
    EXPECT_EQ(e.view.boxes[1].text, kQuestion);
    e.view.type(Layout::englishUpper, 3, u"DEF3ЖÄÆÅÇ");
    ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
    EXPECT_EQ(e.view.boxes.size(), 2u) << "asked again for the same image";
    EXPECT_EQ(e.files.files[u"/ff.bin"], e.editor.image());

    ASSERT_EQ(e.open(u"/ff.bin", original), Outcome::Done); // a new load asks again
    e.view.type(Layout::englishUpper, 2, u"ABC2ЖÄÆÅÇÀÁÂÃÈÉÊËÌÍÎÏÐ");
    e.view.boxAnswers = {AnswerNo};
    e.view.dialogAnswers.push_back(u"/other.bin");
    EXPECT_NE(e.editor.saveFullflashAsCommand(), Outcome::Done);
    EXPECT_EQ(e.view.boxes.size(), 3u);
    EXPECT_EQ(e.files.files.count(u"/other.bin"), 0u);
    EXPECT_EQ(e.editor.fullflashPath(), u"/ff.bin");
}

} // namespace
} // namespace klavoset
