// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "layoutfile/LayoutFile.h"

#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::StartedEditor;

Bytes utf16(std::u16string_view text)
{
    Bytes b;
    for (const char16_t c : text) {
        b.push_back(static_cast<std::uint8_t>(c & 0xFF));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return b;
}

TEST(LayoutFile, LinesAreUtf16WithCrLfAndNoTrailingTab)
{
    Bytes file;
    appendLine(file, u"a\tb");
    EXPECT_EQ(file, (Bytes{0x61, 0x00, 0x09, 0x00, 0x62, 0x00, 0x0D, 0x00, 0x0A, 0x00}));
    file.clear();
    appendLine(file, u"Я\t\t");
    EXPECT_EQ(file, (Bytes{0x2F, 0x04, 0x09, 0x00, 0x0D, 0x00, 0x0A, 0x00})) << "only one TAB is dropped";

    const std::u16string eight(8, u'\t');
    EXPECT_EQ(encodeLayoutFile(linesOf({}), true), utf16(std::u16string(10, u'\t') + u"\r\n" + eight +
                                                         u"\r\n" + eight + u"\r\n" + eight + u"\r\n"));
    EXPECT_EQ(encodeLayoutFile(linesOf({}), false),
              utf16(std::u16string(10, u'\t') + u"\r\n" + eight + u"\r\n"));
}

TEST(LayoutFile, ReadsLinesAsWrittenAndIgnoresAnOddLastByte)
{
    Bytes file = utf16(u"a\rb\nc\r\n\r\r\nlast");
    file.push_back(0x41);
    std::size_t at = 0;
    EXPECT_EQ(readLine(file, at), u"a\rb\nc") << "a lone CR or LF is text";
    EXPECT_EQ(readLine(file, at), u"\r");
    EXPECT_EQ(readLine(file, at), u"last");
    EXPECT_EQ(at, file.size() - 1);
    EXPECT_EQ(readLine(file, at), u"");
    const LayoutLines two = decodeLayoutFile(utf16(u"e\r\nm\r\nr\r\n"), true);
    EXPECT_EQ(two, (LayoutLines{u"e", u"m", u"r", u""}));
}

TEST(LayoutFile, ParseOrderAndLeftovers)
{
    std::array<std::u16string, kKeys> r;
    r.fill(u"old");
    spreadLine(u"1\t2\t3\t4\t5\t6\t7\t8\t9\t*\t0\t#\textra\tmore", r);
    EXPECT_EQ(r, (std::array<std::u16string, kKeys>{u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8",
                                                    u"9", u"*", u"#"}));
    r.fill(u"old");
    spreadLine(u"x\ty", r);
    EXPECT_EQ(r[1], u"x");
    EXPECT_EQ(r[2], u"y");
    EXPECT_EQ(r[3], u"old") << "a field the line does not reach keeps its text";
    EXPECT_EQ(r[0], u"old");
}

struct Loaded : StartedEditor
{
    explicit Loaded(std::string_view fwId = "C45 v50 lg1")
    {
        const FirmwareDescriptor d = test::descriptorOf(fwId);
        EXPECT_EQ(open(u"/ff.bin", test::imageOf(fwId, test::sampleLayouts(d.newGeneration, d.hasRussian))),
                  Outcome::Done);
    }
    Outcome openLayout(const std::u16string& path, Bytes bytes)
    {
        files.files[path] = std::move(bytes);
        view.dialogAnswers.push_back(path);
        return editor.openLayoutFileCommand();
    }
};

TEST(LayoutFileCommands, SaveThenOpenRestoresTheFields)
{
    Loaded e;
    e.view.type(Layout::russianLower, 4, u"ё\x7F");
    const LayoutTexts texts = e.texts();
    e.view.dialogAnswers.push_back(u"/my.lay");
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::Done);
    EXPECT_EQ(e.view.dialogs.back().title, u"Сохранить раскладку как");
    EXPECT_EQ(e.view.panelText(1), u"Раскладка сохранена в файл раскладок");
    EXPECT_EQ(e.view.panelText(6), u"");
    EXPECT_TRUE(e.view.item("Save2").enabled);

    e.view.type(Layout::englishUpper, 0, u"changed");
    e.view.type(Layout::englishLower, 7, u"changed");
    e.view.boxAnswers.push_back(AnswerYes); // discard the changes
    e.view.dialogAnswers.push_back(u"/my.lay");
    EXPECT_EQ(e.editor.openLayoutFileCommand(), Outcome::Done);
    EXPECT_EQ(e.texts(), texts);
    EXPECT_EQ(e.view.panelText(1), u"Раскладка загружена из файла раскладок");
    EXPECT_EQ(e.view.panelText(6), u"*");
    EXPECT_EQ(e.editor.layoutFilePath(), u"/my.lay");
    EXPECT_EQ(e.view.field(Layout::russianLower, 4).color, SysColor::Window);
}

