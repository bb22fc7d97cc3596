// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/Identify.h"
#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::ImageBuilder;
using test::StartedEditor;

class EveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

TEST_P(EveryFirmware, LoadDecodesEveryKey)
{
    const FirmwareRow& row = GetParam();
    const FirmwareDescriptor d = completeDescriptor(row);
    const LayoutTexts texts = test::sampleLayouts(d.newGeneration, d.hasRussian);
    StartedEditor e;
    ASSERT_EQ(e.open(u"/ff.bin", test::imageOf(row.id, texts)), Outcome::Done);
    EXPECT_EQ(e.editor.firmware(), d);
    EXPECT_EQ(e.editor.hasRussian(), d.hasRussian);
    EXPECT_EQ(e.texts(), texts);
    EXPECT_EQ(e.view.panelText(7), std::u16string(row.id.begin(), row.id.end()));
    EXPECT_EQ(e.view.panelText(1), u"Раскладка загружена из фуллфлеша");
    EXPECT_EQ(e.view.panelText(2), u"/ff.bin");
    EXPECT_EQ(e.view.panelText(6), u"");
    EXPECT_EQ(e.editor.fullflashPath(), u"/ff.bin");
    for (int k = 2; k <= 9; ++k)
        EXPECT_EQ(e.view.field(Layout::russianUpper, k).visible, d.hasRussian);
    EXPECT_EQ(e.view.field(Layout::englishUpper, 11).enabled, !d.newGeneration);
    EXPECT_TRUE(e.view.item("Save1").enabled);
    EXPECT_TRUE(e.view.button("Save2As").enabled);
    EXPECT_FALSE(e.view.item("SaveAsVKP").enabled);
    EXPECT_EQ(e.view.button("View").tooltip(), u"Просмотр /ff.bin");
}

INSTANTIATE_TEST_SUITE_P(AllRows, EveryFirmware, ::testing::ValuesIn(supportedFirmware()), test::RowName());

TEST(Load, RefusedImageKeepsTheLoadedOne)
{
    StartedEditor e;
    const LayoutTexts texts = test::sampleLayouts(true, true);
    ASSERT_EQ(e.open(u"/c55.bin", test::imageOf("C55 v24 lg91", texts)), Outcome::Done);
    const auto before = e.editor.image();
    e.view.type(Layout::englishUpper, 2, u"XYZ");
    e.view.boxAnswers.push_back(AnswerYes);
    const auto other = ImageBuilder(0x800000).identity("C55", 0x99, "lg91").build();
    EXPECT_EQ(e.open(u"/other.bin", other), Outcome::Unsupported);
    ASSERT_FALSE(e.view.boxes.empty());
    EXPECT_EQ(e.view.boxes.back().text,
              u"/other.bin\r\n\r\nЭтот фуллфлеш не поддерживается\r\n\r\nC55 v99 lg91");
    EXPECT_EQ(e.view.boxes.back().style, MsgStop);
    EXPECT_EQ(e.editor.image(), before);
    EXPECT_EQ(e.editor.firmware().id, "C55 v24 lg91");
    EXPECT_EQ(e.editor.fullflashPath(), u"/c55.bin");
    EXPECT_EQ(e.text(Layout::englishUpper, 2), u"XYZ");
    EXPECT_EQ(e.view.panelText(6), u"*");

    // A save now writes the shown layouts into the first image's file, at the first image's places.
    ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
    EXPECT_EQ(e.files.files.at(u"/other.bin"), other) << "the refused file is never written";
    test::StartedEditor again;
    ASSERT_EQ(again.open(u"/again.bin", e.files.files.at(u"/c55.bin")), Outcome::Done);
    LayoutTexts expected = texts;
    expected.at(Layout::englishUpper, 2) = u"XYZ";
    EXPECT_EQ(again.texts(), expected);
}

