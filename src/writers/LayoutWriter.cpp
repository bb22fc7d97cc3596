// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/LayoutWriter.h"

#include "codec/Budget.h"
#include "codec/KeyCodec.h"
#include "image/Identify.h"
#include "image/OtherTables.h"
#include "image/PagedPointer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace klavoset {
namespace {

// The window keeps the shared keys of englishLower, russianUpper and russianLower equal to englishUpper; a
// snapshot taken elsewhere may not, and a longer copy would overwrite the next shared string, so
// englishUpper's text is the one written everywhere.
LayoutTexts withSharedFromEb(const LayoutTexts& texts)
{
    LayoutTexts t = texts;
    for (const Layout a : {Layout::englishLower, Layout::russianUpper, Layout::russianLower})
        for (const int key : kSharedKeys)
            t.at(a, key) = t.at(Layout::englishUpper, key);
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

std::int32_t utf8Length(std::u16string_view text)
{
    std::int32_t n = 0;
    for (const char16_t c : text)
        putUtf8(c, [&](std::uint8_t) { ++n; });
    return n;
}

Layout wapUpper(WapSource s) { return s == WapSource::Russian ? Layout::russianUpper : Layout::englishUpper; }
Layout wapLower(WapSource s) { return s == WapSource::Russian ? Layout::russianLower : Layout::englishLower; }

// The five key passes and the WAP step, as the firmware lays them out. The sink does the work of each
// key (`key`: entry at entryAt, units at dataAt) and each WAP string (`wap`: pointer at pointerAt, bytes at
// dataAt) and advances the positions, so the same walk serves the dry run and the real write.
template <typename Sink>
void runPasses(const FirmwareDescriptor& firmware, bool hasRussian, const LayoutTexts& t, WapSource wap,
               Sink& sink)
{
    std::int32_t entryAt = 0;
    std::int32_t dataAt = firmware.sharedStorage;
    std::array<std::int32_t, kKeys> sharedDataAt{};

    // Pass 1 lays out the shared storage and remembers where each shared string starts.
    for (const int i : kSharedKeys) {
        sharedDataAt[static_cast<std::size_t>(i)] = dataAt;
        entryAt = firmware.englishTable + 6 * i;
        if (firmware.newGeneration && i == 10)
            entryAt = firmware.key10Entry;
        if (firmware.newGeneration && i == 11)
            break;
        sink.key(entryAt, dataAt, t.at(Layout::englishUpper, i), false);
    }

    std::int32_t savedEntryAt = 0;
    std::int32_t savedDataAt = 0;
    const auto pass = [&](std::int32_t firstEntryAt, std::int32_t key2Data, Layout a, bool koiCapable,
                          bool upper) {
        entryAt = firstEntryAt;
        for (int i = 0; i < kKeys; ++i) {
            if (isSharedKey(i))
                dataAt = sharedDataAt[static_cast<std::size_t>(i)];
            if (i == 2)
                dataAt = key2Data;
            if (firmware.newGeneration && i == 10)
                entryAt = firmware.key10Entry;
            if (firmware.newGeneration && i == 11)
                break;
            sink.key(entryAt, dataAt, t.at(a, i), koiCapable);
            if (upper && i == 9) {
                savedEntryAt = entryAt;
                savedDataAt = dataAt;
            }
        }
    };
    pass(firmware.englishTable, firmware.englishStorage, Layout::englishUpper, true, true);
    pass(savedEntryAt + 12, savedDataAt, Layout::englishLower, true,
         false); // + 12: past englishUpper's keys 10 and 11
    if (hasRussian) {
        pass(firmware.russianTable, firmware.russianStorage, Layout::russianUpper, false, true);
        pass(savedEntryAt + 12, savedDataAt, Layout::russianLower, false, false);
    }

    if (wap == WapSource::Untouched)
        return;
    dataAt = firmware.wapStorage;
    for (int i = 0; i < kKeys; ++i)
        sink.wap(firmware.wapUpperTable + 10 * i + 6, dataAt, t.at(wapUpper(wap), i));
    for (int i = 0; i < kKeys; ++i)
        sink.wap(firmware.wapLowerTable + 10 * i + 6, dataAt, t.at(wapLower(wap), i));
}

// Walks the passes without writing and notes whether every entry, pointer and string would land inside
// the image at an address the phone can map.
class DryRun
{
  public:
    DryRun(std::int32_t imageSize, std::int32_t addressCorrection)
        : m_imageSize(imageSize), m_addressCorrection(addressCorrection)
    {
    }

    void key(std::int32_t& entryAt, std::int32_t& dataAt, std::u16string_view text, bool)
    {
        const auto bytes = 2 * static_cast<std::int32_t>(text.size());
        m_ok = m_ok && inside(entryAt, kEntryBytes) && maps(dataAt) && inside(dataAt, bytes) &&
               text.size() <= 255;
        entryAt += kEntryBytes;
        dataAt += bytes;
    }
    void wap(std::int32_t pointerAt, std::int32_t& dataAt, std::u16string_view text)
    {
        const std::int32_t bytes = utf8Length(text) + 1;
        m_ok = m_ok && inside(pointerAt, 4) && maps(dataAt) && inside(dataAt, bytes);
        dataAt += bytes;
    }
    [[nodiscard]] bool ok() const { return m_ok; }

  private:
    [[nodiscard]] bool inside(std::int64_t at, std::int64_t size) const
    {
        return at >= 0 && at + size <= m_imageSize;
    }
    [[nodiscard]] bool maps(std::int64_t offset) const
    {
        return offsetMaps(offset, m_imageSize, m_addressCorrection);
    }

    std::int64_t m_imageSize;
    std::int32_t m_addressCorrection;
    bool m_ok = true;
};

class Encoder
{
  public:
    Encoder(std::span<std::uint8_t> image, std::int32_t& addressCorrection,
            const FirmwareDescriptor& firmware, bool koi)
        : m_image(image), m_codec(image, addressCorrection, firmware.key10Entry, koi)
    {
    }

    void key(std::int32_t& entryAt, std::int32_t& dataAt, std::u16string_view text, bool koiCapable)
    {
        m_codec.encodeKey(entryAt, dataAt, text, koiCapable);
    }
    void wap(std::int32_t pointerAt, std::int32_t& dataAt, std::u16string_view text)
    {
        writeWapString(text, pointerAt, dataAt);
    }

  private:
    // One WAP string: the pointer into bytes 6..9 of its record, then the text in UTF-8 and a 0.
    void writeWapString(std::u16string_view text, std::int32_t pointerAt, std::int32_t& dataAt)
    {
        m_codec.putPointer(pointerAt, dataAt);
        const auto put = [&](std::uint8_t b) { m_image[static_cast<std::size_t>(dataAt++)] = b; };
        for (const char16_t c : text)
            putUtf8(c, put);
        put(0);
    }

    std::span<std::uint8_t> m_image;
    KeyCodec m_codec;
};

// The first character that cannot be stored in a field that this write would store.
std::optional<WriteRefusal> firstUnstorable(const FirmwareDescriptor& firmware, bool hasRussian,
                                            const LayoutTexts& t, WapSource wap)
{
    const auto scan = [&](Layout a, int key) -> std::optional<WriteRefusal> {
        for (const char16_t c : t.at(a, key))
            if (c >= 0x8000)
                return WriteRefusal{WriteRefusal::Kind::Unstorable, a, key, c, 0, 0};
        return std::nullopt;
    };
    const bool key11Written = !firmware.newGeneration || wap != WapSource::Untouched;
    for (int key = 0; key < kKeys; ++key)
        if (key != 11 || key11Written)
            if (auto r = scan(Layout::englishUpper, key))
                return r;
    const auto letters = [&](Layout a) -> std::optional<WriteRefusal> {
        for (int key = 2; key <= 9; ++key)
            if (auto r = scan(a, key))
                return r;
        return std::nullopt;
    };
    if (auto r = letters(Layout::englishLower))
        return r;
    if (hasRussian || wap == WapSource::Russian)
        for (const Layout a : {Layout::russianUpper, Layout::russianLower})
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

std::vector<std::int32_t> tablesWrittenOver(std::span<const std::uint8_t> image,
                                            const FirmwareDescriptor& firmware, bool hasRussian,
                                            std::int32_t addressCorrection, const LayoutTexts& texts,
                                            const WriteOptions& options, std::span<const OtherTable> tables)
{
    std::vector<std::int32_t> met;
    if (tables.empty())
        return met;
    // Written into a scratch image that holds only the tables' bytes and strings: the writer never reads
    // what it writes over, and its pages stay unwritten, where a copy of the image would cost more than a
    // save. A byte written as it was (the same layouts saved again) breaks nothing.
    const std::unique_ptr<std::uint8_t, decltype(&std::free)> scratch(
        static_cast<std::uint8_t*>(std::calloc(image.size(), 1)), &std::free);
    if (!scratch) { // no memory to tell: every table counts as written over
        for (const OtherTable& table : tables)
            met.push_back(table.offset);
        return met;
    }
    const auto inImage = [&](const ImageArea& area) {
        return area.offset >= 0 && area.size >= 0 &&
               std::int64_t{area.offset} + area.size <= static_cast<std::int64_t>(image.size());
    };
    for (const OtherTable& table : tables)
        for (const ImageArea& area : table.areas)
            if (inImage(area))
                std::copy_n(image.begin() + area.offset, area.size, scratch.get() + area.offset);
    if (writeLayouts({scratch.get(), image.size()}, firmware, hasRussian, addressCorrection, texts, options))
        return met;
    for (const OtherTable& table : tables)
        if (std::any_of(table.areas.begin(), table.areas.end(), [&](const ImageArea& area) {
                return inImage(area) &&
                       !std::equal(image.begin() + area.offset, image.begin() + area.offset + area.size,
                                   scratch.get() + area.offset);
            }))
            met.push_back(table.offset);
    return met;
}

std::vector<ImageArea> writtenAreas(const FirmwareDescriptor& firmware)
{
    // The descriptor's own areas: a write into the WAP layout is refused where it has none.
    return descriptorAreas(firmware);
}

std::optional<WriteRefusal> checkLayouts(std::int32_t imageSize, const FirmwareDescriptor& firmware,
                                         bool hasRussian, std::int32_t addressCorrection,
                                         const LayoutTexts& texts, const WriteOptions& options)
{
    using Kind = WriteRefusal::Kind;
    const LayoutTexts t = withSharedFromEb(texts);
    if (auto r = firstUnstorable(firmware, hasRussian, t, options.wap))
        return r;
    // Key 0's count is the first byte of the Russian table, which a load checks to find that table.
    if (hasRussian && t.at(Layout::englishUpper, 0).size() > static_cast<std::size_t>(kMaxRussianKey0Count))
        return WriteRefusal{Kind::LongKeyZero, Layout::englishUpper, 0, 0, 0, kMaxRussianKey0Count};
    if (countBudget(t).exceeded(firmware.sharedCapacity))
        return WriteRefusal{Kind::Overflow, Layout::englishUpper, 0, 0, 0, 0};
    if (options.wap != WapSource::Untouched) {
        if (!firmware.wapAvailable)
            return WriteRefusal{Kind::NoWapTables, Layout::englishUpper, 0, 0, 0, 0};
        const std::int32_t needed = wapBytes(t, options.wap);
        if (needed > firmware.wapCapacity)
            return WriteRefusal{Kind::WapOverflow, Layout::englishUpper, 0, 0, needed, firmware.wapCapacity};
    }
    DryRun dry(imageSize, addressCorrection);
    runPasses(firmware, hasRussian, t, options.wap, dry);
    if (!dry.ok())
        return WriteRefusal{Kind::Unmappable, Layout::englishUpper, 0, 0, 0, 0};
    return std::nullopt;
}

std::optional<WriteRefusal> writeLayouts(std::span<std::uint8_t> image, const FirmwareDescriptor& firmware,
                                         bool hasRussian, std::int32_t addressCorrection,
                                         const LayoutTexts& texts, const WriteOptions& options)
{
    const auto imageSize = static_cast<std::int32_t>(image.size());
    if (static_cast<std::size_t>(imageSize) != image.size())
        return WriteRefusal{WriteRefusal::Kind::Unmappable, Layout::englishUpper, 0, 0, 0, 0};
    if (auto refusal = checkLayouts(imageSize, firmware, hasRussian, addressCorrection, texts, options))
        return refusal;
    std::int32_t correction = addressCorrection; // the encoder only reads it
    Encoder encoder(image, correction, firmware, options.koi);
    runPasses(firmware, hasRussian, withSharedFromEb(texts), options.wap, encoder);
    return std::nullopt;
}

} // namespace klavoset
