// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/RandomLayouts.h"

#include <algorithm>
#include <string_view>

namespace klavoset::test {
namespace {

constexpr std::u16string_view kKoiLetters =
    u"юабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";

} // namespace

char16_t RandomLayouts::character(bool english, bool koi)
{
    for (;;) {
        char16_t c = 0;
        const int kind = below(10);
        if (kind < 4)
            c = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[below(62)];
        else if (kind < 7)
            c = below(20) == 0 ? (below(2) == 0 ? u'Ё' : u'ё') : static_cast<char16_t>(0x0410 + below(64));
        else if (kind < 8)
            c = u" .,?!-+*/#@'\"()\x7F€$"[below(18)];
        else
            c = static_cast<char16_t>(below(0x8000));
        if (c == u'\n')
            continue;
        if (english && koi && (c & 0xFF) > 191 && kKoiLetters.find(c) == std::u16string_view::npos)
            continue;
        return c;
    }
}

std::u16string RandomLayouts::text(std::size_t length, bool english, bool koi)
{
    std::u16string s;
    for (std::size_t i = 0; i < length; ++i)
        s += character(english, koi);
    return s;
}

std::vector<std::size_t> RandomLayouts::split(int total, int parts)
{
    std::vector<int> cuts{0, total};
    for (int i = 1; i < parts; ++i)
        cuts.push_back(below(total + 1));
    std::sort(cuts.begin(), cuts.end());
    std::vector<std::size_t> lengths;
    for (int i = 0; i < parts; ++i)
        lengths.push_back(static_cast<std::size_t>(cuts[static_cast<std::size_t>(i) + 1] -
                                                   cuts[static_cast<std::size_t>(i)]));
    std::shuffle(lengths.begin(), lengths.end(), m_random);
    return lengths;
}

int RandomLayouts::total(int cap)
{
    const int kind = below(10);
    return kind == 0 ? 0 : kind == 1 ? cap : below(cap + 1);
}

LayoutTexts RandomLayouts::fitting(const FirmwareDescriptor& d, bool hasRussian, bool koi)
{
    LayoutTexts t;
    const auto letters = [&](Layout upper, Layout lower, int cap, bool english) {
        const std::vector<std::size_t> n = split(total(cap), 16);
        for (int k = 2; k <= 9; ++k) {
            t.at(upper, k) = text(n[static_cast<std::size_t>(k - 2)], english, koi);
            t.at(lower, k) = text(n[static_cast<std::size_t>(k + 6)], english, koi);
        }
    };
    letters(Layout::englishUpper, Layout::englishLower, 136, true);
    if (hasRussian)
        letters(Layout::russianUpper, Layout::russianLower, 138, false);

    const int sharedKeys = d.newGeneration ? 3 : 4;
    std::vector<std::size_t> n = split(total(d.sharedCapacity), sharedKeys);
    if (hasRussian && n[0] > 17) {
        n[1] += n[0] - 17;
        n[0] = 17;
    }
    const int keys[] = {0, 1, 10, 11};
    for (int i = 0; i < sharedKeys; ++i) {
        const std::u16string s = text(n[static_cast<std::size_t>(i)], true, koi);
        for (const Layout a : kAllLayouts)
            t.at(a, keys[i]) = s;
    }
    return t;
}

std::int64_t RandomLayouts::wapBytes(const LayoutTexts& t, Layout upper, Layout lower)
{
    std::int64_t n = 0;
    for (int key = 0; key < kKeys; ++key)
        for (const Layout a : {upper, lower}) {
            for (const char16_t c : t.at(a, key))
                n += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
            n += 1;
        }
    return n;
}

} // namespace klavoset::test
