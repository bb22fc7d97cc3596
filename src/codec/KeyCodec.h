// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {

// The 64 Cyrillic letters in KOI8-R order of the codes 0xC0..0xFF.
inline constexpr std::u16string_view kKoi8Letters =
    u"юабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";

// A decoded key: its text and the image offset just past its string.
struct DecodedKey
{
    std::u16string text;
    std::int32_t end = 0;
};

// The stored form of one key: a 6-byte entry (count, 0, in-page offset, page) pointing at 16-bit units
// elsewhere in the image. The codec works on the in-memory image only and never touches a file.
class KeyCodec
{
  public:
    // `addressCorrection` is the editor's address correction; the decoder may settle it, the encoder uses it.
    // `koi` is the check mark of the KOI8 option at the moment of conversion.
    KeyCodec(std::span<std::uint8_t> image, std::int32_t& addressCorrection, std::int32_t key10Entry,
             bool koi);

    // Decodes the key whose entry is at `entry`. `koiCapable`: the layout
    // is an English one, whose Cyrillic letters the KOI8 option stores as KOI8-R codes. Any failure (entry,
    // pointer or string outside the image, a page or unit of 0x8000 or more) gives the empty text. An entry
    // with count 0 and in-page low byte 0 is taken from key10Entry only where that applies: in a key-10 slot
    // of newer-generation firmware (key10Entry != 0). Elsewhere it is decoded in place.
    [[nodiscard]] DecodedKey decodeKey(std::int32_t entry, bool koiCapable, bool key10Slot);

    // Writes the entry at entryAt and the units at dataAt, advancing both. The caller guarantees that text
    // has at most 255 units, all below U+8000, and that entry and units lie inside the image.
    void encodeKey(std::int32_t& entryAt, std::int32_t& dataAt, std::u16string_view text, bool koiCapable);

    // The 4-byte pointer (in-page offset low, high, page low, high) to an image offset.
    void putPointer(std::int32_t at, std::int32_t imageOffset);

  private:
    [[nodiscard]] std::int32_t imageSize() const { return static_cast<std::int32_t>(m_image.size()); }
    [[nodiscard]] bool inside(std::int64_t at, std::int64_t size) const
    {
        return at >= 0 && at + size <= static_cast<std::int64_t>(m_image.size());
    }
    [[nodiscard]] std::uint8_t byteAt(std::int32_t at) const { return m_image[static_cast<std::size_t>(at)]; }

    std::span<std::uint8_t> m_image;
    std::int32_t& m_addressCorrection;
    std::int32_t m_key10Entry;
    bool m_koi;
};

} // namespace klavoset
