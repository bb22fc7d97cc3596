// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/KeyTableRules.h"

#include "image/FirmwareCatalog.h"
#include "image/Identify.h"

#include <algorithm>
#include <vector>

namespace klavoset {
namespace {

constexpr std::int64_t kLowerCase = 72; // the lower-case layout's entries follow the upper-case ones
constexpr std::int64_t kLayouts[] = {0, kLowerCase};
constexpr int kFirstLetter = 2;
constexpr int kLastLetter = 9;
constexpr int kLettersPerLayout = kLastLetter - kFirstLetter + 1;
constexpr int kNewerSharedKeys[] = {0, 1};
constexpr int kOlderSharedKeys[] = {0, 1, 10, 11};
constexpr std::int64_t kKey10Slot = kEntryBytes * 10;
// In every row of the newer generation key10Entry lies this far above englishTable.
constexpr std::int64_t kKey10Distance = 0xA2E;
// How far above englishTable the older generation's Russian table is looked for (every row: 0x468).
constexpr std::int64_t kOlderRussianReach = 0x1000;
// A table's letters lie within this distance of it: below it where the firmware keeps them (a model's
// strings may start a little lower than another's), above the English table after a save.
constexpr std::int64_t kLetterReach = 0x200;
// So a letter entry's string lies at most this far from the entry: on its page or a neighbouring one, which
// is all the scan looks for.
constexpr std::int64_t kLetterEntryReach = kLetterReach + kTableBytes;
static_assert(kLetterEntryReach < kPageSize, "the scan passes on entries whose page is near their own");
// English tables whose Russian table is searched; more say the image is not one the finder knows.
constexpr int kMaxEnglishTables = 64;
// A place with this many letters of each layout below it is a Russian table, even when damaged; the
// further tables of one layout that firmware keeps among its key tables never have both.
constexpr int kRussianLikeLetters = 2;

FirmwareRow rowOf(bool newGeneration, bool hasRussian, std::int64_t englishTable, std::int64_t russianTable)
{
    FirmwareRow row{};
    row.newGeneration = newGeneration;
    row.hasRussian = hasRussian;
    row.englishTable = static_cast<std::int32_t>(englishTable);
    row.russianTable = static_cast<std::int32_t>(russianTable);
    row.key10Entry = newGeneration ? static_cast<std::int32_t>(englishTable + kKey10Distance) : 0;
    return row;
}

// The descriptor the rules of completeDescriptor give for tables at these places, so that the finder
// follows those rules rather than copies of them. russianTable 0 on the older generation: the derived one.
FirmwareDescriptor areasOf(bool newGeneration, std::int64_t englishTable, std::int64_t russianTable)
{
    return completeDescriptor(rowOf(newGeneration, true, englishTable, russianTable));
}

bool sameTables(const FirmwareRow& a, const FirmwareRow& b)
{
    return a.newGeneration == b.newGeneration && a.hasRussian == b.hasRussian &&
           a.englishTable == b.englishTable && a.russianTable == b.russianTable &&
           a.key10Entry == b.key10Entry;
}

ByteArea tableArea(std::int64_t table) { return {table, table + kTableBytes}; }

// A string within reach of its table, never inside it.
bool nearTable(const KeyString& key, std::int64_t table)
{
    const ByteArea reach{table - kLetterReach, table + kTableBytes + kLetterReach};
    return reach.holds(key.at, key.bytes) && !key.area().meets(tableArea(table));
}

} // namespace

KeyTableRules::KeyTableRules(const ImageBytes& image) : m_image(image)
{
    for (auto& byCorrection : m_tried)
        byCorrection.fill(-1);
}

void KeyTableRules::tryLetterEntry(std::int64_t at)
{
    const std::int64_t address = m_image.addressAt(at + 2);
    if (address < 0)
        return;
    for (std::size_t c = 0; c < kAddressCorrections.size(); ++c) {
        const std::int64_t reach = m_image.offsetOf(address, kAddressCorrections[c]) - at;
        if (reach == 0 || reach > kLetterEntryReach || reach < -kLetterEntryReach)
            continue;
        for (const std::int64_t layout : kLayouts)
            for (int key = kFirstLetter; key <= kLastLetter; ++key)
                tryEnglishTable(at - layout - kEntryBytes * key, c);
    }
}

void KeyTableRules::tryEnglishTable(std::int64_t table, std::size_t c)
{
    if (table <= 0 || stopped())
        return;
    // Neighbouring seeds name the same places; each is tried once.
    std::int64_t& tried = m_tried[c][static_cast<std::size_t>(table) % kTriedSlots];
    if (tried == table)
        return;
    tried = table;
    const std::int32_t correction = kAddressCorrections[c];
    if (!lettersNear(table, correction))
        return;
    // The generations differ in their shared keys; each tells its own.
    tryNewer(table, correction);
    tryOlder(table, correction);
}

// A letter never points at address 0: zeros are entries of no characters there, which is the first byte of
// a 16 MiB image, so without this every place in the zeros at its start would fit.
bool KeyTableRules::lettersNear(std::int64_t table, std::int32_t correction) const
{
    for (const std::int64_t layout : kLayouts)
        for (int key = kFirstLetter; key <= kLastLetter; ++key) {
            const std::int64_t entry = table + layout + kEntryBytes * key;
            const std::optional<KeyString> k = m_image.keyAt(entry, correction);
            if (!k || m_image.addressAt(entry + 2) == 0 || !nearTable(*k, table))
                return false;
        }
    return true;
}

// Of each layout, how many letters lie below the table within reach, apart from the English table.
std::array<int, 2> KeyTableRules::lettersBelow(std::int64_t table, std::int64_t english,
                                               std::int32_t correction, bool stopAtFirstMiss) const
{
    const ByteArea below{table - kLetterReach, table};
    std::array<int, 2> fitting{};
    for (std::size_t layout = 0; layout < 2; ++layout)
        for (int key = kFirstLetter; key <= kLastLetter; ++key) {
            const std::optional<KeyString> k =
                m_image.keyAt(table + kLayouts[layout] + kEntryBytes * key, correction);
            if (k && below.holds(k->at, k->bytes) && !k->area().meets(tableArea(english)))
                ++fitting[layout];
            else if (stopAtFirstMiss)
                return fitting;
        }
    return fitting;
}

// The key-10 entry's string lies where either arrangement keeps it: in the shared storage a save fills,
// or just below the entry, where the firmware has it.
bool KeyTableRules::key10StringKept(std::int64_t english, std::int32_t correction) const
{
    const std::int64_t entry = english + kKey10Distance;
    const std::optional<KeyString> k = m_image.keyAt(entry, correction);
    if (!k)
        return false;
    const FirmwareDescriptor d = areasOf(true, english, 0);
    const ByteArea shared{d.sharedStorage, d.sharedStorage + sharedStorageBytes(d)};
    return shared.holds(k->at, k->bytes) || k->at + k->bytes == entry;
}

// A Russian table: its letters below it, its shared keys the very entries of the English table's.
bool KeyTableRules::russianTable(std::int64_t english, std::int64_t russian, bool newGeneration,
                                 std::int32_t correction) const
{
    if (lettersBelow(russian, english, correction, true)[1] != kLettersPerLayout)
        return false;
    for (const std::int64_t layout : kLayouts) {
        if (newGeneration && !m_image.key10Slot(russian + layout + kKey10Slot))
            return false;
        for (const int key :
             newGeneration ? std::span<const int>(kNewerSharedKeys) : std::span<const int>(kOlderSharedKeys))
            if (!m_image.sameBytes(russian + layout + kEntryBytes * key, english + kEntryBytes * key,
                                   kEntryBytes))
                return false;
    }
    return true;
}

void KeyTableRules::tryNewer(std::int64_t english, std::int32_t correction)
{
    const std::int64_t key10Entry = english + kKey10Distance;
    for (const int key : kNewerSharedKeys) {
        const std::int64_t at = english + kEntryBytes * key;
        const std::optional<KeyString> k = m_image.keyAt(at, correction);
        if (!k || !nearTable(*k, english) || !m_image.sameBytes(at, at + kLowerCase, kEntryBytes))
            return;
    }
    if (!m_image.key10Slot(english + kKey10Slot) || !m_image.key10Slot(english + kLowerCase + kKey10Slot) ||
        !key10StringKept(english, correction) || !searchRussianTable())
        return;
    for (std::int64_t russian = english + kTableBytes; russian + kTableBytes <= key10Entry && !stopped();
         ++russian)
        if (russianTable(english, russian, true, correction))
            add(rowOf(true, true, english, russian), correction);
}

// The older generation's shared strings lie near the English table where the firmware keeps them, or in
// the shared storage below the Russian table after a save. russian 0: the derived place.
bool KeyTableRules::olderSharedStringsKept(std::int64_t english, std::int64_t russian,
                                           std::int32_t correction) const
{
    const FirmwareDescriptor d = areasOf(false, english, russian);
    const ByteArea shared{d.sharedStorage, d.sharedStorage + sharedStorageBytes(d)};
    for (const int key : kOlderSharedKeys) {
        const std::optional<KeyString> k = m_image.keyAt(english + kEntryBytes * key, correction);
        if (!k || !(nearTable(*k, english) || shared.holds(k->at, k->bytes)))
            return false;
    }
    return true;
}

// Whether a table below this one within reach has its very shared entries: then this one is that table's
// Russian table, however broken the other is, and not the English table of a firmware without Russian ones.
bool KeyTableRules::tableBelowSharesKeys(std::int64_t table) const
{
    for (std::int64_t english = std::max<std::int64_t>(0, table - kOlderRussianReach);
         english + kTableBytes <= table; ++english) {
        bool same = true;
        for (const std::int64_t layout : kLayouts)
            for (const int key : kOlderSharedKeys)
                same = same && m_image.sameBytes(english + layout + kEntryBytes * key,
                                                 table + layout + kEntryBytes * key, kEntryBytes);
        if (same)
            return true;
    }
    return false;
}

void KeyTableRules::tryOlder(std::int64_t english, std::int32_t correction)
{
    // The shared strings lie near the English table or below the Russian one, wherever that is.
    const ByteArea reach{english - kLetterReach, english + kOlderRussianReach};
    for (const int key : kOlderSharedKeys) {
        const std::int64_t at = english + kEntryBytes * key;
        const std::optional<KeyString> k = m_image.keyAt(at, correction);
        if (!k || !reach.holds(k->at, k->bytes) || !m_image.sameBytes(at, at + kLowerCase, kEntryBytes))
            return;
    }
    if (!searchRussianTable())
        return;
    bool found = false;
    bool russianLike = false;
    for (std::int64_t russian = english + kTableBytes; russian <= english + kOlderRussianReach && !stopped();
         ++russian) {
        if (russianTable(english, russian, false, correction) &&
            olderSharedStringsKept(english, russian, correction)) {
            found = true;
            add(rowOf(false, true, english, russian), correction);
            continue;
        }
        const std::array<int, 2> letters = lettersBelow(russian, english, correction, false);
        if (letters[0] >= kRussianLikeLetters && letters[1] >= kRussianLikeLetters)
            russianLike = true;
    }
    if (found)
        return;
    // A Russian table that fails a check is damaged, or not what it seems: neither is a firmware without
    // Russian layouts.
    if (russianLike) {
        m_undecidable = true;
        return;
    }
    if (!tableBelowSharesKeys(english) && olderSharedStringsKept(english, 0, correction))
        add(rowOf(false, false, english, 0), correction);
}

// Every string the decoder reads for these tables holds units below 0x8000 only.
bool KeyTableRules::unitsStorable(const FirmwareRow& row, std::int32_t correction) const
{
    std::vector<std::int64_t> layouts{row.englishTable, row.englishTable + kLowerCase};
    if (row.hasRussian)
        layouts.insert(layouts.end(), {row.russianTable, row.russianTable + kLowerCase});
    for (const std::int64_t layout : layouts)
        for (int key = 0; key < 12; ++key) {
            if (row.newGeneration && key == 11)
                break;
            const std::int64_t at =
                row.newGeneration && key == 10 ? row.key10Entry : layout + kEntryBytes * key;
            const std::optional<KeyString> k = m_image.keyAt(at, correction);
            if (!k)
                return false;
            for (std::int64_t high = k->at + 1; high < k->at + k->bytes; high += 2)
                if (m_image.byte(high) >= 0x80)
                    return false;
        }
    return true;
}

// Whether one more English table may have its Russian table searched: an image with more of them than
// any firmware has is not one the finder knows.
bool KeyTableRules::searchRussianTable()
{
    if (++m_englishTables <= kMaxEnglishTables)
        return true;
    m_undecidable = true;
    return false;
}

void KeyTableRules::add(const FirmwareRow& row, std::int32_t correction)
{
    if (descriptionFault(row) ||
        !descriptorFitsImage(completeDescriptor(row), static_cast<std::int32_t>(m_image.size())) ||
        !unitsStorable(row, correction))
        return;
    for (const FoundTables& f : m_found)
        if (sameTables(f.row, row))
            return;
    m_found.push_back({row, correction});
}

} // namespace klavoset