// A firmware no row lists, whose key tables are found: the user is asked; Да loads it as its row would and
// remembers it, Нет is the refusal of old with the loaded image kept. An image whose tables are not found
// is refused without a question.
TEST(Load, FoundFirmwareLoadsAndIsRememberedOnlyWhenTheUserAgrees)
{
    const LayoutTexts texts = test::sampleLayouts(true, true);
    auto unlisted = test::imageOf("C55 v24 lg91", texts, 0x800000);
    unlisted.at(kProbes[0] - 0x80 + 0x50) = 0x25; // the version byte: "C55 v25 lg91"
    StartedEditor e;
    ASSERT_EQ(e.open(u"/a.bin", test::imageOf("S55 v20 lg91", texts)), Outcome::Done);

    e.view.boxAnswers = {AnswerNo};
    EXPECT_EQ(e.open(u"/new.bin", unlisted), Outcome::Unsupported);
    ASSERT_EQ(e.view.boxes.size(), 2u);
    EXPECT_EQ(e.view.boxes[0].style, MsgYesNo);
    EXPECT_NE(e.view.boxes[0].text.find(u"C55 v25 lg91"), std::u16string::npos);
    EXPECT_EQ(e.view.boxes[1].text, u"/new.bin\r\n\r\nЭтот фуллфлеш не поддерживается\r\n\r\nC55 v25 lg91");
    EXPECT_EQ(e.editor.fullflashPath(), u"/a.bin");
    EXPECT_EQ(e.editor.firmware().id, "S55 v20 lg91");
    EXPECT_TRUE(e.system.catalog.descriptions().empty());

    e.view.boxes.clear();
    e.view.boxAnswers = {AnswerYes};
    ASSERT_EQ(e.open(u"/new.bin", unlisted), Outcome::Done);
    EXPECT_EQ(e.view.boxes.size(), 1u);
    EXPECT_EQ(e.editor.firmware().id, "C55 v25 lg91");
    EXPECT_EQ(e.editor.firmware().englishTable, 0x473076);
    EXPECT_EQ(e.editor.firmware().key10Entry, 0x473AA4);
    EXPECT_EQ(e.view.panelText(7), u"C55 v25 lg91");
    EXPECT_EQ(e.texts(), texts);
    ASSERT_EQ(e.system.catalog.descriptions().size(), 1u);
    EXPECT_EQ(e.system.catalog.descriptions()[0].id, "C55 v25 lg91");

    e.view.boxes.clear();
    EXPECT_EQ(e.open(u"/again.bin", unlisted), Outcome::Done);
    EXPECT_TRUE(e.view.boxes.empty()) << "a remembered firmware loads as a row's";
    EXPECT_EQ(e.open(u"/x.bin", ImageBuilder(0x800000).identity("X99", 0x11, "lg91").build()),
              Outcome::Unsupported);
    ASSERT_EQ(e.view.boxes.size(), 1u);
    EXPECT_EQ(e.view.boxes[0].style, MsgStop);
    // Tables but no identity block: nothing to remember the firmware by.
    unlisted.at(kProbes[0]) = 'X';
    e.view.boxes.clear();
    EXPECT_EQ(e.open(u"/anonymous.bin", unlisted), Outcome::Unsupported);
    ASSERT_EQ(e.view.boxes.size(), 1u);
    EXPECT_EQ(e.view.boxes[0].style, MsgStop);
}

TEST(Load, EmptyAndShortFilesAreRefusedWithEmptyIdentity)
{
    StartedEditor e;
    EXPECT_EQ(e.open(u"/empty.bin", {}), Outcome::Unsupported);
    EXPECT_EQ(e.view.boxes.back().text, u"/empty.bin\r\n\r\nЭтот фуллфлеш не поддерживается\r\n\r\n");
    EXPECT_TRUE(e.editor.image().empty());
    EXPECT_EQ(e.view.field(Layout::englishUpper, 2).text, u"ABC2АБВГ") << "the sample texts stay";
}

TEST(Load, ImageTooShortForItsFirmwareIsRefused)
{
    StartedEditor e;
    // The identity matches, but the image ends before the key tables.
    const auto image = ImageBuilder(0x400000).identityOf("C55 v24 lg91").build();
    EXPECT_EQ(e.open(u"/cut.bin", image), Outcome::Unsupported);
    EXPECT_NE(e.view.boxes.back().text.find(u"слишком короткий"), std::u16string::npos);
    EXPECT_TRUE(e.editor.image().empty());
}

