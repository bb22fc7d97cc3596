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

void PutStr(std::vector<std::uint8_t>& file, std::u16string_view q)
{
    for (std::size_t i = 0; i < q.size(); ++i)
        if (i + 1 != q.size() || q[i] != u'\t')
            putUnit(file, q[i]);
    putUnit(file, u'\r');
    putUnit(file, u'\n');
}

std::u16string GetStr(std::span<const std::uint8_t> file, std::size_t& at)
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

void Parse(std::u16string_view q, std::array<std::u16string, kKeys>& r)
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
        l.LineEB += texts.at(KeyArray::eb, i) + u'\t';
        l.LineEM += texts.at(KeyArray::em, i) + u'\t';
        l.LineRB += texts.at(KeyArray::rb, i) + u'\t';
        l.LineRM += texts.at(KeyArray::rm, i) + u'\t';
    }
    l.LineEB +=
        texts.at(KeyArray::eb, 10) + u'\t' + texts.at(KeyArray::eb, 0) + u'\t' + texts.at(KeyArray::eb, 11);
    return l;
}

std::vector<std::uint8_t> encodeLayoutFile(const LayoutLines& lines, bool HasRus)
{
    std::vector<std::uint8_t> file;
    PutStr(file, lines.LineEB);
    PutStr(file, lines.LineEM);
    if (HasRus) {
        PutStr(file, lines.LineRB);
        PutStr(file, lines.LineRM);
    }
    return file;
}

LayoutLines decodeLayoutFile(std::span<const std::uint8_t> file, bool HasRus)
{
    LayoutLines l;
    std::size_t at = 0;
    l.LineEB = GetStr(file, at);
    l.LineEM = GetStr(file, at);
    if (HasRus) {
        l.LineRB = GetStr(file, at);
        l.LineRM = GetStr(file, at);
    }
    return l;
}

} // namespace klavoset
