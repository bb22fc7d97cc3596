// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "layoutfile/LayoutFile.h"

namespace klavoset {
namespace {

void putUnit(std::vector<std::uint8_t>& file, char16_t Ch)
{
    file.push_back(static_cast<std::uint8_t>(Ch & 0xFF));
    file.push_back(static_cast<std::uint8_t>(Ch >> 8));
}

} // namespace

void appendLine(std::vector<std::uint8_t>& file, std::u16string_view q)
{
    for (std::size_t i = 0; i < q.size(); ++i)
        if (i + 1 != q.size() || q[i] != u'\t')
            putUnit(file, q[i]);
    putUnit(file, u'\r');
    putUnit(file, u'\n');
}

std::u16string readLine(std::span<const std::uint8_t> file, std::size_t& at)
{
    std::u16string s;
    char16_t previous = 0;
    while (at + 2 <= file.size()) {
        const auto Ch = static_cast<char16_t>(file[at] | (file[at + 1] << 8));
        at += 2;
        if (previous == u'\r' && Ch == u'\n') {
            s.pop_back();
            return s;
        }
        s += Ch;
        previous = Ch;
    }
    return s;
}

void spreadLine(std::u16string_view q, std::array<std::u16string, kKeys>& r)
{
    r[1].clear();
    int j = 1;
    for (const char16_t c : q) {
        if (c == u'\t') {
            ++j;
            if (j == 11)
                j = 0;
            if (j == 1)
                j = 11;
            if (j > 11)
                return;
            r[static_cast<std::size_t>(j)].clear();
        } else {
            r[static_cast<std::size_t>(j)] += c;
        }
    }
}

LayoutLines linesOf(const LayoutTexts& texts)
{
    LayoutLines l;
    for (int i = 1; i <= 9; ++i) {
        l.englishUpper += texts.at(Layout::englishUpper, i) + u'\t';
        l.englishLower += texts.at(Layout::englishLower, i) + u'\t';
        l.russianUpper += texts.at(Layout::russianUpper, i) + u'\t';
        l.russianLower += texts.at(Layout::russianLower, i) + u'\t';
    }
    l.englishUpper += texts.at(Layout::englishUpper, 10) + u'\t' + texts.at(Layout::englishUpper, 0) + u'\t' +
                      texts.at(Layout::englishUpper, 11);
    return l;
}

std::vector<std::uint8_t> encodeLayoutFile(const LayoutLines& lines, bool hasRussian)
{
    std::vector<std::uint8_t> file;
    appendLine(file, lines.englishUpper);
    appendLine(file, lines.englishLower);
    if (hasRussian) {
        appendLine(file, lines.russianUpper);
        appendLine(file, lines.russianLower);
    }
    return file;
}

LayoutLines decodeLayoutFile(std::span<const std::uint8_t> file, bool hasRussian)
{
    LayoutLines l;
    std::size_t at = 0;
    l.englishUpper = readLine(file, at);
    l.englishLower = readLine(file, at);
    if (hasRussian) {
        l.russianUpper = readLine(file, at);
        l.russianLower = readLine(file, at);
    }
    return l;
}

} // namespace klavoset