TEST(Load, GarbageTablesGiveEmptyKeysNotACrash)
{
    for (const FirmwareRow& row : supportedFirmware()) {
        ImageBuilder b(0x1000000, 0);
        std::uint32_t x = 12345;
        for (auto& byte : b.raw())
            byte = static_cast<std::uint8_t>((x = x * 1103515245u + 12345u) >> 24);
        b.identityOf(row.id);
        StartedEditor e;
        EXPECT_EQ(e.open(u"/g.bin", b.build()), Outcome::Done) << row.id;
    }
}

TEST(Load, MissingFileIsReportedAndNotCreated)
{
    StartedEditor e;
    e.view.dialogAnswers.push_back(u"/nope.bin");
    EXPECT_EQ(e.editor.openFullflashCommand(), Outcome::FileError);
    EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
    EXPECT_EQ(e.view.panelText(2), u"/nope.bin");
    EXPECT_TRUE(e.files.files.empty());
}

TEST(Load, QuestionAndDialogCanStopTheLoad)
{
    StartedEditor e;
    const auto image = test::imageOf("S55 v20 lg91", test::sampleLayouts(true, true));
    ASSERT_EQ(e.open(u"/a.bin", image), Outcome::Done);
    e.view.type(Layout::englishLower, 3, u"q");
    for (const MsgAnswer answer : {AnswerNo, AnswerCancel}) {
        e.view.boxAnswers.push_back(answer);
        EXPECT_EQ(e.editor.openFullflashCommand(), Outcome::Declined);
        EXPECT_EQ(e.text(Layout::englishLower, 3), u"q");
    }
    e.view.boxAnswers.push_back(AnswerYes); // then the dialog is cancelled
    EXPECT_EQ(e.editor.openFullflashCommand(), Outcome::Declined);
    EXPECT_EQ(e.view.panelText(6), u"*");
    EXPECT_EQ(e.view.dialogs.back().title, u"Окрыть фуллфлеш");
    EXPECT_EQ(e.view.dialogs.back().fileName, u"/a.bin");
    EXPECT_TRUE(e.view.dialogs.back().open);
}

TEST(Load, RussianSanityTestHidesRussianFields)
{
    const FirmwareDescriptor d = test::descriptorOf("C45 v50 lg1");
    auto image = test::imageOf("C45 v50 lg1", test::sampleLayouts(false, true));
    image[static_cast<std::size_t>(d.russianTable) + 1] = 1;
    StartedEditor e;
    ASSERT_EQ(e.open(u"/c45.bin", image), Outcome::Done);
    EXPECT_FALSE(e.editor.hasRussian());
    EXPECT_EQ(e.text(Layout::russianUpper, 2), u"");
    EXPECT_FALSE(e.view.field(Layout::russianLower, 5).visible);
    EXPECT_EQ(e.view.panelText(5), u"");
}

TEST(Load, WapChoiceFallsBackWhenFirmwareCannotTakeIt)
{
    StartedEditor e;
    ASSERT_EQ(e.open(u"/c55.bin", test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true))),
              Outcome::Done);
    e.editor.wapFromRussianCommand();
    ASSERT_TRUE(e.view.menuChecked("WAP_R"));
    ASSERT_EQ(e.open(u"/slik.bin", test::imageOf("SLIK v56 lg1", test::sampleLayouts(false, false))),
              Outcome::Done);
    EXPECT_TRUE(e.view.menuChecked("WAP_No"));
    EXPECT_FALSE(e.view.menuChecked("WAP_R"));
    EXPECT_TRUE(e.view.button("WAP_No").pressed);

    e.editor.wapFromEnglishCommand();
    ASSERT_EQ(e.open(u"/a52.bin", test::imageOf("A52 v7 lg1", test::sampleLayouts(true, true))),
              Outcome::Done);
    EXPECT_TRUE(e.view.menuChecked("WAP_No"));
    EXPECT_FALSE(e.view.item("WAP_E").enabled);
    EXPECT_FALSE(e.view.button("WAP_R").enabled);
    ASSERT_EQ(e.open(u"/c55.bin", test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true))),
              Outcome::Done);
    EXPECT_TRUE(e.view.item("WAP_E").enabled);
}

