// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ImageBuilder.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace klavoset::test {

ImageBuilder::ImageBuilder(std::int32_t size, std::uint8_t fill)
    : m_bytes(static_cast<std::size_t>(size), fill)
{
}

ImageBuilder& ImageBuilder::identity(std::string_view model, std::uint8_t version, std::string_view language,
                                     std::int32_t probe, std::string_view marker)
{
    const std::int32_t base = probe - 0x80;
    const auto put = [&](std::int32_t at, std::string_view text) {
        for (const char c : text)
            m_bytes.at(static_cast<std::size_t>(at++)) = static_cast<std::uint8_t>(c);
        m_bytes.at(static_cast<std::size_t>(at)) = 0;
    };
    m_bytes.at(static_cast<std::size_t>(base + 0x50)) = version;
    put(base + 0x60, language);
    put(base + 0x70, model);
    put(probe, marker);
    return *this;
}

ImageBuilder& ImageBuilder::identityOf(std::string_view fwId, std::int32_t probe)
{
    const auto v = fwId.find(" v");
    const auto blank = fwId.find(' ', v + 2);
    const std::string version(fwId.substr(v + 2, blank - v - 2));
    return identity(fwId.substr(0, v), static_cast<std::uint8_t>(std::stoi(version, nullptr, 16)),
                    fwId.substr(blank + 1), probe);
}

ImageBuilder& ImageBuilder::bytes(std::int32_t at, std::initializer_list<std::uint8_t> values)
{
    for (const std::uint8_t b : values)
        m_bytes.at(static_cast<std::size_t>(at++)) = b;
    return *this;
}

ImageBuilder& ImageBuilder::units(std::int32_t at, std::u16string_view text)
{
    for (const char16_t c : text) {
        m_bytes.at(static_cast<std::size_t>(at++)) = static_cast<std::uint8_t>(c & 0xFF);
        m_bytes.at(static_cast<std::size_t>(at++)) = static_cast<std::uint8_t>(c >> 8);
    }
    return *this;
}

std::int32_t addressOf(std::int32_t offset, std::int32_t imageSize, std::int32_t correction)
{
    return offset + 0x1000000 - imageSize - correction;
}

ImageBuilder& ImageBuilder::entry(std::int32_t at, std::uint8_t count, std::int32_t target,
                                  std::int32_t correction)
{
    const std::int32_t a = addressOf(target, static_cast<std::int32_t>(m_bytes.size()), correction);
    const std::int32_t page = a / 0x4000;
    const std::int32_t inPage = a % 0x4000;
    return bytes(at,
                 {count, 0, static_cast<std::uint8_t>(inPage & 0xFF), static_cast<std::uint8_t>(inPage >> 8),
                  static_cast<std::uint8_t>(page & 0xFF), static_cast<std::uint8_t>(page >> 8)});
}

ImageBuilder& ImageBuilder::layouts(const FirmwareDescriptor& d, const LayoutTexts& texts,
                                    std::int32_t correction)
{
    const auto len = [](const std::u16string& s) { return static_cast<std::uint8_t>(s.size()); };
    // shared keys, once
    std::int32_t shared[kKeys] = {};
    std::int32_t at = d.sharedStorage;
    for (const int key : {0, 1, 10, 11}) {
        if (d.newGeneration && key == 11)
            break;
        shared[key] = at;
        units(at, texts.at(Layout::englishUpper, key));
        at += 2 * static_cast<std::int32_t>(texts.at(Layout::englishUpper, key).size());
    }
    const auto pass = [&](std::int32_t table, std::int32_t& data, Layout a) {
        for (int key = 0; key < kKeys; ++key) {
            const std::u16string& text = texts.at(a, key);
            const bool isShared = key < 2 || key > 9;
            if (d.newGeneration && key == 11)
                continue;
            const std::int32_t slot = d.newGeneration && key == 10 ? d.key10Entry : table + 6 * key;
            if (d.newGeneration && key == 10) // the tables' own key-10 slots stay empty and point nowhere
                bytes(table + 6 * key, {0, 0, 0, 0, 0, 0});
            const std::u16string& stored = isShared ? texts.at(Layout::englishUpper, key) : text;
            if (isShared) {
                entry(slot, len(stored), shared[key], correction);
            } else {
                entry(slot, len(stored), data, correction);
                units(data, stored);
                data += 2 * static_cast<std::int32_t>(stored.size());
            }
        }
    };
    std::int32_t eng = d.englishStorage;
    pass(d.englishTable, eng, Layout::englishUpper);
    pass(d.englishTable + 72, eng, Layout::englishLower);
    if (d.hasRussian) {
        std::int32_t rus = d.russianStorage;
        pass(d.russianTable, rus, Layout::russianUpper);
        pass(d.russianTable + 72, rus, Layout::russianLower);
    }
    return *this;
}

