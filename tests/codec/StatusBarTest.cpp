// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::StartedEditor;

struct Loaded : StartedEditor
{
    explicit Loaded(std::string_view fwId = "C55 v24 lg91")
    {
        const FirmwareDescriptor d = test::descriptorOf(fwId);
        LayoutTexts empty;
        EXPECT_EQ(open(u"/ff.bin", test::imageOf(fwId, empty)), Outcome::Done);
        (void)d;
    }
};

// Whether a save is refused for the count: the layout file's save checks nothing else.
bool saveRefused(StartedEditor& e)
{
    return e.editor.saveLayoutFileAs(u"/count.lay").outcome == Outcome::DoesNotFit;
}

TEST(StatusBar, EditSetsMarkerAndEnablesPatchExport)
{
    Loaded e;
    EXPECT_EQ(e.view.panelText(6), u"");
    e.view.type(Layout::englishLower, 4, u"abc");
    EXPECT_EQ(e.view.panelText(6), u"*");
    EXPECT_EQ(e.view.panelText(1), u"");
    EXPECT_EQ(e.view.panelText(2), u"/ff.bin");
    EXPECT_EQ(e.view.panelText(4), u"3 / 136");
    EXPECT_TRUE(e.view.item("SaveAsVKP").enabled);
    EXPECT_TRUE(e.view.button("SaveAsVKP").enabled);
}

TEST(StatusBar, SharedKeysAreCopiedAndCountedOnce)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 0, u".,!");
    e.view.type(Layout::englishUpper, 10, u"*");
    for (const Layout a : {Layout::englishLower, Layout::russianUpper, Layout::russianLower}) {
        EXPECT_EQ(e.text(a, 0), u".,!");
        EXPECT_EQ(e.text(a, 10), u"*");
    }
    EXPECT_EQ(e.view.panelText(3), u"4 / 91");
}

// Every key typed into, each with its own length (key k: k + 1 characters in English, k in Russian), and the
// three counts written out by hand: a key left out of a count, or counted in the wrong panel, shows.
TEST(StatusBar, EveryKeyCountsInItsOwnPanel)
{
    Loaded e;
    for (int key = 0; key <= 10; ++key) {
        e.view.type(Layout::englishUpper, key, std::u16string(static_cast<std::size_t>(key + 1), u'e'));
        if (key >= 2 && key <= 9) {
            e.view.type(Layout::englishLower, key, std::u16string(static_cast<std::size_t>(key + 1), u'e'));
            e.view.type(Layout::russianUpper, key, std::u16string(static_cast<std::size_t>(key), u'р'));
            e.view.type(Layout::russianLower, key, std::u16string(static_cast<std::size_t>(key), u'р'));
        }
    }
    EXPECT_EQ(e.view.panelText(3), u"14 / 91");   // keys 0, 1, 10: 1 + 2 + 11
    EXPECT_EQ(e.view.panelText(4), u"104 / 136"); // keys 2..9 twice: 2 × (3 + ... + 10)
    EXPECT_EQ(e.view.panelText(5), u"88 / 138");  // keys 2..9 twice: 2 × (2 + ... + 9)
}

TEST(StatusBar, BudgetEdgesAndOverflowGuard)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 2, std::u16string(68, u'a'));
    e.view.type(Layout::englishLower, 2, std::u16string(68, u'b'));
    EXPECT_EQ(e.view.panelText(4), u"136 / 136");
    EXPECT_EQ(e.view.windowColor, SysColor::Face);
    EXPECT_FALSE(saveRefused(e));
    const int beeps = e.view.beeps;
    e.view.type(Layout::englishLower, 3, u"c");
    EXPECT_EQ(e.view.windowColor, SysColor::InfoBk);
    EXPECT_GT(e.view.beeps, beeps);
    EXPECT_TRUE(saveRefused(e));
    EXPECT_EQ(e.view.boxes.back().text,
              u"Буфер хранения раскладки переполнен !\r\n\r\nУдалите один или несколько символов. Следите за "
              u"строкой статуса");
    EXPECT_EQ(e.view.boxes.back().style, MsgStop);
    e.view.type(Layout::englishLower, 3, u"");
    EXPECT_EQ(e.view.windowColor, SysColor::Face);

    e.view.type(Layout::russianUpper, 5, std::u16string(138, u'я'));
    EXPECT_FALSE(saveRefused(e));
    e.view.type(Layout::russianLower, 5, u"я");
    EXPECT_TRUE(saveRefused(e));
    EXPECT_EQ(e.view.panelText(5), u"139 / 138");
}

TEST(StatusBar, CommonCapacityFollowsGeneration)
{
    Loaded newer;
    newer.view.type(Layout::englishUpper, 10, std::u16string(50, u'*'));
    newer.view.type(Layout::englishUpper, 0, std::u16string(20, u'.'));
    newer.view.type(Layout::englishUpper, 1, std::u16string(16, u'1'));
    newer.view.type(Layout::englishUpper, 11, std::u16string(5, u'#'));
    EXPECT_EQ(newer.view.panelText(3), u"91 / 91");
    EXPECT_FALSE(saveRefused(newer));

    Loaded older("C45 v50 lg1");
    older.view.type(Layout::englishUpper, 10, std::u16string(46, u'*'));
    EXPECT_EQ(older.view.panelText(3), u"46 / 46");
    EXPECT_EQ(older.view.windowColor, SysColor::Face);
    EXPECT_FALSE(saveRefused(older));
    const int beeps = older.view.beeps;
    older.view.type(Layout::englishUpper, 11, u"#"); // the 47th shared character
    EXPECT_EQ(older.view.windowColor, SysColor::InfoBk);
    EXPECT_EQ(older.view.beeps, beeps + 1);
    EXPECT_TRUE(saveRefused(older));
}

TEST(StatusBar, RussianCountWithoutRussianLayouts)
{
    Loaded e("SLIK v56 lg1");
    EXPECT_EQ(e.view.panelText(5), u"");
    e.view.type(Layout::russianUpper, 2, std::u16string(139, u'x'));
    EXPECT_EQ(e.view.panelText(5), u"");
    EXPECT_TRUE(saveRefused(e));
}

TEST(StatusBar, ChangesAreKeptByTheEditorNotByThePanel)
{
    Loaded e;
    EXPECT_FALSE(e.editor.isModified());
    e.view.type(Layout::englishLower, 4, u"abc");
    EXPECT_TRUE(e.editor.isModified());
    e.view.setPanelText(6, u""); // what the window shows is not asked back
    e.view.boxAnswers = {AnswerNo};
    EXPECT_TRUE(e.editor.userKeepsChanges());
    e.view.dialogAnswers.push_back(u"/ff.lay");
    ASSERT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::Done);
    EXPECT_FALSE(e.editor.isModified());
    EXPECT_FALSE(e.view.item("SaveAsVKP").enabled);
    e.view.setPanelText(6, u"*");
    EXPECT_FALSE(e.editor.userKeepsChanges());
    EXPECT_EQ(e.view.boxes.size(), 1u);
}

} // namespace
} // namespace klavoset