TEST(LayoutFileCommands, LineCountFollowsTheRussianLayouts)
{
    const auto lineCount = [](const Bytes& b) {
        int n = 0;
        for (std::size_t at = 0; at + 4 <= b.size(); at += 2)
            n += b[at] == 0x0D && b[at + 1] == 0 && b[at + 2] == 0x0A && b[at + 3] == 0;
        return n;
    };
    Loaded slik("SLIK v56 lg1");
    slik.view.type(Layout::englishLower, 2, u"slik");
    slik.view.dialogAnswers.push_back(u"/two.lay");
    ASSERT_EQ(slik.editor.saveLayoutFileAsCommand(), Outcome::Done);
    const Bytes& two = slik.files.files[u"/two.lay"];
    EXPECT_EQ(lineCount(two), 2);

    Loaded c45; // with Russian layouts a two-line file leaves them empty
    ASSERT_EQ(c45.openLayout(u"/two.lay", two), Outcome::Done);
    EXPECT_EQ(c45.text(Layout::russianUpper, 2), u"");
    EXPECT_EQ(c45.text(Layout::englishLower, 2), u"slik");
    c45.view.dialogAnswers.push_back(u"/four.lay");
    ASSERT_EQ(c45.editor.saveLayoutFileAsCommand(), Outcome::Done);
    EXPECT_EQ(lineCount(c45.files.files[u"/four.lay"]), 4);

    const Bytes four = utf16(u"A\r\nb\r\n\tR\r\n\tr\r\n");
    ASSERT_EQ(slik.openLayout(u"/four.lay", four), Outcome::Done);
    EXPECT_EQ(slik.text(Layout::russianUpper, 1), u"A") << "shared key copied from eb";
    EXPECT_EQ(slik.text(Layout::russianUpper, 2), u"") << "lines 3 and 4 not read without Russian layouts";
}

TEST(LayoutFileCommands, NewerGenerationKey11AndTabsInFields)
{
    Loaded e("C55 v24 lg91");
    ASSERT_EQ(e.openLayout(u"/x.lay", utf16(u"1\t2a\t3\t4\t5\t6\t7\t8\t9\t*\t0\t#\r\n")), Outcome::Done);
    EXPECT_EQ(e.text(Layout::englishUpper, 11), u"");
    EXPECT_FALSE(e.view.field(Layout::englishUpper, 11).enabled);
    EXPECT_EQ(e.view.field(Layout::englishUpper, 11).color, SysColor::ScrollBar);
    EXPECT_EQ(e.text(Layout::englishLower, 10), u"*");

    e.view.type(Layout::englishUpper, 2, u"a\tb"); // a TAB in a field splits it when read back
    ASSERT_EQ(e.editor.saveLayoutFileCommand(), Outcome::Done);
    e.view.dialogAnswers.push_back(u"/x.lay");
    ASSERT_EQ(e.editor.openLayoutFileCommand(), Outcome::Done);
    EXPECT_EQ(e.text(Layout::englishUpper, 2), u"a");
    EXPECT_EQ(e.text(Layout::englishUpper, 3), u"b");
}

TEST(LayoutFileCommands, FailuresChangeNothing)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 2, u"mine");
    const LayoutTexts texts = e.texts();
    e.view.dialogAnswers.push_back(u"/missing.lay");
    EXPECT_EQ(e.editor.openLayoutFileCommand(), Outcome::FileError);
    EXPECT_EQ(e.texts(), texts);
    EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
    EXPECT_EQ(e.view.panelText(2), u"/missing.lay");
    EXPECT_EQ(e.editor.layoutFilePath(), u"");
    EXPECT_TRUE(e.files.files.count(u"/missing.lay") == 0) << "reading never creates";

    e.files.files[u"/old.lay"] = utf16(u"old\r\n");
    e.files.unwritable.insert(u"/old.lay");
    e.view.dialogAnswers.push_back(u"/old.lay");
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::FileError);
    EXPECT_EQ(e.files.files[u"/old.lay"], utf16(u"old\r\n"));
    EXPECT_EQ(e.view.panelText(6), u"*");

    e.view.type(Layout::englishLower, 3, std::u16string(137, u'z'));
    const int writes = e.files.writes;
    EXPECT_EQ(e.editor.saveLayoutFileCommand(), Outcome::DoesNotFit);
    EXPECT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::DoesNotFit);
    EXPECT_EQ(e.files.writes, writes);
}

} // namespace
} // namespace klavoset
