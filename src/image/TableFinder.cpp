// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/TableFinder.h"

#include "image/FirmwareCatalog.h"
#include "image/Identify.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace klavoset {
namespace {

// An entry's address maps to the image offset address − kImageEndAddress + image size + correction.
constexpr std::int64_t kImageEndAddress = 0x1000000;
constexpr std::int64_t kPageBytes = 0x4000;
constexpr std::array<std::int32_t, 3> kCorrections = {0, 0x200000, 0x400000};
constexpr std::int64_t kCorrectionStep = 0x200000;

constexpr std::int64_t kLowerCase = 72; // the lower-case layout's entries follow the upper-case ones
constexpr int kFirstLetter = 2;
constexpr int kLastLetter = 9;
// In every row of the newer generation key10Entry lies this far above englishTable.
constexpr std::int64_t kKey10Distance = 0xA2E;
// How far above englishTable the older generation's Russian table is looked for (every row: 0x468).
constexpr std::int64_t kOlderRussianReach = 0x1000;

// The scan looks at 6 entry starts every 48 bytes: the 16 letter entries of an English table always
// give one of them, whatever the table's place.
constexpr std::int64_t kProbeStride = 48;
// A letter entry's string lies within this distance of the entry (at most 404 bytes by the rules).
constexpr std::int64_t kSeedReach = 0x200;
// English tables whose Russian table is searched; more say the image is not one the finder knows.
constexpr int kMaxEnglishTables = 64;
// A region where this many letter entries fit a Russian storage is a Russian table, even when damaged.
constexpr int kRussianLikeLetters = 4;

constexpr std::int64_t kWapRecordBytes = 10;
constexpr std::int64_t kWapPointerAt = 6;
constexpr int kWapRecords = 12;
// Three WAP pointers in a row point at strings this close together, in increasing order.
constexpr std::int64_t kWapSpread = 0x1000;
constexpr std::int64_t kWapTriple = 2 * kWapRecordBytes + 4;
// Each probe tries this many places for a record pointer: with probes 48 bytes apart, every WAP table
// then has a probe that tries its pointers of each of the ten places a 10-byte step has.
constexpr std::int64_t kWapPointersPerProbe = 16;
// The probes touch every cache line but do little at each, so the lines are asked for this far ahead.
constexpr std::int64_t kPrefetchAhead = 2048;
// The word tests read this far beyond a probe.
constexpr std::int64_t kWordProbeBytes = kWapPointersPerProbe + kWapTriple;
static_assert(kWordProbeBytes >= 8 + kWapRecordBytes + kWapRecordBytes + 2 + 8, "the last word of wapLanes");
constexpr std::size_t kMaxWapHits = 1 << 16;

// Eight bytes as one word, the first in the lowest lane, so that a few operations test eight places.
std::uint64_t word(const std::uint8_t* at)
{
    std::uint64_t w = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&w, at, sizeof w);
    } else {
        for (int i = 7; i >= 0; --i)
            w = w << 8 | at[i];
    }
    return w;
}

constexpr std::uint64_t kLaneOnes = 0x0101010101010101;
constexpr std::uint64_t kLaneHighs = 0x8080808080808080;

// The high bit of every lane that holds 0; a lane just above one may be marked too, so each is checked.
constexpr std::uint64_t zeroLanes(std::uint64_t w) { return (w - kLaneOnes) & ~w & kLaneHighs; }
// The high bit of exactly the lanes that do not hold 0.
constexpr std::uint64_t nonZeroLanes(std::uint64_t w)
{
    return (((w & ~kLaneHighs) + ~kLaneHighs) | w) & kLaneHighs;
}
// a − b in every lane, without borrowing across lanes.
constexpr std::uint64_t laneDifference(std::uint64_t a, std::uint64_t b)
{
    return ((a | kLaneHighs) - (b & ~kLaneHighs)) ^ ((a ^ ~b) & kLaneHighs);
}
constexpr int laneOf(std::uint64_t lanes) { return std::countr_zero(lanes) / 8; }

struct Area
{
    std::int64_t from = 0;
    std::int64_t to = 0; // exclusive

    [[nodiscard]] bool holds(std::int64_t at, std::int64_t bytes) const
    {
        return at >= from && at + bytes <= to;
    }
    [[nodiscard]] bool meets(const Area& o) const { return from < o.to && o.from < to; }
};

