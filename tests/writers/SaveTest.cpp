// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/StartedEditor.h"

#include <functional>
#include <gtest/gtest.h>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::StartedEditor;

struct Loaded : StartedEditor
{
    Bytes original;
    explicit Loaded(std::string_view fwId = "C55 v24 lg91")
    {
        const FirmwareDescriptor d = test::descriptorOf(fwId);
        original = test::imageOf(fwId, test::sampleLayouts(d.newGeneration, d.hasRussian));
        EXPECT_EQ(open(u"/ff.bin", original), Outcome::Done);
    }
    [[nodiscard]] bool fileUnchanged() { return files.files[u"/ff.bin"] == original; }
};

TEST(Save1, WritesTheWholeImageAndClearsTheMarker)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 2, u"QWЯ");
    EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
    EXPECT_EQ(e.files.files[u"/ff.bin"], e.editor.image());
    EXPECT_NE(e.editor.image(), e.original);
    EXPECT_EQ(e.view.panelText(1), u"Раскладка сохранена в фуллфлеш");
    EXPECT_EQ(e.view.panelText(2), u"/ff.bin");
    EXPECT_EQ(e.view.panelText(6), u"");
    EXPECT_FALSE(e.view.item("SaveAsVKP").enabled);

    StartedEditor again;
    ASSERT_EQ(again.open(u"/ff.bin", e.files.files[u"/ff.bin"]), Outcome::Done);
    EXPECT_EQ(again.texts(), e.texts());
}

// Key 0's count is the first byte of the Russian table; above 17 the next load would not find that table
// and the Russian layouts would vanish from the editor.
TEST(Save1, KeyZeroStaysShortEnoughForTheRussianTable)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 0, std::u16string(18, u'.'));
    EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::DoesNotFit);
    EXPECT_NE(e.view.boxes.back().text.find(u"клавише 0"), std::u16string::npos);
    EXPECT_TRUE(e.fileUnchanged());
    e.view.type(Layout::englishUpper, 0, std::u16string(17, u'.'));
    ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
    StartedEditor again;
    ASSERT_EQ(again.open(u"/ff.bin", e.files.files[u"/ff.bin"]), Outcome::Done);
    EXPECT_TRUE(again.editor.hasRussian());
    EXPECT_EQ(again.texts(), e.texts());

    Loaded single("SLIK v56 lg1"); // no Russian table to find: the field's whole length is usable
    single.view.type(Layout::englishUpper, 0, std::u16string(20, u'.'));
    EXPECT_EQ(single.editor.saveFullflashCommand(), Outcome::Done);
}