ImageBuilder& ImageBuilder::firmwareLayouts(const FirmwareDescriptor& d, const LayoutTexts& texts,
                                            std::int32_t correction, bool furtherTable)
{
    struct Key
    {
        std::int32_t entry;
        std::u16string text;
    };
    const auto below = [&](std::int32_t end, const std::vector<Key>& keys) {
        std::int32_t at = end;
        for (const Key& k : keys)
            at -= 2 * static_cast<std::int32_t>(k.text.size());
        for (const Key& k : keys) {
            entry(k.entry, static_cast<std::uint8_t>(k.text.size()), at, correction);
            units(at, k.text);
            at += 2 * static_cast<std::int32_t>(k.text.size());
        }
    };
    const auto letters = [&](std::int32_t table, Layout upper, Layout lower) {
        std::vector<Key> keys;
        for (const auto& [layout, a] : {std::pair{0, upper}, std::pair{72, lower}})
            for (int key = 2; key <= 9; ++key)
                keys.push_back({table + layout + 6 * key, texts.at(a, key)});
        return keys;
    };
    const std::int32_t e = d.englishTable;
    std::vector<int> shared{0, 1};
    if (!d.newGeneration)
        shared.insert(shared.end(), {10, 11});
    std::vector<Key> english;
    for (const int key : shared)
        english.push_back({e + 6 * key, texts.at(Layout::englishUpper, key)});
    for (Key& k : letters(e, Layout::englishUpper, Layout::englishLower))
        english.push_back(std::move(k));
    below(e, english);

    std::vector<std::int32_t> tables{e + 72};
    if (d.hasRussian) {
        below(d.russianTable, letters(d.russianTable, Layout::russianUpper, Layout::russianLower));
        tables.insert(tables.end(), {d.russianTable, d.russianTable + 72});
    }
    if (d.newGeneration) {
        below(d.key10Entry, {{d.key10Entry, texts.at(Layout::englishUpper, 10)}});
        if (furtherTable) {
            const std::int32_t further = e + 0x124;
            const char16_t* greek[] = {u"αβγ2", u"δεζ3", u"ηθι4", u"κλμ5",
                                       u"νξο6", u"πρσ7", u"τυφ8", u"χψω9"};
            std::vector<Key> keys;
            for (int key = 2; key <= 9; ++key)
                keys.push_back({further + 6 * key, greek[key - 2]});
            below(further, keys);
            tables.push_back(further);
        }
    }
    for (const std::int32_t table : tables) {
        for (const int key : shared)
            std::copy_n(m_bytes.begin() + e + 6 * key, 6, m_bytes.begin() + table + 6 * key);
        if (d.newGeneration)
            bytes(table + 60, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    }
    if (d.newGeneration)
        bytes(e + 60, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    return *this;
}

ImageBuilder& ImageBuilder::otherTable(const FirmwareDescriptor& d, std::int32_t at, std::int32_t stringsAt,
                                       std::int32_t correction)
{
    std::vector<int> own{2, 3, 4, 5, 6, 7, 8, 9};
    if (d.newGeneration) {
        own.insert(own.end(), {0, 1});
        std::fill_n(m_bytes.begin() + at + 60, 12, std::uint8_t{0});
    } else {
        for (const int key : {0, 1, 10, 11})
            std::copy_n(m_bytes.begin() + d.englishTable + 6 * key, 6, m_bytes.begin() + at + 6 * key);
    }
    std::int32_t string = stringsAt;
    for (const int key : own) {
        entry(at + 6 * key, 2, string, correction);
        units(string, std::u16string{static_cast<char16_t>(u'α' + key), static_cast<char16_t>(u'0' + key)});
        string += 4;
    }
    return *this;
}

LayoutTexts sampleLayouts(bool newGeneration, bool hasRussian)
{
    LayoutTexts t;
    const char16_t* latin[] = {u"",     u"",     u"abc2",  u"def3", u"ghi4",
                               u"jkl5", u"mno6", u"pqrs7", u"tuv8", u"wxyz9"};
    const char16_t* cyr[] = {u"",     u"",     u"абвг2", u"деёжз3", u"ийкл4",
                             u"мно5", u"прс6", u"туфх7", u"цчшщъ8", u"ыьэюя9"};
    for (int k = 2; k <= 9; ++k) {
        std::u16string lower = latin[k];
        std::u16string upper;
        for (const char16_t c : lower)
            upper += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
        t.at(Layout::englishUpper, k) = upper + u"Ж";
        t.at(Layout::englishLower, k) = lower + u"ж";
        if (hasRussian) {
            std::u16string r = cyr[k];
            std::u16string R;
            for (const char16_t c : r)
                R += (c >= u'а' && c <= u'я') ? static_cast<char16_t>(c - 32) : (c == u'ё' ? u'Ё' : c);
            t.at(Layout::russianUpper, k) = R;
            t.at(Layout::russianLower, k) = r;
        }
    }
    const std::u16string shared[kKeys] = {
        u".,?!0-\x7F", u" 1€$", {}, {}, {}, {}, {}, {}, {}, {}, u"*/+", newGeneration ? u"" : u"#@"};
    for (const int key : {0, 1, 10, 11})
        for (const Layout a : kAllLayouts)
            t.at(a, key) = shared[key];
    return t;
}

FirmwareDescriptor descriptorOf(std::string_view fwId)
{
    const FirmwareRow* row = findFirmware(fwId);
    if (row == nullptr)
        throw std::invalid_argument("not a supported firmware");
    return completeDescriptor(*row);
}

std::vector<std::uint8_t> imageOf(std::string_view fwId, const LayoutTexts& texts, std::int32_t size)
{
    const FirmwareDescriptor d = descriptorOf(fwId);
    return ImageBuilder(size).identityOf(fwId).layouts(d, texts).build();
}

} // namespace klavoset::test