// A key's string: where it starts and how many bytes it takes.
struct Key
{
    std::int64_t at = 0;
    std::int64_t bytes = 0;
};

struct Found
{
    FirmwareRow row{};
    std::int32_t correction = 0;
};

// The descriptor the rules of completeDescriptor give for tables at these places, so that the finder
// follows those rules rather than copies of them. russianTable 0 on the older generation: the derived one.
FirmwareDescriptor areasOf(bool newGeneration, std::int64_t englishTable, std::int64_t russianTable)
{
    FirmwareRow row{};
    row.newGeneration = newGeneration;
    row.hasRussian = true;
    row.englishTable = static_cast<std::int32_t>(englishTable);
    row.russianTable = static_cast<std::int32_t>(russianTable);
    row.key10Entry = newGeneration ? static_cast<std::int32_t>(englishTable + kKey10Distance) : 0;
    return completeDescriptor(row);
}

// How far below the Russian table its storage starts and, on the older generation, the shared storage.
struct BelowRussianTable
{
    std::int64_t russianStorage = 0;
    std::int64_t sharedStorage = 0;
};

BelowRussianTable belowRussianTable(bool newGeneration)
{
    constexpr std::int64_t english = 0x100000;
    constexpr std::int64_t russian = 0x101000;
    const FirmwareDescriptor d = areasOf(newGeneration, english, russian);
    return {russian - d.russianStorage, russian - d.sharedStorage};
}

FirmwareRow rowOf(bool newGeneration, bool hasRussian, std::int64_t englishTable, std::int64_t russianTable,
                  std::int64_t key10Entry)
{
    FirmwareRow row{};
    row.newGeneration = newGeneration;
    row.hasRussian = hasRussian;
    row.englishTable = static_cast<std::int32_t>(englishTable);
    row.russianTable = static_cast<std::int32_t>(russianTable);
    row.key10Entry = static_cast<std::int32_t>(key10Entry);
    return row;
}

bool sameTables(const FirmwareRow& a, const FirmwareRow& b)
{
    return a.newGeneration == b.newGeneration && a.hasRussian == b.hasRussian &&
           a.englishTable == b.englishTable && a.russianTable == b.russianTable &&
           a.key10Entry == b.key10Entry;
}

class Finder
{
  public:
    explicit Finder(std::span<const std::uint8_t> image)
        : m_bytes(image.data()), m_size(static_cast<std::int64_t>(image.size())),
          m_newerBelow(belowRussianTable(true)), m_olderBelow(belowRussianTable(false))
    {
        for (auto& byGeneration : m_tried)
            for (auto& byCorrection : byGeneration)
                byCorrection.fill(-1);
    }

    std::optional<FirmwareRow> find()
    {
        if (m_size > kLargestImage)
            return std::nullopt;
        scan();
        if (m_gaveUp || m_found.size() != 1)
            return std::nullopt;
        FirmwareRow row = m_found.front().row;
        findWapTables(row, m_found.front().correction);
        return row;
    }

  private:
    [[nodiscard]] std::uint32_t byte(std::int64_t at) const { return m_bytes[at]; }
    [[nodiscard]] bool inside(std::int64_t at, std::int64_t bytes) const
    {
        return at >= 0 && at + bytes <= m_size;
    }

    // The address of the paged pointer at `at` (in-page offset, page), or −1 for a page the phone cannot
    // have.
    [[nodiscard]] std::int64_t addressAt(std::int64_t at) const
    {
        const std::uint32_t page = byte(at + 2) | byte(at + 3) << 8;
        if (page >= 0x8000)
            return -1;
        return static_cast<std::int64_t>(page) * kPageBytes + ((byte(at) | byte(at + 1) << 8) & 0x3FFF);
    }
    [[nodiscard]] std::int64_t offsetOf(std::int64_t address, std::int32_t correction) const
    {
        return address - kImageEndAddress + m_size + correction;
    }

