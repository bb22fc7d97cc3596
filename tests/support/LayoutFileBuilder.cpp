// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/LayoutFileBuilder.h"

#include <string>

namespace klavoset::test {

LayoutFileBuilder& LayoutFileBuilder::line(std::u16string_view text)
{
    const auto unit = [this](char16_t c) {
        m_bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    };
    for (const char16_t c : text)
        unit(c);
    unit(u'\r');
    unit(u'\n');
    return *this;
}

LayoutFileBuilder& LayoutFileBuilder::layouts(const LayoutTexts& texts, bool hasRussian)
{
    const auto fields = [&](Layout a) {
        std::u16string s;
        for (int key = 1; key <= 9; ++key)
            s += texts.at(a, key) + u'\t';
        if (a == Layout::englishUpper)
            s += texts.at(a, 10) + u'\t' + texts.at(a, 0) + u'\t' + texts.at(a, 11);
        if (!s.empty() && s.back() == u'\t')
            s.pop_back();
        return s;
    };
    line(fields(Layout::englishUpper));
    line(fields(Layout::englishLower));
    if (hasRussian) {
        line(fields(Layout::russianUpper));
        line(fields(Layout::russianLower));
    }
    return *this;
}

LayoutFileBuilder& LayoutFileBuilder::bytes(std::initializer_list<std::uint8_t> values)
{
    m_bytes.insert(m_bytes.end(), values.begin(), values.end());
    return *this;
}

} // namespace klavoset::test
