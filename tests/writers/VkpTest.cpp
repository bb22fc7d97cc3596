// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Addresses.h"
#include "base/Cp1251.h"
#include "support/StartedEditor.h"
#include "writers/Hex.h"
#include "writers/VkpPatch.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::StartedEditor;

const std::string kHeader =
    "; C55 v24 lg91 - \xC8\xE7\xEC\xE5\xED\xE5\xED\xE8\xE5 \xF0\xE0\xF1\xEA\xEB\xE0\xE4\xEA\xE8 "
    "\xEA\xEB\xE0\xE2\xE8\xE0\xF2\xF3\xF0\xFB\r\n"
    "; Made by Klavoset   " +
    toCp1251(patchSignature(kHomePage)) + "\r\n";

TEST(Vkp, SignatureIsTheHomePageWithoutItsScheme)
{
    // A build without a home page signs as the program always has.
    EXPECT_EQ(patchSignature(u""), u"klavoset.example.org/Siemens/Klavoset/Klavoset.htm");
    EXPECT_EQ(patchSignature(u"https://k.example.net/x/"), u"k.example.net/x/");
    EXPECT_EQ(patchSignature(u"http://k.example.net"), u"k.example.net");
}

std::string patch(const Bytes& before, const Bytes& after)
{
    return formatVkp("C55 v24 lg91", diffBlocks(before, after));
}

TEST(Vkp, WorkedExampleLine)
{
    Bytes before(0x1A2B60, 0);
    const Bytes block = {0x32, 0, 0x61, 0, 0x62, 0, 0x63, 0, 0x33, 0, 0x64, 0, 0x65, 0, 0x66, 0};
    std::copy(block.begin(), block.end(), before.begin() + 0x1A2B30);
    Bytes after = before;
    after[0x1A2B36] = 0x64;
    EXPECT_EQ(patch(before, after),
              kHeader + "1A2B30: 32006100620063003300640065006600 32006100620064003300640065006600\r\n");
}

TEST(Vkp, OneLinePerChangedBlockAndNothingElse)
{
    const Bytes before(0x200, 0xFF);
    EXPECT_EQ(patch(before, before), kHeader) << "no change: the comment lines only";

    Bytes after = before;
    after[0x00] = 0x00;
    after[0xF0] = 0x0A;
    after[0x10F] = 0x01; // 16k + 15 and 16(k + 1): two blocks
    after[0x110] = 0x02;
    const std::string ff(32, 'F');
    EXPECT_EQ(patch(before, after), kHeader + "0: " + ff + " 00" + std::string(30, 'F') + "\r\n" +
                                        "F0: " + ff + " 0A" + std::string(30, 'F') + "\r\n" + "100: " + ff +
                                        " " + std::string(30, 'F') + "01\r\n" + "110: " + ff + " 02" +
                                        std::string(30, 'F') + "\r\n");
}

TEST(Vkp, ShortLastBlockHasOnlyTheBytesThatExist)
{
    const Bytes before(0x25, 0x11);
    Bytes after = before;
    after[0x24] = 0xAB;
    const auto blocks = diffBlocks(before, after);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].length, 5u);
    EXPECT_EQ(formatVkp("C55 v24 lg91", blocks), kHeader + "20: 1111111111 11111111AB\r\n");
}

TEST(Vkp, ByteFormatterAndDefaultName)
{
    EXPECT_EQ(h(0x00) + h(0x0A) + h(0xFF), "000AFF");
    EXPECT_EQ(defaultVkpName(u"/home/u/ff.bin"), u"/home/u/ff.vkp");
    EXPECT_EQ(defaultVkpName(u"/home/u/ff.full.fls"), u"/home/u/ff.full.vkp");
    EXPECT_EQ(defaultVkpName(u"/home/v1.2/ff"), u"/home/v1.2/ff.vkp");
    EXPECT_EQ(defaultVkpName(u"C:\\v1.2\\fullflash"), u"C:\\v1.2\\fullflash.vkp");
    EXPECT_EQ(defaultVkpName(u"/home/u/.bin"), u"/home/u/.bin.vkp");
}

struct Loaded : StartedEditor
{
    Bytes original;
    Loaded()
    {
        original = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
        EXPECT_EQ(open(u"/fw.v2/ff.bin", original), Outcome::Done);
    }
    [[nodiscard]] std::string file(const std::u16string& path) const
    {
        const Bytes& b = files.files.at(path);
        return {b.begin(), b.end()};
    }
};