    // The string of the entry at `at`, when the entry is well formed and its string lies inside the image
    // where the decoder finds it: starting without a correction, it settles on this one for the entry.
    [[nodiscard]] std::optional<Key> keyAt(std::int64_t at, std::int32_t correction) const
    {
        if (!inside(at, kEntryBytes) || byte(at + 1) != 0)
            return std::nullopt;
        const std::int64_t address = addressAt(at + 2);
        if (address < 0)
            return std::nullopt;
        const Key key{offsetOf(address, correction), 2 * static_cast<std::int64_t>(byte(at))};
        if (!inside(key.at, key.bytes) || (correction != 0 && key.at >= kCorrectionStep))
            return std::nullopt;
        return key;
    }
    [[nodiscard]] bool keyIn(std::int64_t at, const Area& area, std::int32_t correction) const
    {
        const std::optional<Key> key = keyAt(at, correction);
        return key && area.holds(key->at, key->bytes);
    }
    // The entry that sends the decoder to key10Entry.
    [[nodiscard]] bool key10Slot(std::int64_t at) const
    {
        return inside(at, kEntryBytes) && byte(at) == 0 && byte(at + 2) == 0;
    }

    [[nodiscard]] int lettersIn(std::int64_t table, const Area& storage, std::int32_t correction,
                                bool stopAtFirstMiss) const
    {
        int fitting = 0;
        for (const std::int64_t layout : {std::int64_t{0}, kLowerCase})
            for (int key = kFirstLetter; key <= kLastLetter; ++key) {
                if (keyIn(table + layout + kEntryBytes * key, storage, correction))
                    ++fitting;
                else if (stopAtFirstMiss)
                    return fitting;
            }
        return fitting;
    }
    [[nodiscard]] bool allLettersIn(std::int64_t table, const Area& storage, std::int32_t correction) const
    {
        return lettersIn(table, storage, correction, true) == 2 * (kLastLetter - kFirstLetter + 1);
    }
    // Keys 0, 1, 10 and 11 of both layouts in the shared storage; on the newer generation key 10 is the
    // entry that defers to key10Entry and key 11 is no part of the layout.
    [[nodiscard]] bool sharedIn(std::int64_t table, bool newGeneration, const Area& shared,
                                std::int32_t correction) const
    {
        for (const std::int64_t layout : {std::int64_t{0}, kLowerCase})
            for (const int key : {0, 1, 10, 11}) {
                const std::int64_t at = table + layout + kEntryBytes * key;
                if (newGeneration && key == 11)
                    continue;
                if (newGeneration && key == 10 ? !key10Slot(at) : !keyIn(at, shared, correction))
                    return false;
            }
        return true;
    }

    // One read through the image. At every probe, eight places at a time: entry starts that may be letter
    // keys of an English table, and pointers that may be those of WAP records.
    void scan()
    {
        std::int64_t probe = 0;
        for (; probe + kWordProbeBytes <= m_size && !m_stopped; probe += kProbeStride) {
            const std::uint8_t* at = m_bytes + probe;
            if (probe + kPrefetchAhead < m_size)
                __builtin_prefetch(at + kPrefetchAhead);
            for (std::uint64_t lanes = seedLanes(probe); lanes != 0; lanes &= lanes - 1)
                if (at[laneOf(lanes) + 1] == 0)
                    seed(probe + laneOf(lanes));
            for (std::uint64_t lanes = wapLanes(at); lanes != 0; lanes &= lanes - 1)
                noteWapLike(probe + laneOf(lanes));
            for (std::uint64_t lanes = wapLanes(at + 8); lanes != 0; lanes &= lanes - 1)
                noteWapLike(probe + 8 + laneOf(lanes));
        }
        for (; probe < m_size && !m_stopped; probe += kProbeStride) {
            for (std::int64_t at = probe; at < probe + kEntryBytes && inside(at, kEntryBytes); ++at)
                if (byte(at + 1) == 0)
                    seed(at);
            for (std::int64_t at = probe; at < probe + kWapPointersPerProbe && inside(at, kWapTriple); ++at)
                noteWapLike(at);
        }
    }

