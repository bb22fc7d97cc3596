// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "layoutfile/LayoutFile.h"

namespace klavoset {
namespace {

void putUnit(std::vector<std::uint8_t>& file, char16_t unit)
{
    file.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    file.push_back(static_cast<std::uint8_t>(unit >> 8));
}

} // namespace

void appendLine(std::vector<std::uint8_t>& file, std::u16string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if (i + 1 != line.size() || line[i] != u'\t')
            putUnit(file, line[i]);
    putUnit(file, u'\r');
    putUnit(file, u'\n');
}

std::u16string readLine(std::span<const std::uint8_t> file, std::size_t& at)
{
    std::u16string s;
    char16_t previous = 0;
    while (at + 2 <= file.size()) {
        const auto unit = static_cast<char16_t>(file[at] | (file[at + 1] << 8));
        at += 2;
        if (previous == u'\r' && unit == u'\n') {
            s.pop_back();
            return s;
        }
        s += unit;
        previous = unit;
    }
    return s;
}

void spreadLine(std::u16string_view line, std::array<std::u16string, kKeys>& fields)
{
    fields[1].clear();
    int j = 1;
    for (const char16_t c : line) {
        if (c == u'\t') {
            ++j;
            if (j == 11)
                j = 0;
            if (j == 1)
                j = 11;
            if (j > 11)
                return;
            fields[static_cast<std::size_t>(j)].clear();
        } else {
            fields[static_cast<std::size_t>(j)] += c;
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
