// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/LayoutWriter.h"

#include "codec/Budget.h"
#include "codec/KeyCodec.h"

#include <array>
#include <string_view>

namespace klavoset {
namespace {

// The window keeps the shared keys of em, rb and rm equal to eb; a snapshot taken elsewhere may not, and
// a longer copy would overwrite the next shared string, so eb's text is the one written everywhere.
LayoutTexts withSharedFromEb(const LayoutTexts& texts)
{
    LayoutTexts t = texts;
    for (const KeyArray a : {KeyArray::em, KeyArray::rb, KeyArray::rm})
        for (const int key : kSharedKeys)
            t.at(a, key) = t.at(KeyArray::eb, key);
    return t;
}

// UTF-8 of one 16-bit code unit below 0x8000: one, two or three bytes.
template <typename Out> void putUtf8(char16_t c, Out&& out)
{
    if (c <= 127) {
        out(static_cast<std::uint8_t>(c));
    } else if (c <= 2047) {
        out(static_cast<std::uint8_t>(192 + c / 64));
        out(static_cast<std::uint8_t>(128 + c % 64));
    } else {
        out(static_cast<std::uint8_t>(224 + c / 4096));
        out(static_cast<std::uint8_t>(128 + (c % 4096) / 64));
        out(static_cast<std::uint8_t>(128 + c % 64));
    }
}

std::int32_t utf8Length(std::u16string_view txt)
{
    std::int32_t n = 0;
    for (const char16_t c : txt)
        putUtf8(c, [&](std::uint8_t) { ++n; });
    return n;
}

KeyArray wapUpper(WapSource s) { return s == WapSource::Russian ? KeyArray::rb : KeyArray::eb; }
KeyArray wapLower(WapSource s) { return s == WapSource::Russian ? KeyArray::rm : KeyArray::em; }

// The five key passes and the WAP step, as the firmware lays them out. The sink does the work of each
// key (`key`: entry at Pos, units at DataPos) and each WAP string (`wap`: pointer at adr, bytes at
// DataPos) and advances the positions, so the same walk serves the dry run and the real write.
template <typename Sink>
void runPasses(const FirmwareDescriptor& fw, bool HasRus, const LayoutTexts& t, WapSource wap, Sink& sink)
{
    std::int32_t Pos = 0;
    std::int32_t DataPos = fw.CommonData;
    std::array<std::int32_t, kKeys> KeyDataPos{};

    // Pass 1 lays out the shared storage and remembers where each shared string starts.
    for (const int i : kSharedKeys) {
        KeyDataPos[static_cast<std::size_t>(i)] = DataPos;
        Pos = fw.EngTab + 6 * i;
        if (fw.NewGen && i == 10)
            Pos = fw.Key10Entry;
        if (fw.NewGen && i == 11)
            break;
        sink.key(Pos, DataPos, t.at(KeyArray::eb, i), false);
    }

    std::int32_t SavePos = 0;
    std::int32_t SaveDataPos = 0;
    const auto pass = [&](std::int32_t startPos, std::int32_t key2Data, KeyArray a, bool can, bool upper) {
        Pos = startPos;
        for (int i = 0; i < kKeys; ++i) {
            if (isSharedKey(i))
                DataPos = KeyDataPos[static_cast<std::size_t>(i)];
            if (i == 2)
                DataPos = key2Data;
            if (fw.NewGen && i == 10)
                Pos = fw.Key10Entry;
            if (fw.NewGen && i == 11)
                break;
            sink.key(Pos, DataPos, t.at(a, i), can);
            if (upper && i == 9) {
                SavePos = Pos;
                SaveDataPos = DataPos;
            }
        }
    };
    pass(fw.EngTab, fw.EngData, KeyArray::eb, true, true);
    pass(SavePos + 12, SaveDataPos, KeyArray::em, true, false); // + 12: past eb's keys 10 and 11
    if (HasRus) {
        pass(fw.RusTab, fw.RusData, KeyArray::rb, false, true);
        pass(SavePos + 12, SaveDataPos, KeyArray::rm, false, false);
    }

    if (wap == WapSource::Untouched)
        return;
    DataPos = fw.WapData;
    for (int i = 0; i < kKeys; ++i)
        sink.wap(fw.WapTabU + 10 * i + 6, DataPos, t.at(wapUpper(wap), i));
    for (int i = 0; i < kKeys; ++i)
        sink.wap(fw.WapTabL + 10 * i + 6, DataPos, t.at(wapLower(wap), i));
}

// Walks the passes without writing and notes whether every entry, pointer and string would land inside
// the image at an address the phone can map.
class DryRun
{
  public:
    DryRun(std::int32_t FlashLen, std::int32_t AdrFix) : m_flashLen(FlashLen), m_adrFix(AdrFix) {}

