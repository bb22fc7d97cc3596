// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/KeyCodec.h"

namespace klavoset {

KeyCodec::KeyCodec(std::span<std::uint8_t> image, std::int32_t& addressCorrection, std::int32_t key10Entry,
                   bool koi)
    : m_flash(image), m_adrFix(addressCorrection), m_key10Entry(key10Entry), m_koi(koi)
{
}

std::u16string KeyCodec::decodeKey(std::int32_t& q, bool can, bool key10Slot)
{
    if (!inside(q, 6))
        return {};
    if (key10Slot && m_key10Entry != 0 && byteAt(q) == 0 && byteAt(q + 2) == 0) {
        q = m_key10Entry;
        if (!inside(q, 6))
            return {};
    }
    const int n = byteAt(q);
    const std::int32_t inPage = ((byteAt(q + 3) << 8) | byteAt(q + 2)) & 0x3FFF;
    const std::int32_t page = (byteAt(q + 5) << 8) | byteAt(q + 4);
    if (page >= 0x8000)
        return {};
    std::int64_t at =
        static_cast<std::int64_t>(page) * kPageSize + inPage - kAddressTop + flashLen() + m_adrFix;
    if (at < 0) {
        m_adrFix = 0x200000;
        at += 0x200000;
        if (at < 0) {
            m_adrFix = 0x400000;
            at += 0x200000;
        }
    }
    if (!inside(at, 2 * static_cast<std::int64_t>(n)))
        return {};
    q = static_cast<std::int32_t>(at);

    std::u16string s;
    s.reserve(static_cast<std::size_t>(n));
    for (int j = 1; j <= n; ++j) {
        const std::uint8_t low = byteAt(q);
        const auto u = static_cast<std::uint16_t>(low | (byteAt(q + 1) << 8));
        if (u == 0x000A)
            s += u'\x7F';
        else if (m_koi && can && low > 191)
            s += kKoi8Letters[static_cast<std::size_t>(low - 192)];
        else if (u >= 0x8000)
            return {};
        else
            s += static_cast<char16_t>(u);
        q += 2;
    }
    return s;
}

void KeyCodec::putPointer(std::int32_t at, std::int32_t imageOffset)
{
    const std::int32_t A = imageOffset + kAddressTop - flashLen() - m_adrFix;
    const std::int32_t inPage = A & (kPageSize - 1);
    const std::int32_t page = (A - inPage) / kPageSize;
    m_flash[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(inPage & 0xFF);
    m_flash[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(inPage >> 8);
    m_flash[static_cast<std::size_t>(at) + 2] = static_cast<std::uint8_t>(page & 0xFF);
    m_flash[static_cast<std::size_t>(at) + 3] = static_cast<std::uint8_t>((page >> 8) & 0xFF);
}

void KeyCodec::encodeKey(std::int32_t& Pos, std::int32_t& dataAt, std::u16string_view r, bool can)
{
    m_flash[static_cast<std::size_t>(Pos)] = static_cast<std::uint8_t>(r.size());
    m_flash[static_cast<std::size_t>(Pos) + 1] = 0;
    putPointer(Pos + 2, dataAt);
    Pos += 6;
    for (char16_t ch : r) {
        std::uint16_t Ch = ch;
        if (m_koi && can) {
            const auto at = kKoi8Letters.find(ch);
            if (at != std::u16string_view::npos)
                Ch = static_cast<std::uint16_t>(at + 192);
        }
        if (Ch == 0x007F)
            Ch = 0x000A;
        m_flash[static_cast<std::size_t>(dataAt)] = static_cast<std::uint8_t>(Ch & 0xFF);
        m_flash[static_cast<std::size_t>(dataAt) + 1] = static_cast<std::uint8_t>(Ch >> 8);
        dataAt += 2;
    }
}

} // namespace klavoset
