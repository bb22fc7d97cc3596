// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SaveChecks.h"

#include "FuzzCheck.h"
#include "codec/KeyCodec.h"
#include "codec/LayoutReader.h"
#include "support/VkpApplier.h"
#include "support/WritableBytes.h"

#include <cstring>
#include <vector>

namespace klavoset::fuzz {
namespace {

bool sameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

// What loading the saved image shows for the texts that were saved: a line feed comes back as U+007F,
// and under KOI8 every unit of the English layouts whose low byte is 0xC0..0xFF as a Cyrillic letter.
std::u16string asReadBack(std::u16string text, bool english, bool koi)
{
    for (char16_t& c : text) {
        if (c == u'\n')
            c = u'\x7F';
        else if (english && koi && (c & 0xFF) > 191)
            c = kKoi8Letters[static_cast<std::size_t>((c & 0xFF) - 192)];
    }
    return text;
}

// `again`, a started editor with the options of `e`, loads the saved image and shows what was saved.
void checkReload(const FuzzEditor& e, FuzzEditor& again, const LayoutTexts& saved,
                 std::span<const std::uint8_t> file)
{
    const bool koi = e.editor.options().koi;
    KLAVOSET_FUZZ_CHECK(again.open(u"/saved.bin", file) == Outcome::Done);
    // The writer refuses a key 0 too long for the load to recognise the Russian table it heads.
    KLAVOSET_FUZZ_CHECK(again.editor.hasRussian() == e.editor.hasRussian());
    KLAVOSET_FUZZ_CHECK(!e.editor.hasRussian() ||
                        saved.at(Layout::englishUpper, 0).size() <= kMaxRussianKey0Count);
    // The address correction is settled again from the pointers; only where it comes out as it was do the
    // saved pointers mean what they meant.
    if (again.editor.addressCorrection() != e.editor.addressCorrection())
        return;
    // What every pointer means under that correction. The load settles it while it reads, from the first
    // pointer that needs it: when an edited pointer elsewhere raised it later, the keys read before that
    // were read under a smaller one, and the editor shows what lies there instead.
    const std::span<std::uint8_t> bytes(const_cast<std::uint8_t*>(file.data()), file.size()); // only read
    std::int32_t settled = again.editor.addressCorrection();
    const LayoutTexts meant =
        decodeLayouts(bytes, e.editor.firmware(), again.editor.hasRussian(), settled, koi);
    std::int32_t first = 0;
    static_cast<void>(KeyCodec(bytes, first, e.editor.firmware().key10Entry, koi)
                          .decodeKey(e.editor.firmware().englishTable, true, false));
    const bool shownAsMeant = first == again.editor.addressCorrection();

    const bool newGeneration = e.editor.firmware().newGeneration;
    for (const Layout a : kAllLayouts) {
        const bool english = a == Layout::englishUpper || a == Layout::englishLower;
        if (!english && !again.editor.hasRussian())
            continue;
        for (int key = 0; key < kKeys; ++key) {
            if (newGeneration && key >= 10) // key 10 may be read from a table slot the writer leaves alone
                continue;
            // The shared keys are englishUpper's text in every array, and so read back as englishUpper's do.
            const bool shared = key == 0 || key == 1 || key >= 10;
            const Layout from = shared ? Layout::englishUpper : a;
            const std::u16string expected = asReadBack(saved.at(from, key), english || shared, koi);
            KLAVOSET_FUZZ_CHECK(meant.at(from, key) == expected);
            KLAVOSET_FUZZ_CHECK(!shownAsMeant || again.view.fieldText(a, key) == expected);
        }
    }
}

// A layout file separates keys by TAB and lines by CR LF, so a text holding either cannot come back whole.
bool fitsLayoutFile(const LayoutTexts& t)
{
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            if (t.at(a, key).find(u'\t') != std::u16string::npos ||
                t.at(a, key).find(u"\r\n") != std::u16string::npos)
                return false;
    return true;
}

// The layout file, opened in `other` (an editor over an image of the same firmware), shows the layouts
// that were saved.
void checkLayoutFile(const FuzzEditor& e, FuzzEditor& other, std::span<const std::uint8_t> file)
{
    LayoutTexts expected = e.texts();
    if (!fitsLayoutFile(expected))
        return;
    for (const Layout a : kAllLayouts) {
        if (e.editor.firmware()
                .newGeneration) // not part of these layouts: a layout file's # is dropped on opening
            expected.at(a, 11).clear();
        if (!other.editor.hasRussian() && (a == Layout::russianUpper || a == Layout::russianLower))
            for (int key = 2; key <= 9; ++key) // not stored without Russian layouts
                expected.at(a, key).clear();
    }
    other.files.lend(u"/ff.lay", file);
    other.answerDialog(u"/ff.lay");
    KLAVOSET_FUZZ_CHECK(other.editor.openLayoutFileCommand() == Outcome::Done);
    KLAVOSET_FUZZ_CHECK(other.shows(expected));
}

} // namespace

void checkEverySave(FuzzEditor& e, std::span<const std::uint8_t> loaded)
{
    const LayoutTexts shown = e.texts();
    const FirmwareDescriptor& d = e.editor.firmware();
    const bool wap = !e.view.menuChecked("WAP_No");

    e.answerDialog(u"/ff.vkp");
    const Outcome exported = e.editor.savePatchAsCommand();
    KLAVOSET_FUZZ_CHECK(e.editor.image().size() == loaded.size()); // nothing ever resizes the image
    if (exported == Outcome::Done) {
        // Undone on the editor's image, last line first, the patch must give back the loaded bytes: the
        // same as applying it to them, without a copy of the image. Done again, it restores the image.
        const auto patch = e.files.bytesOf(u"/ff.vkp");
        std::vector<test::VkpLine> lines;
        KLAVOSET_FUZZ_CHECK(
            !test::readVkp({reinterpret_cast<const char*>(patch.data()), patch.size()}, lines));
        // The editor's own bytes, changed here and put back below: a copy per input would cost more than
        // the rest of the check.
        auto& image = const_cast<FileBytes&>(e.editor.image());
        const std::span<std::uint8_t> editorBytes(image.data(), image.size());
        KLAVOSET_FUZZ_CHECK(!test::applyVkpLines(lines, editorBytes, true));
        KLAVOSET_FUZZ_CHECK(sameBytes(editorBytes, loaded));
        KLAVOSET_FUZZ_CHECK(!test::applyVkpLines(lines, editorBytes));
        // So every byte the save changed lies in a line, and only bytes a save may change are changed.
        // Asked of this image's own descriptor: one found by structure shares its id with the row's.
        const auto writable = test::writableAreas(d, e.editor.hasRussian(), wap);
        for (const test::VkpLine& line : lines)
            for (std::size_t i = 0; i < line.before.size(); ++i)
                KLAVOSET_FUZZ_CHECK(line.before[i] == line.after[i] ||
                                    test::isWritable(writable, line.offset + i));
    } else {
        KLAVOSET_FUZZ_CHECK(sameBytes(loaded, e.editor.image())); // a refusal writes nothing
    }

    const Outcome saved = e.editor.saveFullflashCommand();
    KLAVOSET_FUZZ_CHECK(saved == exported); // the same texts, the same encoding, the same verdict
    // The editor that loads the saved image (or, when nothing was saved, the image as it was) also
    // opens the layout file.
    FuzzEditor again;
    if (e.editor.options().koi)
        again.editor.koi8Command();
    if (saved == Outcome::Done) {
        KLAVOSET_FUZZ_CHECK(sameBytes(e.files.bytesOf(u"/ff.bin"), e.editor.image()));
        checkReload(e, again, shown, e.files.bytesOf(u"/ff.bin"));
    } else {
        KLAVOSET_FUZZ_CHECK(again.open(u"/ff.bin", loaded) == Outcome::Done);
    }

    e.answerDialog(u"/ff.lay");
    if (e.editor.saveLayoutFileAsCommand() == Outcome::Done)
        checkLayoutFile(e, again, e.files.bytesOf(u"/ff.lay"));
}

} // namespace klavoset::fuzz