    void key(std::int32_t& Pos, std::int32_t& DataPos, std::u16string_view r, bool)
    {
        const auto bytes = 2 * static_cast<std::int32_t>(r.size());
        m_ok = m_ok && inside(Pos, kEntryBytes) && maps(DataPos) && inside(DataPos, bytes) && r.size() <= 255;
        Pos += kEntryBytes;
        DataPos += bytes;
    }
    void wap(std::int32_t adr, std::int32_t& DataPos, std::u16string_view txt)
    {
        const std::int32_t bytes = utf8Length(txt) + 1;
        m_ok = m_ok && inside(adr, 4) && maps(DataPos) && inside(DataPos, bytes);
        DataPos += bytes;
    }
    [[nodiscard]] bool ok() const { return m_ok; }

  private:
    [[nodiscard]] bool inside(std::int64_t at, std::int64_t size) const
    {
        return at >= 0 && at + size <= m_flashLen;
    }
    [[nodiscard]] bool maps(std::int64_t offset) const
    {
        const std::int64_t A = offset + kAddressTop - m_flashLen - m_adrFix;
        return A >= 0 && A / kPageSize < 0x8000;
    }

    std::int64_t m_flashLen;
    std::int64_t m_adrFix;
    bool m_ok = true;
};

class Encoder
{
  public:
    Encoder(std::span<std::uint8_t> Flash, std::int32_t& AdrFix, const FirmwareDescriptor& fw, bool koi)
        : m_flash(Flash), m_codec(Flash, AdrFix, fw.Key10Entry, koi)
    {
    }

    void key(std::int32_t& Pos, std::int32_t& DataPos, std::u16string_view r, bool can)
    {
        m_codec.PutUniStr(Pos, DataPos, r, can);
    }
    void wap(std::int32_t adr, std::int32_t& DataPos, std::u16string_view txt) { SaveWAP(txt, adr, DataPos); }

  private:
    // One WAP string: the pointer into bytes 6..9 of its record, then the text in UTF-8 and a 0.
    void SaveWAP(std::u16string_view txt, std::int32_t adr, std::int32_t& DataPos)
    {
        m_codec.putPointer(adr, DataPos);
        const auto put = [&](std::uint8_t b) { m_flash[static_cast<std::size_t>(DataPos++)] = b; };
        for (const char16_t c : txt)
            putUtf8(c, put);
        put(0);
    }

