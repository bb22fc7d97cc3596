// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::Editor;

struct Loaded : Editor
{
    explicit Loaded(std::string_view fwId = "C55 v24 lg91")
    {
        const FirmwareDescriptor d = test::descriptorOf(fwId);
        LayoutTexts empty;
        EXPECT_EQ(open(u"/ff.bin", test::imageOf(fwId, empty)), Outcome::Done);
        (void)d;
    }
};

TEST(StatusBar, EditSetsMarkerAndEnablesPatchExport)
{
    Loaded e;
    EXPECT_EQ(e.view.panelText(6), u"");
    e.view.type(KeyArray::em, 4, u"abc");
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
    e.view.type(KeyArray::eb, 0, u".,!");
    e.view.type(KeyArray::eb, 10, u"*");
    for (const KeyArray a : {KeyArray::em, KeyArray::rb, KeyArray::rm}) {
        EXPECT_EQ(e.text(a, 0), u".,!");
        EXPECT_EQ(e.text(a, 10), u"*");
    }
    EXPECT_EQ(e.view.panelText(3), u"4 / 91");
}

TEST(StatusBar, BudgetEdgesAndOverflowGuard)
{
    Loaded e;
    e.view.type(KeyArray::eb, 2, std::u16string(68, u'a'));
    e.view.type(KeyArray::em, 2, std::u16string(68, u'b'));
    EXPECT_EQ(e.view.panelText(4), u"136 / 136");
    EXPECT_EQ(e.view.windowColor, SysColor::Face);
    EXPECT_FALSE(e.form.CheckOverflow());
    const int beeps = e.view.beeps;
    e.view.type(KeyArray::em, 3, u"c");
    EXPECT_EQ(e.view.windowColor, SysColor::InfoBk);
    EXPECT_GT(e.view.beeps, beeps);
    EXPECT_TRUE(e.form.CheckOverflow());
    EXPECT_EQ(e.view.boxes.back().text,
              u"Буфер хранения раскладки переполнен !\r\n\r\nУдалите один или несколько символов. Следите за "
              u"строкой статуса");
    EXPECT_EQ(e.view.boxes.back().style, MsgStop);
    e.view.type(KeyArray::em, 3, u"");
    EXPECT_EQ(e.view.windowColor, SysColor::Face);

    e.view.type(KeyArray::rb, 5, std::u16string(138, u'я'));
    EXPECT_FALSE(e.form.CheckOverflow());
    e.view.type(KeyArray::rm, 5, u"я");
    EXPECT_TRUE(e.form.CheckOverflow());
    EXPECT_EQ(e.view.panelText(5), u"139 / 138");
}

TEST(StatusBar, CommonCapacityFollowsGeneration)
{
    Loaded newer;
    newer.view.type(KeyArray::eb, 10, std::u16string(50, u'*'));
    newer.view.type(KeyArray::eb, 0, std::u16string(20, u'.'));
    newer.view.type(KeyArray::eb, 1, std::u16string(16, u'1'));
    newer.view.type(KeyArray::eb, 11, std::u16string(5, u'#'));
    EXPECT_EQ(newer.view.panelText(3), u"91 / 91");
    EXPECT_FALSE(newer.form.CheckOverflow());

    Loaded older("C45 v50 lg1");
    older.view.type(KeyArray::eb, 10, std::u16string(46, u'*'));
    EXPECT_EQ(older.view.panelText(3), u"46 / 46");
    EXPECT_FALSE(older.form.CheckOverflow());
    older.view.type(KeyArray::eb, 11, u"#");
    EXPECT_TRUE(older.form.CheckOverflow());
}

TEST(StatusBar, RussianCountWithoutRussianLayouts)
{
    Loaded e("SLIK v56 lg1");
    EXPECT_EQ(e.view.panelText(5), u"");
    e.view.type(KeyArray::rb, 2, std::u16string(139, u'x'));
    EXPECT_EQ(e.view.panelText(5), u"");
    EXPECT_TRUE(e.form.CheckOverflow());
}

TEST(StatusBar, MarkerIsComparedExactly)
{
    Loaded e;
    e.form.SetStatusBar(u"m", u"", u"**");
    EXPECT_FALSE(e.view.item("SaveAsVKP").enabled);
    EXPECT_EQ(e.view.panelText(1), u"m");
}

} // namespace
} // namespace klavoset
