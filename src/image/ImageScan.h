// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"
#include "image/PagedPointer.h"

#include <cstdint>
#include <optional>
#include <span>

namespace klavoset {

// `bytes` bytes of the image from `at`.
struct ByteArea
{
    std::int64_t from = 0;
    std::int64_t to = 0; // exclusive

    [[nodiscard]] bool holds(std::int64_t at, std::int64_t bytes) const
    {
        return at >= from && at + bytes <= to;
    }
    [[nodiscard]] bool meets(const ByteArea& o) const { return from < o.to && o.from < to; }
};

// A key's string: where it starts and how many bytes it takes.
struct KeyString
{
    std::int64_t at = 0;
    std::int64_t bytes = 0;

    [[nodiscard]] ByteArea area() const { return {at, at + bytes}; }
};

// The image as the finder reads it: bytes, entries and paged pointers, never outside the image.
class ImageBytes
{
  public:
    explicit ImageBytes(std::span<const std::uint8_t> image)
        : m_bytes(image.data()), m_size(static_cast<std::int64_t>(image.size()))
    {
    }

    [[nodiscard]] std::int64_t size() const { return m_size; }
    [[nodiscard]] const std::uint8_t* data() const { return m_bytes; }
    [[nodiscard]] std::uint32_t byte(std::int64_t at) const { return m_bytes[at]; }
    [[nodiscard]] bool inside(std::int64_t at, std::int64_t bytes) const
    {
        return at >= 0 && at + bytes <= m_size;
    }
    [[nodiscard]] bool sameBytes(std::int64_t a, std::int64_t b, std::int64_t bytes) const
    {
        for (std::int64_t i = 0; i < bytes; ++i)
            if (m_bytes[a + i] != m_bytes[b + i])
                return false;
        return true;
    }

    // The address of the paged pointer at `at`, or −1 for a page the phone cannot have.
    [[nodiscard]] std::int64_t addressAt(std::int64_t at) const
    {
        return pointerAddress(byte(at) | byte(at + 1) << 8, byte(at + 2) | byte(at + 3) << 8);
    }
    [[nodiscard]] std::int64_t offsetOf(std::int64_t address, std::int32_t correction) const
    {
        return imageOffsetOf(address, m_size, correction);
    }

    // The string of the entry at `at`, when the entry is well formed and its string lies inside the image
    // where the decoder finds it: starting without a correction, it settles on this one for the entry.
    [[nodiscard]] std::optional<KeyString> keyAt(std::int64_t at, std::int32_t correction) const
    {
        if (!inside(at, kEntryBytes) || byte(at + 1) != 0)
            return std::nullopt;
        const std::int64_t address = addressAt(at + 2);
        if (address < 0 || settleCorrection(offsetOf(address, 0), 0).correction != correction)
            return std::nullopt;
        const KeyString key{offsetOf(address, correction), 2 * static_cast<std::int64_t>(byte(at))};
        if (!inside(key.at, key.bytes))
            return std::nullopt;
        return key;
    }
    // The entry that sends the decoder to the key-10 entry: count 0 and in-page low byte 0.
    [[nodiscard]] bool key10Slot(std::int64_t at) const
    {
        return inside(at, kEntryBytes) && byte(at) == 0 && byte(at + 2) == 0;
    }

  private:
    const std::uint8_t* m_bytes;
    std::int64_t m_size;
};

// What the one read through the image reports.
class ScanSink
{
  public:
    virtual ~ScanSink() = default;
    // An entry start whose pointer may lead to a string on its page or a neighbouring one: a letter key of
    // a key table.
    virtual void letterEntry(std::int64_t at) = 0;
    // A pointer that may start three WAP records.
    virtual void wapPointer(std::int64_t at) = 0;
    // The scan ends early once the sink knows its answer.
    [[nodiscard]] virtual bool stopped() const = 0;
};

// One read through the image that finds the places worth a closer look, eight bytes at a time.
void scanImage(const ImageBytes& image, ScanSink& sink);

} // namespace klavoset
