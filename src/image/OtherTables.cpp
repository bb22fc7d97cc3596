// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/OtherTables.h"

#include "image/PagedPointer.h"

#include <algorithm>
#include <array>

namespace klavoset {
namespace {

constexpr std::array<int, 4> kSharedKeyIndexes = {0, 1, 10, 11};
constexpr std::array<std::uint8_t, kEntryBytes> kZeroEntry{};

class Scan
{
  public:
    Scan(std::span<const std::uint8_t> image, const FirmwareDescriptor& d)
        : m_image(image), m_size(static_cast<std::int64_t>(image.size())), m_english(d.englishTable),
          m_newGeneration(d.newGeneration)
    {
    }

    [[nodiscard]] bool inside(std::int64_t at, std::int64_t bytes) const
    {
        return at >= 0 && at + bytes <= m_size;
    }

    // The English table's shared entries are worth comparing with: real ones, not erased or blank bytes.
    [[nodiscard]] bool sharedKeysUsable() const
    {
        if (!inside(m_english, kTableBytes) || byte(m_english + 1) != 0 ||
            byte(m_english + kEntryBytes + 1) != 0)
            return false;
        return !std::equal(entry(m_english, 0), entry(m_english, 0) + kEntryBytes, entry(m_english, 1));
    }

    [[nodiscard]] bool isTable(std::int64_t at) const
    {
        if (!inside(at, kOtherTableBytes))
            return false;
        for (int key = 2; key <= 9; ++key)
            if (!leadsInside(at + kEntryBytes * key))
                return false;
        if (m_newGeneration)
            // A save gives the English table's keys 0 and 1 new strings and leaves those of the other
            // tables where they were, so theirs need only lead somewhere.
            return sameEntry(at, 10, kZeroEntry.data()) && sameEntry(at, 11, kZeroEntry.data()) &&
                   leadsInside(at) && leadsInside(at + kEntryBytes);
        for (const int key : kSharedKeyIndexes)
            if (!sameEntry(at, key, entry(m_english, key)))
                return false;
        return true;
    }

  private:
    [[nodiscard]] std::uint32_t byte(std::int64_t at) const { return m_image[static_cast<std::size_t>(at)]; }
    [[nodiscard]] const std::uint8_t* entry(std::int64_t table, int key) const
    {
        return m_image.data() + table + kEntryBytes * key;
    }
    [[nodiscard]] bool sameEntry(std::int64_t table, int key, const std::uint8_t* other) const
    {
        return std::equal(entry(table, key), entry(table, key) + kEntryBytes, other);
    }
    // An entry whose string lies inside the image under one of the address corrections.
    [[nodiscard]] bool leadsInside(std::int64_t at) const
    {
        const std::int64_t address =
            pointerAddress(byte(at + 2) | byte(at + 3) << 8, byte(at + 4) | byte(at + 5) << 8);
        if (byte(at + 1) != 0 || address < 0)
            return false;
        return std::any_of(
            kAddressCorrections.begin(), kAddressCorrections.end(), [&](std::int32_t correction) {
                return inside(imageOffsetOf(address, m_size, correction), 2 * std::int64_t{byte(at)});
            });
    }

    std::span<const std::uint8_t> m_image;
    std::int64_t m_size;
    std::int64_t m_english;
    bool m_newGeneration;
};

} // namespace

OtherTable otherTableAt(std::span<const std::uint8_t> image, std::int32_t offset,
                        std::int32_t addressCorrection)
{
    OtherTable table{offset, {{offset, kOtherTableBytes}}};
    const auto size = static_cast<std::int64_t>(image.size());
    const auto byte = [&](std::int64_t at) -> std::uint32_t { return image[static_cast<std::size_t>(at)]; };
    for (int key = 0; key < kOtherTableBytes / kEntryBytes; ++key) {
        const std::int64_t at = std::int64_t{offset} + kEntryBytes * key;
        if (at < 0 || at + kEntryBytes > size)
            continue;
        const std::int64_t bytes = 2 * std::int64_t{byte(at)};
        const std::int64_t address =
            pointerAddress(byte(at + 2) | byte(at + 3) << 8, byte(at + 4) | byte(at + 5) << 8);
        if (bytes == 0 || byte(at + 1) != 0 || address < 0)
            continue;
        const std::int64_t string = imageOffsetOf(address, size, addressCorrection);
        if (string >= 0 && string + bytes <= size)
            table.areas.push_back({static_cast<std::int32_t>(string), static_cast<std::int32_t>(bytes)});
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
