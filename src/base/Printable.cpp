// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Printable.h"

#include "base/Cp1251.h"

#include <cstdio>

namespace klavoset {

std::string printable(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            shown += c;
            continue;
        }
        shown += {'\\', 'x', "0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 0xF]};
    }
    return shown;
}

std::u16string shownIdentity(std::string_view id)
{
    std::u16string shown = fromCp1251(id);
    for (char16_t& c : shown)
        if (c < 0x20 || c == 0x7F)
            c = u'\uFFFD';
    return shown;
}

std::string hexOffset(std::int32_t offset)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(offset));
    return text;
}

} // namespace klavoset
