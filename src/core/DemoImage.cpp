// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/DemoImage.h"

#include "codec/KeyCodec.h"
#include "core/WindowDesign.h"
#include "image/FirmwareTable.h"
#include "image/Identify.h"
#include "image/PagedPointer.h"
#include "writers/LayoutWriter.h"

#include <algorithm>
#include <charconv>

namespace klavoset {
namespace {

using R = Result<std::vector<std::uint8_t>, std::string>;

// Model, version byte and language of an identity string "C55 v24 lg91".
struct IdentityParts
{
    std::string_view model;
    std::uint8_t version = 0;
    std::string_view language;
};

bool splitIdentity(std::string_view id, IdentityParts& parts)
{
    const auto v = id.find(" v");
    const auto blank = v == std::string_view::npos ? v : id.find(' ', v + 2);
    if (blank == std::string_view::npos)
        return false;
    unsigned version = 0;
    const auto [end, ec] = std::from_chars(id.data() + v + 2, id.data() + blank, version, 16);
    if (ec != std::errc() || end != id.data() + blank || version > 0xFF)
        return false;
    parts = {id.substr(0, v), static_cast<std::uint8_t>(version), id.substr(blank + 1)};
    return true;
}

void putString(std::vector<std::uint8_t>& image, std::int32_t at, std::string_view text)
{
    for (const char c : text)
        image[static_cast<std::size_t>(at++)] = static_cast<std::uint8_t>(c);
    image[static_cast<std::size_t>(at)] = 0;
}

// The letters of a further layout of one table that firmware keeps beside its English table (Greek and
// Latin letters on the newer generation).
constexpr std::u16string_view kFurtherLetters[kKeys] = {u"",     u"",     u"αβγ2", u"δεζ3", u"ηθι4", u"κλμ5",
                                                        u"νξο6", u"πρσ7", u"τυφ8", u"χψω9", u"",     u""};
// Where the newer generation keeps that further table, above its English table.
constexpr std::int32_t kFurtherTableDistance = 0x124;

LayoutTexts demoTexts(const FirmwareDescriptor& d)
{
    LayoutTexts t;
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key) {
            const bool russian = a == Layout::russianUpper || a == Layout::russianLower;
            if ((d.newGeneration && key == 11) || (russian && !d.hasRussian))
                continue;
            t.at(a, key) = std::u16string(design::sampleText(a, key));
        }
    return t;
}

// One key of a table and the text its entry points at.
struct KeyText
{
    std::int32_t entry;
    std::u16string_view text;
};

// Lays key strings the way the firmware keeps them: back to back, the last ending just below `end` (the
// table they belong to, or the key-10 entry), each entry pointing at its string. False when a string would
// start before the image or where no pointer reaches.
bool layBelow(std::vector<std::uint8_t>& image, std::int32_t end, const std::vector<KeyText>& keys)
{
    std::int32_t dataAt = end;
    for (const KeyText& k : keys)
        dataAt -= 2 * static_cast<std::int32_t>(k.text.size());
    if (dataAt < 0 || !offsetMaps(dataAt, static_cast<std::int64_t>(image.size()), 0))
        return false;
    std::int32_t correction = 0;
    KeyCodec codec(image, correction, 0, false);
    for (const KeyText& k : keys) {
        std::int32_t entryAt = k.entry;
        codec.encodeKey(entryAt, dataAt, k.text, false);
    }
    return true;
}

// The letters (keys 2..9) of a table's two layouts, upper case first; `lower` false for a table of one.
std::vector<KeyText> letters(std::int32_t table, Layout upper, Layout lower, bool twoLayouts = true)
{
    std::vector<KeyText> keys;
    for (int layout = 0; layout < (twoLayouts ? 2 : 1); ++layout)
        for (int key = 2; key <= 9; ++key)
            keys.push_back({table + 72 * layout + kEntryBytes * key,
                            design::sampleText(layout == 0 ? upper : lower, key)});
    return keys;
}

void copyEntry(std::vector<std::uint8_t>& image, std::int32_t from, std::int32_t to)
{
    std::copy_n(image.begin() + from, kEntryBytes, image.begin() + to);
}
void zeroEntry(std::vector<std::uint8_t>& image, std::int32_t at)
{
    std::fill_n(image.begin() + at, kEntryBytes, std::uint8_t{0});
}

// The sample layouts where an untouched firmware keeps its strings: the English table's shared keys and
// letters just below it, the Russian letters just below the Russian table, every table's shared keys
// pointing at the English ones; on the newer generation key 10 just below its entry, zeros in the tables'
// key-10 and key-11 slots, and a further table of one layout above the English table.
bool layFirmwareStrings(std::vector<std::uint8_t>& image, const FirmwareDescriptor& d)
{
    // What a save put into the storages gives way to it.
    for (const ImageArea area : {ImageArea{d.englishStorage, kEnglishStorageBytes},
                                 ImageArea{d.russianStorage, d.hasRussian ? kRussianStorageBytes : 0},
                                 ImageArea{d.sharedStorage, sharedStorageBytes(d)}})
        std::fill_n(image.begin() + area.offset, area.size, std::uint8_t{0xFF});
    const std::int32_t e = d.englishTable;
    std::vector<int> sharedKeys{0, 1};
    if (!d.newGeneration)
        sharedKeys.insert(sharedKeys.end(), {10, 11});
    std::vector<KeyText> english;
    for (const int key : sharedKeys)
        english.push_back({e + kEntryBytes * key, design::sampleText(Layout::englishUpper, key)});
    for (const KeyText& k : letters(e, Layout::englishUpper, Layout::englishLower))
        english.push_back(k);
    if (!layBelow(image, e, english))
        return false;

    std::vector<std::int32_t> tables{e + 72};
    if (d.hasRussian)
        tables.insert(tables.end(), {d.russianTable, d.russianTable + 72});
    if (d.newGeneration) {
        const std::int32_t further = e + kFurtherTableDistance;
        std::vector<KeyText> greek;
        for (int key = 2; key <= 9; ++key)
            greek.push_back({further + kEntryBytes * key, kFurtherLetters[key]});
        if (!layBelow(image, d.key10Entry, {{d.key10Entry, design::sampleText(Layout::englishUpper, 10)}}) ||
            !layBelow(image, further, greek))
            return false;
        tables.insert(tables.end(), {e, further});
    }
    if (d.hasRussian &&
        !layBelow(image, d.russianTable, letters(d.russianTable, Layout::russianUpper, Layout::russianLower)))
        return false;
    for (const std::int32_t table : tables) {
        for (const int key : sharedKeys)
            copyEntry(image, e + kEntryBytes * key, table + kEntryBytes * key);
        if (d.newGeneration)
            for (const int key : {10, 11})
                zeroEntry(image, table + kEntryBytes * key);
    }
    return true;
}

} // namespace