    std::span<std::uint8_t> m_flash;
    KeyCodec m_codec;
};

// The first character that cannot be stored in a field that this write would store.
std::optional<WriteRefusal> firstUnstorable(const FirmwareDescriptor& fw, bool HasRus, const LayoutTexts& t,
                                            WapSource wap)
{
    const auto scan = [&](KeyArray a, int key) -> std::optional<WriteRefusal> {
        for (const char16_t c : t.at(a, key))
            if (c >= 0x8000)
                return WriteRefusal{WriteRefusal::Kind::Unstorable, a, key, c, 0, 0};
        return std::nullopt;
    };
    const bool key11Written = !fw.NewGen || wap != WapSource::Untouched;
    for (int key = 0; key < kKeys; ++key)
        if (key != 11 || key11Written)
            if (auto r = scan(KeyArray::eb, key))
                return r;
    const auto letters = [&](KeyArray a) -> std::optional<WriteRefusal> {
        for (int key = 2; key <= 9; ++key)
            if (auto r = scan(a, key))
                return r;
        return std::nullopt;
    };
    if (auto r = letters(KeyArray::em))
        return r;
    if (HasRus || wap == WapSource::Russian)
        for (const KeyArray a : {KeyArray::rb, KeyArray::rm})
            if (auto r = letters(a))
                return r;
    return std::nullopt;
}

} // namespace

std::int32_t wapBytes(const LayoutTexts& texts, WapSource source)
{
    if (source == WapSource::Untouched)
        return 0;
    const LayoutTexts t = withSharedFromEb(texts);
    std::int32_t n = 0;
    for (int i = 0; i < kKeys; ++i)
        n += utf8Length(t.at(wapUpper(source), i)) + 1 + utf8Length(t.at(wapLower(source), i)) + 1;
    return n;
}

std::vector<ImageArea> writtenAreas(const FirmwareDescriptor& fw)
{
    std::vector<ImageArea> areas = {{fw.EngTab, kTableBytes},
                                    {fw.RusTab, kTableBytes},
                                    {fw.EngData, kEngDataBytes},
                                    {fw.RusData, kRusDataBytes},
                                    {fw.CommonData, commonDataBytes(fw)},
                                    {fw.WapTabU, kWapTableBytes},
                                    {fw.WapTabL, kWapTableBytes},
                                    {fw.WapData, fw.wapCapacity}};
    if (fw.NewGen)
        areas.push_back({fw.Key10Entry, kEntryBytes});
    return areas;
}

std::optional<WriteRefusal> checkLayouts(std::int32_t FlashLen, const FirmwareDescriptor& fw, bool HasRus,
                                         std::int32_t AdrFix, const LayoutTexts& texts,
                                         const WriteOptions& options)
{
    using Kind = WriteRefusal::Kind;
    const LayoutTexts t = withSharedFromEb(texts);
    if (auto r = firstUnstorable(fw, HasRus, t, options.wap))
        return r;
    // Key 0's count is the first byte of the Russian table, which a load checks to find that table.
    if (HasRus && t.at(KeyArray::eb, 0).size() > static_cast<std::size_t>(kMaxRusKey0Count))
        return WriteRefusal{Kind::LongKeyZero, KeyArray::eb, 0, 0, 0, kMaxRusKey0Count};
    if (countBudget(t).exceeded(fw.CommonCap))
        return WriteRefusal{Kind::Overflow, KeyArray::eb, 0, 0, 0, 0};
    if (options.wap != WapSource::Untouched) {
        if (!fw.wapAvailable)
            return WriteRefusal{Kind::NoWapTables, KeyArray::eb, 0, 0, 0, 0};
        const std::int32_t needed = wapBytes(t, options.wap);
        if (needed > fw.wapCapacity)
            return WriteRefusal{Kind::WapOverflow, KeyArray::eb, 0, 0, needed, fw.wapCapacity};
    }
    DryRun dry(FlashLen, AdrFix);
    runPasses(fw, HasRus, t, options.wap, dry);
    if (!dry.ok())
        return WriteRefusal{Kind::Unmappable, KeyArray::eb, 0, 0, 0, 0};
    return std::nullopt;
}

std::optional<WriteRefusal> writeLayouts(std::span<std::uint8_t> Flash, const FirmwareDescriptor& fw,
                                         bool HasRus, std::int32_t AdrFix, const LayoutTexts& texts,
                                         const WriteOptions& options)
{
    const auto FlashLen = static_cast<std::int32_t>(Flash.size());
    if (static_cast<std::size_t>(FlashLen) != Flash.size())
        return WriteRefusal{WriteRefusal::Kind::Unmappable, KeyArray::eb, 0, 0, 0, 0};
    if (auto refusal = checkLayouts(FlashLen, fw, HasRus, AdrFix, texts, options))
        return refusal;
    std::int32_t adrFix = AdrFix; // the encoder only reads it
    Encoder encoder(Flash, adrFix, fw, options.koi);
    runPasses(fw, HasRus, withSharedFromEb(texts), options.wap, encoder);
    return std::nullopt;
}

} // namespace klavoset
