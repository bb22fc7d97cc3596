// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/LayoutWriter.h"

#include "codec/KeyCodec.h"
#include "support/StartedEditor.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ImageBuilder;
using test::StartedEditor;

Bytes slice(const Bytes& image, std::int32_t at, std::int32_t n)
{
    return {image.begin() + at, image.begin() + at + n};
}

// The first offset where two images differ, -1 when they are equal; keeps failure output readable.
std::int64_t firstDifference(const Bytes& a, const Bytes& b)
{
    if (a.size() != b.size())
        return static_cast<std::int64_t>(std::min(a.size(), b.size()));
    const auto m = std::mismatch(a.begin(), a.end(), b.begin());
    return m.first == a.end() ? -1 : m.first - a.begin();
}

// Writes the texts into a copy of the image; a refusal fails the test.
Bytes written(Bytes image, const FirmwareDescriptor& d, const LayoutTexts& t, WriteOptions o = {})
{
    const auto refusal = writeLayouts(image, d, d.hasRussian, 0, t, o);
    EXPECT_FALSE(refusal.has_value()) << "refused, kind " << static_cast<int>(refusal->kind);
    return image;
}

LayoutTexts decoded(const Bytes& image)
{
    StartedEditor e;
    EXPECT_EQ(e.open(u"/ff.bin", image), Outcome::Done);
    return e.texts();
}

// Shared keys once in englishUpper and copied to the other layouts, as the window keeps them.
LayoutTexts withShared(LayoutTexts t)
{
    for (const Layout a : {Layout::englishLower, Layout::russianUpper, Layout::russianLower})
        for (const int key : {0, 1, 10, 11})
            t.at(a, key) = t.at(Layout::englishUpper, key);
    return t;
}

class EveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

TEST_P(EveryFirmware, WritesBackUnchangedAndEditedLayouts)
{
    const FirmwareDescriptor d = completeDescriptor(GetParam());
    const LayoutTexts texts = test::sampleLayouts(d.newGeneration, d.hasRussian);
    const Bytes image = test::imageOf(d.id, texts, 0x800000); // half the address space: pointers move
    ASSERT_EQ(decoded(image), texts);
    const Bytes once = written(image, d, texts);
    ASSERT_EQ(decoded(once), texts);
    EXPECT_EQ(firstDifference(written(once, d, decoded(once)), once), -1) << "a second save changes nothing";

    LayoutTexts edited = texts;
    edited.at(Layout::englishUpper, 2) = u"XYZ2ЫЬ\x7F";
    edited.at(Layout::englishLower, 9) = u"";
    edited.at(Layout::englishUpper, 0) = u"0";
    if (d.hasRussian)
        edited.at(Layout::russianLower, 5) = u"эюя5ё";
    edited = withShared(edited);
    EXPECT_EQ(decoded(written(image, d, edited)), edited);
}