// On older firmware there is no separate key-10 entry: an entry with count 0 and in-page low byte 0 is
// read in place, never from the boot bytes at offset 0, which could also settle a wrong addressCorrection.
TEST(Load, OlderFirmwareNeverReadsKeysFromImageStart)
{
    const FirmwareDescriptor d = test::descriptorOf("C45 v50 lg1");
    const LayoutTexts texts = test::sampleLayouts(false, true);
    ImageBuilder b(0x400000);
    b.identityOf("C45 v50 lg1").layouts(d, texts);
    b.bytes(0, {9, 0, 0x00, 0x00, 0x00, 0x00}); // an "entry" at 0 pointing far below the image
    b.entry(d.englishTable + 6 * 5, 0, d.englishStorage)
        .raw()[static_cast<std::size_t>(d.englishTable + 6 * 5 + 2)] = 0;
    test::StartedEditor e;
    ASSERT_EQ(e.open(u"/c45.bin", b.build()), Outcome::Done);
    EXPECT_EQ(e.editor.addressCorrection(), 0);
    EXPECT_EQ(e.text(Layout::englishUpper, 5), u"");
    EXPECT_EQ(e.text(Layout::englishUpper, 6), texts.at(Layout::englishUpper, 6));
}

TEST(Load, OlderKeyElevenIsDecodedAndEditable)
{
    StartedEditor e;
    ASSERT_EQ(e.open(u"/c45.bin", test::imageOf("C45 v50 lg1", test::sampleLayouts(false, true))),
              Outcome::Done);
    EXPECT_EQ(e.text(Layout::englishUpper, 11), u"#@");
    EXPECT_EQ(e.text(Layout::russianLower, 11), u"#@");
    EXPECT_TRUE(e.view.field(Layout::englishUpper, 11).enabled);
}

TEST(Load, Koi8OptionDecodesEnglishLayouts)
{
    LayoutTexts texts = test::sampleLayouts(true, true);
    texts.at(Layout::englishUpper, 2) = u"A\u00E9";
    texts.at(Layout::russianUpper, 2) = u"\u00E9";
    StartedEditor e;
    e.editor.koi8Command();
    ASSERT_EQ(e.open(u"/c55.bin", test::imageOf("C55 v24 lg91", texts)), Outcome::Done);
    EXPECT_EQ(e.text(Layout::englishUpper, 2), u"AИ");
    EXPECT_EQ(e.text(Layout::russianUpper, 2), u"\u00E9");
}

} // namespace
} // namespace klavoset

namespace klavoset {
namespace {

// Cut at every area boundary and a little around it: refused or loaded, never a read outside the image.
TEST(Load, TruncatedImagesAreRefusedOrLoadedSafely)
{
    const FirmwareDescriptor d = test::descriptorOf("C55 v24 lg91");
    const auto full = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
    for (const std::int32_t boundary :
         {0x7FF80, d.sharedStorage, d.englishTable, d.russianStorage, d.russianTable, d.wapStorage,
          d.key10Entry, d.wapUpperTable, d.wapLowerTable + 120})
        for (const std::int32_t delta : {-7, -1, 0, 1, 6}) {
            const auto cut = std::vector<std::uint8_t>(full.begin(), full.begin() + (boundary + delta));
            test::StartedEditor e;
            const Outcome outcome = e.open(u"/cut.bin", cut);
            EXPECT_TRUE(outcome == Outcome::Done || outcome == Outcome::Unsupported);
            EXPECT_EQ(outcome == Outcome::Done, descriptorFitsImage(d, boundary + delta));
        }
}

} // namespace
} // namespace klavoset
