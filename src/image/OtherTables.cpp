// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/OtherTables.h"

#include "image/ImageScan.h"

#include <algorithm>
#include <array>
#include <optional>

namespace klavoset {
namespace {

constexpr std::array<int, 4> kSharedKeyIndexes = {0, 1, 10, 11};

// The string of a well-formed entry at `at` under this correction, when it lies inside the image.
std::optional<KeyString> stringOf(const ImageBytes& image, std::int64_t at, std::int32_t correction)
{
    if (!image.inside(at, kEntryBytes) || image.byte(at + 1) != 0)
        return std::nullopt;
    const std::int64_t address = image.addressAt(at + 2);
    if (address < 0)
        return std::nullopt;
    const KeyString key{image.offsetOf(address, correction), 2 * std::int64_t{image.byte(at)}};
    if (!image.inside(key.at, key.bytes))
        return std::nullopt;
    return key;
}

class Scan
{
  public:
    Scan(std::span<const std::uint8_t> image, const FirmwareDescriptor& d)
        : m_image(image), m_english(d.englishTable), m_newGeneration(d.newGeneration)
    {
    }

    // The English table's shared entries are worth comparing with: real ones, not erased or blank bytes.
    [[nodiscard]] bool sharedKeysUsable() const
    {
        return m_image.inside(m_english, kTableBytes) && m_image.byte(m_english + 1) == 0 &&
               m_image.byte(m_english + kEntryBytes + 1) == 0 &&
               !m_image.sameBytes(m_english, m_english + kEntryBytes, kEntryBytes);
    }

    [[nodiscard]] bool isTable(std::int64_t at) const
    {
        if (!m_image.inside(at, kOtherTableBytes))
            return false;
        for (int key = 2; key <= 9; ++key)
            if (!leadsInside(at + kEntryBytes * key))
                return false;
        if (m_newGeneration)
            // A save gives the English table's keys 0 and 1 new strings and leaves those of the other
            // tables where they were, so theirs need only lead somewhere.
            return zeroEntry(at + kEntryBytes * 10) && zeroEntry(at + kEntryBytes * 11) && leadsInside(at) &&
                   leadsInside(at + kEntryBytes);
        for (const int key : kSharedKeyIndexes)
            if (!m_image.sameBytes(at + kEntryBytes * key, m_english + kEntryBytes * key, kEntryBytes))
                return false;
        return true;
    }

  private:
    [[nodiscard]] bool zeroEntry(std::int64_t at) const
    {
        for (std::int64_t i = 0; i < kEntryBytes; ++i)
            if (m_image.byte(at + i) != 0)
                return false;
        return true;
    }
    // An entry whose string lies inside the image under one of the address corrections.
    [[nodiscard]] bool leadsInside(std::int64_t at) const
    {
        return std::any_of(
            kAddressCorrections.begin(), kAddressCorrections.end(),
            [&](std::int32_t correction) { return stringOf(m_image, at, correction).has_value(); });
    }

    ImageBytes m_image;
    std::int64_t m_english;
    bool m_newGeneration;
};

} // namespace

OtherTable otherTableAt(std::span<const std::uint8_t> image, std::int32_t offset,
                        std::int32_t addressCorrection)
{
    const ImageBytes bytes(image);
    OtherTable table{offset, {{offset, kOtherTableBytes}}};
    for (int key = 0; key < kOtherTableBytes / kEntryBytes; ++key) {
        const auto string = stringOf(bytes, std::int64_t{offset} + kEntryBytes * key, addressCorrection);
        if (string && string->bytes > 0)
            table.areas.push_back(
                {static_cast<std::int32_t>(string->at), static_cast<std::int32_t>(string->bytes)});
    }
    return table;
}

std::vector<std::int32_t> findOtherTables(std::span<const std::uint8_t> image, const FirmwareDescriptor& d,
                                          bool hasRussian)
{
    const Scan scan(image, d);
    std::vector<std::int32_t> found;
    // The newer generation's tables are told by their zero entries for keys 10 and 11, without the English
    // table's shared ones.
    if (!d.newGeneration && !scan.sharedKeysUsable())
        return found;
    std::vector<ImageArea> fillable = {{d.englishStorage, kEnglishStorageBytes},
                                       {d.sharedStorage, sharedStorageBytes(d)}};
    if (hasRussian)
        fillable.push_back({d.russianStorage, kRussianStorageBytes});
    if (d.wapAvailable)
        fillable.push_back({d.wapStorage, d.wapCapacity});
    // The English and Russian tables never meet these areas: a descriptor's areas do not overlap.
    for (const ImageArea& area : fillable)
        for (std::int64_t at = std::int64_t{area.offset} - kOtherTableBytes + 1;
             at < std::int64_t{area.offset} + area.size; ++at)
            if (scan.isTable(at))
                found.push_back(static_cast<std::int32_t>(at));
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace klavoset
