// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/DemoImage.h"

#include "core/WindowDesign.h"
#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::StartedEditor;

class DemoOfEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

// The demo image loads as its firmware and shows the window's sample layouts; saved unchanged (with the WAP
// layout copied from English where the firmware allows it) it shows them again, and a second save leaves
// every byte as the first left it.
TEST_P(DemoOfEveryFirmware, LoadsTheSampleLayoutsAndSavesUnchanged)
{
    const FirmwareDescriptor d = completeDescriptor(GetParam());
    const auto demo = makeDemoImage(d.id, 0x800000);
    ASSERT_TRUE(demo.isOk()) << demo.error();
    StartedEditor e;
    ASSERT_EQ(e.open(u"/demo.bin", demo.value()), Outcome::Done);
    EXPECT_EQ(e.editor.firmware(), d);
    EXPECT_EQ(e.editor.hasRussian(), d.hasRussian);
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key) {
            const bool russian = a == Layout::russianUpper || a == Layout::russianLower;
            const bool shown =
                !(d.newGeneration && key == 11) && !(russian && !d.hasRussian && key >= 2 && key <= 9);
            EXPECT_EQ(e.text(a, key), shown ? std::u16string(design::sampleText(a, key)) : u"")
                << static_cast<int>(a) << " " << key;
        }
    const LayoutTexts shown = e.texts();
    if (d.wapAvailable)
        e.editor.wapFromEnglishCommand();
    const auto save = [&e] {
        e.view.type(Layout::englishUpper, 5, u"x");
        e.view.type(Layout::englishUpper, 5, std::u16string(design::sampleText(Layout::englishUpper, 5)));
        EXPECT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
        return e.files.files[u"/demo.bin"];
    };
    // The newer generation's demo keeps a further layout in the English storage, which the first save
    // writes over after one question.
    e.view.boxAnswers = {AnswerYes};
    const auto saved = save();
    EXPECT_EQ(e.editor.otherTables().size(), d.newGeneration ? 1u : 0u);
    EXPECT_EQ(e.view.boxes.size(), d.newGeneration ? 1u : 0u);
    StartedEditor reopened;
    ASSERT_EQ(reopened.open(u"/demo.bin", saved), Outcome::Done);
    EXPECT_EQ(reopened.texts(), shown);
    EXPECT_TRUE(save() == saved);
    EXPECT_EQ(e.view.boxes.size(), d.newGeneration ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(AllRows, DemoOfEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         [](const auto& p) {
                             std::string name;
                             for (const char c : p.param.id)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(DemoImage, RefusesUnknownFirmwareAndUnfitSizes)
{
    EXPECT_FALSE(makeDemoImage("C55 v99 lg91", 0x1000000).isOk());
    EXPECT_FALSE(makeDemoImage("c55 v24 lg91", 0x1000000).isOk());
    EXPECT_FALSE(makeDemoImage("M50 v17 lg91", 0x7FF80).isOk()) << "no room for the identity block";
    EXPECT_FALSE(makeDemoImage("C55 v24 lg91", 0x400000).isOk()) << "tables beyond the end";
    EXPECT_FALSE(makeDemoImage("C55 v24 lg91", 0x1800000).isOk()) << "addresses below the image";
    EXPECT_TRUE(makeDemoImage("M50 v17 lg91", 0x80000).isOk());
}

} // namespace
} // namespace klavoset