    // Entry starts in the six lanes from `probe` whose second byte is 0 and whose page could hold a string
    // close by. Under each correction that page lies within one of the probe's own; the corrections are
    // 128 pages apart, so its low byte is one of six.
    [[nodiscard]] std::uint64_t seedLanes(std::int64_t probe) const
    {
        constexpr std::uint64_t beyondEntryStarts = 0xFFFF000000000000;
        constexpr std::uint64_t pageSlack = 0x7C7C7C7C7C7C7C7C;
        const std::uint8_t* at = m_bytes + probe;
        const std::uint64_t lanes = zeroLanes(word(at + 1) | beyondEntryStarts);
        if (lanes == 0)
            return 0;
        const auto pageBelow =
            static_cast<std::uint64_t>(((probe + kImageEndAddress - m_size) >> 14) - 1) & 0xFF;
        return lanes & zeroLanes(laneDifference(word(at + 4), pageBelow * kLaneOnes) & pageSlack);
    }

    // Pointers in the eight lanes from `at` that may start three WAP records: each next record's page is
    // the same or the next one (the low byte and the high byte each step by 0 or 1), the page is below
    // 0x8000, and the next string starts less than 256 bytes on, so the in-page offsets differ in their
    // low byte.
    [[nodiscard]] static std::uint64_t wapLanes(const std::uint8_t* at)
    {
        const auto pageSteps = [at](std::int64_t from) {
            return zeroLanes(laneDifference(word(at + from + kWapRecordBytes), word(at + from)) & ~kLaneOnes);
        };
        // Erased bytes fail the first test, runs of one value the second, most other bytes the third.
        std::uint64_t lanes = ~word(at + 3) & kLaneHighs;
        if (lanes != 0)
            lanes &= nonZeroLanes(word(at + kWapRecordBytes) ^ word(at));
        if (lanes != 0)
            lanes &= pageSteps(2);
        if (lanes != 0)
            lanes &= pageSteps(3) & pageSteps(kWapRecordBytes + 2);
        return lanes;
    }

    void noteWapLike(std::int64_t at)
    {
        if (!wapLike(at))
            return;
        if (m_wapHits.size() == kMaxWapHits)
            m_tooManyWapHits = true;
        else
            m_wapHits.push_back(at);
    }

    // An entry whose string lies close by: a letter key of an English table above it (newer generation)
    // or below it (older), under one of the corrections.
    void seed(std::int64_t at)
    {
        const std::int64_t address = addressAt(at + 2);
        if (address < 0)
            return;
        for (std::size_t c = 0; c < kCorrections.size(); ++c) {
            const std::int64_t reach = offsetOf(address, kCorrections[c]) - at;
            if (reach == 0 || reach > kSeedReach || reach < -kSeedReach)
                continue;
            for (const std::int64_t layout : {std::int64_t{0}, kLowerCase})
                for (int key = kFirstLetter; key <= kLastLetter; ++key)
                    tryEnglishTable(at - layout - kEntryBytes * key, reach > 0, c);
        }
    }

    void tryEnglishTable(std::int64_t table, bool newGeneration, std::size_t c)
    {
        if (table <= 0 || m_stopped)
            return;
        // Neighbouring seeds name the same places; each is tried once.
        std::int64_t& tried =
            m_tried[newGeneration ? 1 : 0][c][static_cast<std::size_t>(table) % kTriedSlots];
        if (tried == table)
            return;
        tried = table;
        const std::int32_t correction = kCorrections[c];
        const FirmwareDescriptor d = areasOf(newGeneration, table, 0);
        if (!allLettersIn(table, {d.englishStorage, d.englishStorage + kEnglishStorageBytes}, correction))
            return;
        if (newGeneration)
            tryNewer(table, d, correction);
        else
            tryOlder(table, d, correction);
    }

    void tryNewer(std::int64_t english, const FirmwareDescriptor& d, std::int32_t correction)
    {
        const Area shared{d.sharedStorage, d.sharedStorage + sharedStorageBytes(d)};
        if (!sharedIn(english, true, shared, correction) || !keyIn(d.key10Entry, shared, correction))
            return;
        if (!searchRussianTable())
            return;
        // The Russian table: its storage above the English storage, the table below key10Entry.
        const std::int64_t below = m_newerBelow.russianStorage;
        const std::int64_t from = d.englishStorage + kEnglishStorageBytes + below;
        for (std::int64_t russian = from; russian + kTableBytes <= d.key10Entry && !m_stopped; ++russian)
            if (allLettersIn(russian, {russian - below, russian}, correction) &&
                sharedIn(russian, true, shared, correction))
                add(rowOf(true, true, english, russian, d.key10Entry), correction);
    }