R makeDemoImage(std::string_view fwId, std::int32_t size)
{
    const FirmwareRow* row = findFirmware(fwId);
    IdentityParts parts;
    if (row == nullptr || !splitIdentity(row->id, parts))
        return R::fail("unknown firmware: " + std::string(fwId));
    const FirmwareDescriptor d = completeDescriptor(*row);
    const std::int32_t probe = kProbes[0];
    const std::int32_t identityEnd = probe + 8; // "SIEMENS" and its terminator
    if (size < identityEnd || !descriptorFitsImage(d, size))
        return R::fail("an image of " + std::to_string(size) + " bytes is too small for " + d.id);

    std::vector<std::uint8_t> image(static_cast<std::size_t>(size), 0xFF);
    const std::int32_t base = probe - 0x80;
    image[static_cast<std::size_t>(base + 0x50)] = parts.version;
    putString(image, base + 0x60, parts.language);
    putString(image, base + 0x70, parts.model);
    putString(image, probe, "SIEMENS");

    // The WAP layout as a save copies it from English; the key strings where the phone keeps them.
    WriteOptions options;
    options.wap = d.wapAvailable ? WapSource::English : WapSource::Untouched;
    if (writeLayouts(image, d, d.hasRussian, 0, demoTexts(d), options) || !layFirmwareStrings(image, d))
        return R::fail("the layouts of " + d.id + " cannot be mapped into an image of " +
                       std::to_string(size) + " bytes");
    return R::ok(std::move(image));
}

} // namespace klavoset