TEST(Save1, RefusalsWriteNothing)
{
    struct Case
    {
        const char* name;
        const char* fwId;
        std::function<void(MemoryView&)> edit;
        const char* wap; // option clicked before saving, or nullptr
        std::u16string_view message;
    };
    const auto euros = [](MemoryView& v) { // 3 bytes each as UTF-8: fits the keys, not the WAP room
        v.type(Layout::englishUpper, 0, std::u16string(14, u'€'));
        v.type(Layout::englishUpper, 10, std::u16string(23, u'€'));
        for (int k = 2; k <= 9; ++k)
            for (const Layout a : {Layout::englishUpper, Layout::englishLower})
                v.type(a, k, std::u16string(8, u'€'));
    };
    const Case cases[] = {
        {"budget", "C55 v24 lg91",
         [](MemoryView& v) { v.type(Layout::englishUpper, 10, std::u16string(92, u'*')); }, nullptr,
         u"Буфер хранения раскладки переполнен !"},
        {"surrogate", "C55 v24 lg91", [](MemoryView& v) { v.type(Layout::russianLower, 5, u"a\xDC00"); },
         nullptr,
         u"Символ U+DC00 нельзя записать в телефон !\r\n\r\nРаскладка: русская, строчные буквы, клавиша 5"},
        {"no WAP tables", "A52 v7 lg1", [](MemoryView& v) { v.type(Layout::englishUpper, 2, u"x"); }, "WAP_E",
         u"В этой прошивке нет WAP-раскладки !"},
        {"WAP room", "C45 v50 lg1", euros, "WAP_E", u"Буфер хранения WAP-раскладки переполнен !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded e(c.fwId);
        c.edit(e.view);
        if (c.wap != nullptr)
            e.editor.runCommand(c.wap); // the CLI can check an option the window has disabled
        const Bytes before(e.editor.image().begin(), e.editor.image().end());
        for (const auto save :
             {&Editor::saveFullflashCommand, &Editor::saveFullflashAsCommand, &Editor::savePatchAsCommand}) {
            e.view.boxes.clear();
            EXPECT_EQ((e.editor.*save)(), Outcome::DoesNotFit);
            ASSERT_EQ(e.view.boxes.size(), 1u);
            EXPECT_EQ(e.view.boxes[0].style, MsgStop);
            EXPECT_EQ(e.view.boxes[0].text.substr(0, c.message.size()), c.message);
        }
        EXPECT_TRUE(e.view.dialogs.size() == 1) << "no save dialog was shown";
        EXPECT_EQ(e.editor.image(), before);
        EXPECT_EQ(e.files.writes, 0);
        EXPECT_EQ(e.view.panelText(6), u"*");
    }
}

TEST(Save1, FailedWriteKeepsTheFileAndReportsNoSuccess)
{
    for (const bool opens : {false, true}) {
        Loaded e;
        (opens ? e.files.unwritable : e.files.unopenable).insert(u"/ff.bin");
        e.view.type(Layout::englishLower, 3, u"zz");
        EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::FileError);
        EXPECT_TRUE(e.fileUnchanged());
        EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
        EXPECT_EQ(e.view.panelText(2), u"/ff.bin");
        EXPECT_EQ(e.view.panelText(6), u"*");
        EXPECT_NE(e.editor.image(), e.original) << "the encoded layouts stay for another attempt";
        EXPECT_EQ(e.view.boxes.size(), opens ? 1u : 0u) << "a failed write is explained in a box";
    }
}

TEST(Save1As, ChoosesANewFileOrStops)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 4, u"G");
    EXPECT_EQ(e.editor.saveFullflashAsCommand(), Outcome::Declined) << "dialog cancelled";
    EXPECT_EQ(e.editor.fullflashPath(), u"/ff.bin");
    EXPECT_EQ(e.editor.image(), e.original);
    ASSERT_EQ(e.view.dialogs.size(), 2u);
    EXPECT_EQ(e.view.dialogs.back().title, u"Сохранить фуллфлеш как");
    EXPECT_EQ(e.view.dialogs.back().fileName, u"/ff.bin");
    EXPECT_FALSE(e.view.dialogs.back().open);

    e.view.dialogAnswers.push_back(u"/new.bin");
    EXPECT_EQ(e.editor.saveFullflashAsCommand(), Outcome::Done);
    EXPECT_EQ(e.editor.fullflashPath(), u"/new.bin");
    EXPECT_EQ(e.files.files[u"/new.bin"], e.editor.image());
    EXPECT_TRUE(e.fileUnchanged());
    EXPECT_TRUE(e.view.item("Save1").enabled);
    EXPECT_EQ(e.view.panelText(2), u"/new.bin");
}

TEST(Save1, NothingLoadedNothingWritten)
{
    StartedEditor e;
    for (const auto save :
         {&Editor::saveFullflashCommand, &Editor::saveFullflashAsCommand, &Editor::savePatchAsCommand})
        EXPECT_EQ((e.editor.*save)(), Outcome::Declined);
    EXPECT_TRUE(e.files.files.empty());
    EXPECT_TRUE(e.view.dialogs.empty());
}

} // namespace
} // namespace klavoset