TEST(SaveAsVKP, WritesThePatchAndKeepsTheFullflash)
{
    Loaded e;
    const std::u16string key2 = e.text(Layout::englishUpper, 2);
    e.view.type(Layout::englishUpper, 2, key2.substr(0, 3) + u"Q" + key2.substr(4)); // same length
    e.view.dialogAnswers.push_back(u"/p.vkp");
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::Done);

    const FileDialogRequest& dialog = e.view.dialogs.back();
    EXPECT_EQ(dialog.title, u"Сохранить патч");
    EXPECT_EQ(dialog.fileName, u"/fw.v2/ff.vkp");
    EXPECT_FALSE(dialog.open);
    EXPECT_EQ(e.files.files[u"/fw.v2/ff.bin"], e.original);
    EXPECT_TRUE(e.editor.patchBase().matches(e.original));
    // Key 0 was stored with the line break as 7F 00 and goes back as 0A 00. Then the end of the englishLower
    // table (key 11, never written on this firmware) and englishUpper key 2 "ABC2Ж" -> "ABCQЖ".
    EXPECT_EQ(e.file(u"/p.vkp"),
              kHeader + "472FC0: 2E002C003F00210030002D007F002000 2E002C003F00210030002D000A002000\r\n" +
                  "473100: FFFFFFFFFFFF41004200430032001604 FFFFFFFFFFFF41004200430051001604\r\n");
    EXPECT_TRUE(e.view.item("Save1").enabled);
    EXPECT_EQ(e.view.panelText(1), u"Изменения в раскладке сохранены");
    EXPECT_EQ(e.view.panelText(2), u"/p.vkp");
    EXPECT_EQ(e.view.panelText(6), u"");

    // An edit undone encodes to the same bytes: the patch holds the comment lines only.
    e.view.type(Layout::englishLower, 5, u"x");
    e.view.type(Layout::englishLower, 5, test::sampleLayouts(true, true).at(Layout::englishLower, 5));
    e.view.dialogAnswers.push_back(u"/q.vkp");
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::Done);
    EXPECT_EQ(e.file(u"/q.vkp"), kHeader);
}

TEST(SaveAsVKP, WapBlocksAppearWhenTheWapLayoutIsWritten)
{
    Loaded e;
    e.editor.wapFromEnglishCommand();
    e.view.type(Layout::englishUpper, 2, u"A");
    e.view.dialogAnswers.push_back(u"/p.vkp");
    ASSERT_EQ(e.editor.savePatchAsCommand(), Outcome::Done);
    const FirmwareDescriptor& d = e.editor.firmware();
    bool table = false, storage = false;
    for (const ChangedBlock& b : diffBlocks(e.original, e.editor.image())) {
        table = table || (b.offset + 16 > static_cast<std::uint32_t>(d.wapUpperTable) &&
                          b.offset < static_cast<std::uint32_t>(d.wapUpperTable + kWapTableBytes));
        storage = storage || (b.offset + 16 > static_cast<std::uint32_t>(d.wapStorage) &&
                              b.offset < static_cast<std::uint32_t>(d.wapStorage + d.wapCapacity));
    }
    EXPECT_TRUE(table);
    EXPECT_TRUE(storage);
}

TEST(SaveAsVKP, FailedOrCancelledExport)
{
    Loaded e;
    e.view.type(Layout::englishUpper, 3, u"D");
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::Declined);
    EXPECT_EQ(e.editor.patchPath(), u"/fw.v2/ff.vkp") << "the proposed name stays";
    EXPECT_EQ(e.editor.image(), e.original);

    e.files.unwritable.insert(u"/p.vkp");
    e.view.dialogAnswers.push_back(u"/p.vkp");
    EXPECT_EQ(e.editor.savePatchAsCommand(), Outcome::FileError);
    EXPECT_NE(e.editor.image(), e.original) << "the layouts are encoded all the same";
    EXPECT_TRUE(e.view.item("Save1").enabled);
    EXPECT_EQ(e.view.panelText(1), u"Не могу открыть файл !");
    EXPECT_EQ(e.view.panelText(6), u"*");
    EXPECT_EQ(e.files.files.count(u"/p.vkp"), 0u);
    EXPECT_EQ(e.files.files[u"/fw.v2/ff.bin"], e.original);
}

} // namespace
} // namespace klavoset