    void tryOlder(std::int64_t english, const FirmwareDescriptor& d, std::int32_t correction)
    {
        // The older generation keeps its shared storage below the Russian table, so the English table's
        // shared keys tell where that table can lie: above the WAP storage's start, within reach.
        const BelowRussianTable below = m_olderBelow;
        const std::int64_t sharedBytes = sharedStorageBytes(d);
        std::int64_t lowest = d.wapStorage + 1 + below.sharedStorage;
        std::int64_t highest = english + kOlderRussianReach;
        for (const std::int64_t layout : {std::int64_t{0}, kLowerCase})
            for (const int key : {0, 1, 10, 11}) {
                const std::optional<Key> k = keyAt(english + layout + kEntryBytes * key, correction);
                if (!k)
                    return;
                lowest = std::max(lowest, k->at + k->bytes + below.sharedStorage - sharedBytes);
                highest = std::min(highest, k->at + below.sharedStorage);
            }
        if (lowest > highest || !searchRussianTable())
            return;
        bool found = false;
        bool russianLike = false;
        for (std::int64_t russian = lowest; russian <= highest; ++russian) {
            const Area storage{russian - below.russianStorage, russian};
            const Area shared{russian - below.sharedStorage, russian - below.sharedStorage + sharedBytes};
            if (allLettersIn(russian, storage, correction) && sharedIn(russian, false, shared, correction)) {
                found = true;
                add(rowOf(false, true, english, russian, 0), correction);
            } else if (lettersIn(russian, storage, correction, false) >= kRussianLikeLetters) {
                russianLike = true;
            }
        }
        if (found)
            return;
        // A Russian table that fails a check is damaged, or not what it seems: neither is a firmware
        // without Russian layouts.
        if (russianLike) {
            giveUp();
            return;
        }
        if (d.russianTable >= lowest && d.russianTable <= highest)
            add(rowOf(false, false, english, 0, 0), correction);
    }