INSTANTIATE_TEST_SUITE_P(AllRows, EveryFirmware, ::testing::ValuesIn(supportedFirmware()), [](const auto& p) {
    std::string name;
    for (const char c : p.param.id)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

// A firmware small enough to reason about byte by byte: the string of englishUpper key 2 lands at 0x31234.
FirmwareDescriptor tiny()
{
    FirmwareDescriptor d;
    d.id = "T1 v1 lg1";
    d.englishTable = 0x1000;
    d.russianTable = 0x2000;
    d.sharedStorage = 0x3000;
    d.englishStorage = 0x31234;
    d.russianStorage = 0x4000;
    d.hasRussian = false;
    d.sharedCapacity = 46;
    return d;
}

TEST(LayoutWriter, WorkedExamplePointerAndEmptyKey)
{
    LayoutTexts t;
    t.at(Layout::englishUpper, 2) = u"ab\x7F";
    const Bytes image = written(Bytes(0x600000, 0), tiny(), t);
    EXPECT_EQ(slice(image, 0x1000 + 12, 6), (Bytes{0x03, 0x00, 0x34, 0x12, 0x8C, 0x02}));
    EXPECT_EQ(slice(image, 0x31234, 6), (Bytes{0x61, 0, 0x62, 0, 0x0A, 0}));
    // An empty key points at the next free place and writes nothing there.
    EXPECT_EQ(slice(image, 0x1000 + 18, 6), (Bytes{0x00, 0x00, 0x3A, 0x12, 0x8C, 0x02}));
    EXPECT_EQ(image[0x3123A], 0);
}

TEST(LayoutWriter, Koi8AppliesToEnglishLettersAndToSharedKeysOnlyWithoutRussian)
{
    const WriteOptions koi{true, WapSource::Untouched};
    for (const char* id : {"C55 v24 lg91", "SLIK v56 lg1"}) {
        const FirmwareDescriptor d = test::descriptorOf(id);
        LayoutTexts t;
        t.at(Layout::englishUpper, 2) = u"ЯаъЪёA";
        t.at(Layout::russianUpper, 2) = u"Я";
        t.at(Layout::englishUpper, 0) = u"Я";
        t = withShared(t);
        const Bytes image = written(Bytes(0x1000000, 0xFF), d, t, koi);
        SCOPED_TRACE(id);
        EXPECT_EQ(slice(image, d.englishStorage, 12),
                  (Bytes{0xF1, 0, 0xC1, 0, 0xDF, 0, 0xFF, 0, 0x51, 0x04, 0x41, 0}));
        if (d.hasRussian) {
            EXPECT_EQ(slice(image, d.russianStorage, 2), (Bytes{0x2F, 0x04}));
            EXPECT_EQ(slice(image, d.sharedStorage, 2), (Bytes{0x2F, 0x04}));
        } else {
            EXPECT_EQ(slice(image, d.sharedStorage, 2), (Bytes{0xF1, 0x00}));
        }
    }
}

// The WAP string and pointer of WAP record `i` of the table at `table`.
struct WapString
{
    std::int32_t at;
    Bytes bytes; // up to and including the terminator
};
WapString wapString(const Bytes& image, std::int32_t table, int i)
{
    const auto u16 = [&](std::int32_t at) {
        return image[static_cast<std::size_t>(at)] | image[static_cast<std::size_t>(at) + 1] << 8;
    };
    const std::int32_t rec = table + 10 * i;
    const std::int32_t a = u16(rec + 8) * 0x4000 + u16(rec + 6);
    WapString s{a - 0x1000000 + static_cast<std::int32_t>(image.size()), {}};
    for (std::int32_t p = s.at; s.bytes.empty() || s.bytes.back() != 0; ++p)
        s.bytes.push_back(image[static_cast<std::size_t>(p)]);
    return s;
}

TEST(LayoutWriter, WapStringsAreUtf8WithTerminatorAndOnlyPointerBytesOfRecords)
{
    const FirmwareDescriptor d = test::descriptorOf("C55 v24 lg91");
    LayoutTexts t;
    t.at(Layout::englishUpper, 2) = u"a";
    t.at(Layout::englishUpper, 3) = u"Я";
    t.at(Layout::englishUpper, 4) = u"€";
    t.at(Layout::englishUpper, 5) = u"\u0800"; // the first character of three bytes
    t.at(Layout::russianLower, 2) = u"б";
    const Bytes erased(0x1000000, 0xAB);
    const Bytes english = written(erased, d, t, {false, WapSource::English});
    EXPECT_EQ(wapString(english, d.wapUpperTable, 0).at, d.wapStorage) << "an empty text is its terminator";
    EXPECT_EQ(wapString(english, d.wapUpperTable, 0).bytes, Bytes{0x00});
    EXPECT_EQ(wapString(english, d.wapUpperTable, 2).bytes, (Bytes{0x61, 0x00}));
    EXPECT_EQ(wapString(english, d.wapUpperTable, 3).bytes, (Bytes{0xD0, 0xAF, 0x00}));
    EXPECT_EQ(wapString(english, d.wapUpperTable, 4).bytes, (Bytes{0xE2, 0x82, 0xAC, 0x00}));
    EXPECT_EQ(wapString(english, d.wapUpperTable, 5).bytes, (Bytes{0xE0, 0xA0, 0x80, 0x00}));
    // the lower case follows the upper: 12 terminators and a, Я, €, U+0800 in 1 + 2 + 3 + 3 bytes
    EXPECT_EQ(wapString(english, d.wapLowerTable, 0).at, d.wapStorage + 21);
    for (int i = 0; i < kKeys; ++i) {
        EXPECT_EQ(slice(english, d.wapUpperTable + 10 * i, 6), Bytes(6, 0xAB));
        EXPECT_EQ(slice(english, d.wapLowerTable + 10 * i, 6), Bytes(6, 0xAB));
    }
    const Bytes russian = written(erased, d, t, {false, WapSource::Russian});
    EXPECT_EQ(wapString(russian, d.wapUpperTable, 2).bytes, Bytes{0x00});
    EXPECT_EQ(wapString(russian, d.wapLowerTable, 2).bytes, (Bytes{0xD0, 0xB1, 0x00}));
    const Bytes untouched = written(erased, d, t);
    EXPECT_EQ(slice(untouched, d.wapUpperTable, 0x300), slice(erased, d.wapUpperTable, 0x300));
    EXPECT_EQ(slice(untouched, d.wapStorage, d.wapCapacity), slice(erased, d.wapStorage, d.wapCapacity));
}

TEST(LayoutWriter, NewerGenerationWritesKey10ApartAndLeavesKey11)
{
    const FirmwareDescriptor d = test::descriptorOf("S55 v20 lg91");
    LayoutTexts t = test::sampleLayouts(true, true);
    t.at(Layout::englishUpper, 11) = u"#@"; // not part of these layouts
    t.at(Layout::englishUpper, 10) = u"*+";
    const Bytes before = test::imageOf(d.id, test::sampleLayouts(true, true));
    const Bytes image = written(before, d, withShared(t));
    for (const std::int32_t table :
         {d.englishTable, d.englishTable + 72, d.russianTable, d.russianTable + 72}) {
        EXPECT_EQ(slice(image, table + 66, 6), slice(before, table + 66, 6)) << "key 11 entry kept";
        EXPECT_EQ(slice(image, table + 60, 6), slice(before, table + 60, 6)) << "key 10 slot kept";
    }
    EXPECT_EQ(image[static_cast<std::size_t>(d.key10Entry)], 2);
    const std::int32_t sharedBefore10 = 2 * static_cast<std::int32_t>(t.at(Layout::englishUpper, 0).size() +
                                                                      t.at(Layout::englishUpper, 1).size());
    EXPECT_EQ(slice(image, d.sharedStorage + sharedBefore10, 4), (Bytes{'*', 0, '+', 0}));
    EXPECT_EQ(decoded(image).at(Layout::englishLower, 10), u"*+");
}

// On the older generation key 11 is a shared key of all four tables, written from the upper-case English
// layout whatever the others hold (here their old text). Each entry is read back on its own, not through
// the editor, which would copy it from the upper-case English layout.
TEST(LayoutWriter, OlderGenerationRewritesKey11InEveryTable)
{
    const FirmwareDescriptor d = test::descriptorOf("C45 v50 lg1");
    LayoutTexts t = test::sampleLayouts(false, true);
    ASSERT_NE(t.at(Layout::russianLower, 11), u"#@!");
    t.at(Layout::englishUpper, 11) = u"#@!";
    Bytes image = written(test::imageOf(d.id, test::sampleLayouts(false, true)), d, t);
    std::int32_t correction = 0;
    KeyCodec codec(image, correction, d.key10Entry, false);
    for (const std::int32_t table : {0x2367D8, 0x2367D8 + 72, 0x236C40, 0x236C40 + 72}) {
        EXPECT_EQ(codec.decodeKey(table + 6 * 11, false, false).text, u"#@!") << std::hex << table;
    }
}

// Which bytes a save may touch: the tables, storage areas, and with WAP the pointer bytes of the WAP
// records and the WAP storage.
std::vector<bool> writable(const FirmwareDescriptor& d, bool wap, std::size_t size)
{
    std::vector<bool> ok(size, false);
    const auto allow = [&](std::int32_t at, std::int32_t n) {
        for (std::int32_t k = 0; k < n; ++k)
            ok[static_cast<std::size_t>(at + k)] = true;
    };
    allow(d.englishTable, kTableBytes);
    allow(d.englishStorage, kEnglishStorageBytes);
    allow(d.sharedStorage, sharedStorageBytes(d));
    if (d.newGeneration)
        allow(d.key10Entry, kEntryBytes);
    if (d.hasRussian) {
        allow(d.russianTable, kTableBytes);
        allow(d.russianStorage, kRussianStorageBytes);
    }
    if (wap) {
        for (int i = 0; i < kKeys; ++i) {
            allow(d.wapUpperTable + 10 * i + 6, 4);
            allow(d.wapLowerTable + 10 * i + 6, 4);
        }
        allow(d.wapStorage, d.wapCapacity);
    }
    return ok;
}

TEST(LayoutWriter, ChangesOnlyTheFirmwareAreas)
{
    Bytes noise(0x1000000);
    std::uint32_t x = 99;
    for (auto& b : noise)
        b = static_cast<std::uint8_t>((x = x * 1103515245u + 12345u) >> 24);
    for (const FirmwareRow& row : supportedFirmware()) {
        const FirmwareDescriptor d = completeDescriptor(row);
        LayoutTexts t = test::sampleLayouts(d.newGeneration, d.hasRussian);
        // the shared storage filled to its last character, 3 bytes each in a WAP string
        const auto sharedRest = d.sharedCapacity - static_cast<int>(t.at(Layout::englishUpper, 0).size() +
                                                                    t.at(Layout::englishUpper, 1).size() +
                                                                    t.at(Layout::englishUpper, 11).size());
        t.at(Layout::englishUpper, 10) = std::u16string(static_cast<std::size_t>(sharedRest), u'€');
        for (const bool wap : {false, true}) {
            if (wap && !d.wapAvailable)
                continue;
            const Bytes image =
                written(noise, d, withShared(t), {true, wap ? WapSource::English : WapSource::Untouched});
            const std::vector<bool> ok = writable(d, wap, image.size());
            std::size_t outside = 0;
            constexpr std::size_t kChunk = 4096; // compared in chunks: only changed ones are looked into
            for (std::size_t at = 0; at < image.size(); at += kChunk)
                if (std::memcmp(image.data() + at, noise.data() + at, kChunk) != 0)
                    for (std::size_t k = at; k < at + kChunk; ++k)
                        outside += image[k] != noise[k] && !ok[k];
            EXPECT_EQ(outside, 0u) << row.id << (wap ? " with WAP" : "");
        }
    }
}

TEST(LayoutWriter, RefusesBeforeWritingAnything)
{
    using Kind = WriteRefusal::Kind;
    struct Case
    {
        const char* name;
        FirmwareDescriptor d;
        LayoutTexts t;
        WriteOptions o;
        std::int32_t size;
        Kind kind;
    };
    std::vector<Case> cases;
    const FirmwareDescriptor c55 = test::descriptorOf("C55 v24 lg91");
    LayoutTexts surrogate;
    surrogate.at(Layout::englishLower, 3) = u"a\xD83D";
    cases.push_back({"surrogate", c55, surrogate, {}, 0x1000000, Kind::Unstorable});
    LayoutTexts key11; // key 11 of newer firmware is written only as a WAP string
    key11.at(Layout::englishUpper, 11) = u"\x8000";
    cases.push_back(
        {"wap-only key 11", c55, key11, {false, WapSource::English}, 0x1000000, Kind::Unstorable});
    LayoutTexts euros; // 3 bytes each in UTF-8: fits the key storage, not the older firmware's WAP room
    for (int k = 2; k <= 9; ++k)
        euros.at(Layout::englishUpper, k) = euros.at(Layout::englishLower, k) = std::u16string(8, u'€');
    euros.at(Layout::englishUpper, 10) = std::u16string(46, u'€');
    cases.push_back({"wap overflow",
                     test::descriptorOf("C45 v50 lg1"),
                     withShared(euros),
                     {false, WapSource::English},
                     0x1000000,
                     Kind::WapOverflow});
    for (const char* id : {"A52 v7 lg1", "A55 v9 lg1"})
        cases.push_back(
            {id, test::descriptorOf(id), {}, {false, WapSource::English}, 0x1000000, Kind::NoWapTables});
    cases.push_back({"beyond 16 MiB", tiny(), {}, {}, 0x1100000, Kind::Unmappable});
    cases.push_back({"areas outside", tiny(), {}, {}, 0x10000, Kind::Unmappable});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image(static_cast<std::size_t>(c.size), 0x5A);
        const auto refusal = writeLayouts(image, c.d, c.d.hasRussian, 0, c.t, c.o);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->kind, c.kind);
        EXPECT_EQ(image, Bytes(static_cast<std::size_t>(c.size), 0x5A));
    }
    const auto where = checkLayouts(0x1000000, c55, true, 0, surrogate, {});
    EXPECT_EQ(where->array, Layout::englishLower);
    EXPECT_EQ(where->key, 3);
    EXPECT_EQ(where->unit, u'\xD83D');
    EXPECT_FALSE(checkLayouts(0x1000000, c55, true, 0, key11, {}).has_value())
        << "key 11 unwritten without WAP";
    LayoutTexts hiddenRussian;
    hiddenRussian.at(Layout::russianUpper, 4) = u"\xFFFF";
    EXPECT_FALSE(checkLayouts(0x1000000, c55, false, 0, hiddenRussian, {}).has_value());
    const auto wap = checkLayouts(0x1000000, test::descriptorOf("C45 v50 lg1"), true, 0, withShared(euros),
                                  {false, WapSource::English});
    EXPECT_EQ(wap->needed, 2 * (46 * 3 + 64 * 3 + 12));
    EXPECT_EQ(wap->capacity, 526);

    // The older firmware's WAP room ends where the shared strings begin: 526 bytes fit, 527 do not.
    LayoutTexts edge; // 24 terminators, keys 2 in 2 × 68 × 3 bytes, key 1 in 2 × 47
    edge.at(Layout::englishUpper, 2) = edge.at(Layout::englishLower, 2) = std::u16string(68, u'€');
    edge.at(Layout::englishUpper, 1) = std::u16string(15, u'€') + u"ab";
    const FirmwareDescriptor c45 = test::descriptorOf("C45 v50 lg1");
    const WriteOptions english{false, WapSource::English};
    EXPECT_FALSE(checkLayouts(0x1000000, c45, true, 0, withShared(edge), english).has_value());
    edge.at(Layout::englishUpper, 1) += u'c';                           // + 2
    edge.at(Layout::englishLower, 2) = std::u16string(67, u'€') + u"я"; // - 1
    const auto over = checkLayouts(0x1000000, c45, true, 0, withShared(edge), english);
    ASSERT_TRUE(over.has_value());
    EXPECT_EQ(over->kind, Kind::WapOverflow);
    EXPECT_EQ(over->needed, 527);
}

} // namespace
} // namespace klavoset
