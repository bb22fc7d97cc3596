// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/KeyCodec.h"

#include "image/PagedPointer.h"

#include <utility>

namespace klavoset {

KeyCodec::KeyCodec(std::span<std::uint8_t> image, std::int32_t& addressCorrection, std::int32_t key10Entry,
                   bool koi)
    : m_image(image), m_addressCorrection(addressCorrection), m_key10Entry(key10Entry), m_koi(koi)
{
}

DecodedKey KeyCodec::decodeKey(std::int32_t entry, bool koiCapable, bool key10Slot)
{
    if (!inside(entry, 6))
        return {{}, entry};
    if (key10Slot && m_key10Entry != 0 && byteAt(entry) == 0 && byteAt(entry + 2) == 0) {
        entry = m_key10Entry;
        if (!inside(entry, 6))
            return {{}, entry};
    }
    const int count = byteAt(entry);
    const std::int64_t address =
        pointerAddress(static_cast<std::uint32_t>(byteAt(entry + 3) << 8 | byteAt(entry + 2)),
                       static_cast<std::uint32_t>(byteAt(entry + 5) << 8 | byteAt(entry + 4)));
    if (address < 0)
        return {{}, entry};
    const SettledOffset settled =
        settleCorrection(imageOffsetOf(address, imageSize(), m_addressCorrection), m_addressCorrection);
    m_addressCorrection = settled.correction;
    const std::int64_t at = settled.offset;
    if (!inside(at, 2 * static_cast<std::int64_t>(count)))
        return {{}, entry};
    entry = static_cast<std::int32_t>(at);

    std::u16string decoded;
    decoded.reserve(static_cast<std::size_t>(count));
    for (int j = 1; j <= count; ++j) {
        const std::uint8_t low = byteAt(entry);
        const auto u = static_cast<std::uint16_t>(low | (byteAt(entry + 1) << 8));
        if (u == 0x000A)
            decoded += u'\x7F';
        else if (m_koi && koiCapable && low > 191)
            decoded += kKoi8Letters[static_cast<std::size_t>(low - 192)];
        else if (u >= 0x8000)
            return {{}, entry};
        else
            decoded += static_cast<char16_t>(u);
        entry += 2;
    }
    return {std::move(decoded), entry};
}

void KeyCodec::putPointer(std::int32_t at, std::int32_t imageOffset)
{
    const std::int64_t address = addressOfOffset(imageOffset, imageSize(), m_addressCorrection);
    const std::int64_t inPage = address & (kPageSize - 1);
    const std::int64_t page = (address - inPage) / kPageSize;
    m_image[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(inPage & 0xFF);
    m_image[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(inPage >> 8);
    m_image[static_cast<std::size_t>(at) + 2] = static_cast<std::uint8_t>(page & 0xFF);
    m_image[static_cast<std::size_t>(at) + 3] = static_cast<std::uint8_t>((page >> 8) & 0xFF);
}

void KeyCodec::encodeKey(std::int32_t& entryAt, std::int32_t& dataAt, std::u16string_view text,
                         bool koiCapable)
{
    m_image[static_cast<std::size_t>(entryAt)] = static_cast<std::uint8_t>(text.size());
    m_image[static_cast<std::size_t>(entryAt) + 1] = 0;
    putPointer(entryAt + 2, dataAt);
    entryAt += 6;
    for (char16_t ch : text) {
        std::uint16_t stored = ch;
        if (m_koi && koiCapable) {
            const auto at = kKoi8Letters.find(ch);
            if (at != std::u16string_view::npos)
                stored = static_cast<std::uint16_t>(at + 192);
        }
        if (stored == 0x007F)
            stored = 0x000A;
        m_image[static_cast<std::size_t>(dataAt)] = static_cast<std::uint8_t>(stored & 0xFF);
        m_image[static_cast<std::size_t>(dataAt) + 1] = static_cast<std::uint8_t>(stored >> 8);
        dataAt += 2;
    }
}

} // namespace klavoset