    // Every string the decoder reads for these tables holds units below 0x8000 only.
    [[nodiscard]] bool unitsStorable(const FirmwareRow& row, std::int32_t correction) const
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
                const std::optional<Key> k = keyAt(at, correction);
                if (!k)
                    return false;
                for (std::int64_t high = k->at + 1; high < k->at + k->bytes; high += 2)
                    if (byte(high) >= 0x80)
                        return false;
            }
        return true;
    }

    void add(const FirmwareRow& row, std::int32_t correction)
    {
        if (descriptionFault(row) ||
            !descriptorFitsImage(completeDescriptor(row), static_cast<std::int32_t>(m_size)) ||
            !unitsStorable(row, correction))
            return;
        for (const Found& f : m_found)
            if (sameTables(f.row, row))
                return;
        m_found.push_back({row, correction});
        if (m_found.size() > 1)
            m_stopped = true; // two places: nothing will be reported
    }

    // Whether one more English table may have its Russian table searched: an image with more of them than
    // any firmware has is not one the finder knows.
    bool searchRussianTable()
    {
        if (++m_englishTables <= kMaxEnglishTables)
            return true;
        giveUp();
        return false;
    }

    void giveUp()
    {
        m_gaveUp = true;
        m_stopped = true;
    }

    // Three records' pointers at 10-byte steps that lead to strings close together, in increasing order.
    [[nodiscard]] bool wapLike(std::int64_t at) const
    {
        const std::uint32_t page = byte(at + 2) | byte(at + 3) << 8;
        const std::uint32_t nextPage = byte(at + 12) | byte(at + 13) << 8;
        if (page >= 0x8000 || nextPage - page > 1)
            return false;
        const std::int64_t a = addressAt(at);
        const std::int64_t b = addressAt(at + kWapRecordBytes);
        const std::int64_t c = addressAt(at + 2 * kWapRecordBytes);
        return a < b && b < c && b - a < 0x100 && c - a < kWapSpread;
    }

    // A NUL-terminated UTF-8 string at `at` that ends before `end`.
    [[nodiscard]] bool wapStringBefore(std::int64_t at, std::int64_t end) const
    {
        while (at < end) {
            const std::uint32_t lead = byte(at++);
            if (lead == 0)
                return true;
            int follow = 0;
            if (lead >= 0xC2 && lead <= 0xDF)
                follow = 1;
            else if (lead >= 0xE0 && lead <= 0xEF)
                follow = 2;
            else if (lead >= 0x80)
                return false;
            for (; follow > 0; --follow, ++at)
                if (at >= end || (byte(at) & 0xC0) != 0x80)
                    return false;
        }
        return false;
    }

    // Twelve records whose pointers all lead to strings inside `strings`.
    [[nodiscard]] bool wapTableIn(std::int64_t table, const Area& strings, std::int32_t correction) const
    {
        if (!inside(table, kWapTableBytes))
            return false;
        for (int i = 0; i < kWapRecords; ++i) {
            const std::int64_t address = addressAt(table + kWapRecordBytes * i + kWapPointerAt);
            if (address < 0)
                return false;
            const std::int64_t at = offsetOf(address, correction);
            if (at < strings.from || at >= strings.to || !wapStringBefore(at, strings.to))
                return false;
        }
        return true;
    }

    // The WAP tables are the only two places whose records all point into the WAP storage of these key
    // tables, the lower one first; anything else leaves them unknown.
    void findWapTables(FirmwareRow& row, std::int32_t correction) const
    {
        if (m_tooManyWapHits)
            return;
        const FirmwareDescriptor d = completeDescriptor(row);
        std::vector<Area> keyAreas{{d.englishTable, d.englishTable + kTableBytes},
                                   {d.russianTable, d.russianTable + kTableBytes},
                                   {d.englishStorage, d.englishStorage + kEnglishStorageBytes},
                                   {d.russianStorage, d.russianStorage + kRussianStorageBytes},
                                   {d.sharedStorage, d.sharedStorage + sharedStorageBytes(d)}};
        if (d.newGeneration)
            keyAreas.push_back({d.key10Entry, d.key10Entry + kEntryBytes});
        Area strings{d.wapStorage, m_size};
        for (const Area& a : keyAreas)
            if (a.from > strings.from)
                strings.to = std::min(strings.to, a.from);

        std::vector<std::int64_t> starts;
        for (const std::int64_t hit : m_wapHits) {
            const std::int64_t at = offsetOf(addressAt(hit), correction);
            if (at < strings.from || at >= strings.to)
                continue;
            for (int record = 0; record + 2 < kWapRecords; ++record)
                if (hit - kWapPointerAt - kWapRecordBytes * record >= 0)
                    starts.push_back(hit - kWapPointerAt - kWapRecordBytes * record);
        }
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        std::vector<std::int64_t> tables;
        for (const std::int64_t start : starts)
            if (wapTableIn(start, strings, correction)) {
                tables.push_back(start);
                if (tables.size() > 2)
                    return;
            }
        if (tables.size() != 2 || tables[1] - tables[0] < kWapTableBytes)
            return;

        FirmwareRow with = row;
        with.wapUpperTable = static_cast<std::int32_t>(tables[0]);
        with.wapLowerTable = static_cast<std::int32_t>(tables[1]);
        const FirmwareDescriptor w = completeDescriptor(with);
        if (!w.wapAvailable || descriptionFault(with) ||
            !descriptorFitsImage(w, static_cast<std::int32_t>(m_size)))
            return;
        const Area wapStorage{w.wapStorage, w.wapStorage + w.wapCapacity};
        keyAreas.push_back(wapStorage);
        for (const std::int64_t table : tables) {
            if (!wapTableIn(table, wapStorage, correction))
                return;
            for (const Area& a : keyAreas)
                if (a.meets({table, table + kWapTableBytes}))
                    return;
        }
        row = with;
    }

    static constexpr std::size_t kTriedSlots = 128; // more than the span of places one seed names

    const std::uint8_t* m_bytes;
    std::int64_t m_size;
    BelowRussianTable m_newerBelow;
    BelowRussianTable m_olderBelow;
    // The last English table place tried per slot, by generation and correction.
    std::array<std::array<std::array<std::int64_t, kTriedSlots>, kCorrections.size()>, 2> m_tried{};
    int m_englishTables = 0;
    std::vector<Found> m_found;
    bool m_gaveUp = false;
    bool m_stopped = false;
    std::vector<std::int64_t> m_wapHits;
    bool m_tooManyWapHits = false;
};

} // namespace

std::optional<FirmwareRow> findKeyTables(std::span<const std::uint8_t> image) { return Finder(image).find(); }

} // namespace klavoset
