// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/ImageScan.h"

#include <bit>
#include <cstring>

namespace klavoset {
namespace {

// The scan looks at 6 entry starts every 48 bytes: the 16 letter entries of an English table always
// give one of them, whatever the table's place.
constexpr std::int64_t kProbeStride = 48;

constexpr std::int64_t kWapRecordBytes = 10;
constexpr std::int64_t kWapTriple = 2 * kWapRecordBytes + 4;
// Three WAP pointers in a row point at strings this close together, in increasing order.
constexpr std::int64_t kWapSpread = 0x1000;
// Every other probe tries this many places for a record pointer. A WAP table's first ten records start
// pointer triples 10 bytes apart, so 16 places in every 96 bytes always meet one, and one is all the WAP
// search needs of a table.
constexpr std::int64_t kWapPointersPerProbe = 16;
constexpr std::int64_t kWapProbeStride = 2 * kProbeStride;
static_assert(kWapProbeStride <= 9 * kWapRecordBytes + kWapPointersPerProbe, "a triple in every table");
// The probes touch every cache line but do little at each, so the lines are asked for this far ahead.
constexpr std::int64_t kPrefetchAhead = 2048;
// The word tests read this far beyond a probe.
constexpr std::int64_t kWordProbeBytes = kWapPointersPerProbe + kWapTriple;
static_assert(kWordProbeBytes >= 8 + kWapRecordBytes + kWapRecordBytes + 2 + 8, "the last word of wapLanes");

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

// Entry starts in the six lanes from `probe` whose second byte is 0 and whose page could hold a string
// close by. Under each correction that page lies within one of the probe's own; the corrections are
// 128 pages apart, so its low byte is one of six.
std::uint64_t seedLanes(const ImageBytes& image, std::int64_t probe)
{
    constexpr std::uint64_t beyondEntryStarts = 0xFFFF000000000000;
    constexpr std::uint64_t pageSlack = 0x7C7C7C7C7C7C7C7C;
    static_assert(kCorrectionStep / kPageSize == 128, "corrections differ in the page's top bit only");
    const std::uint8_t* at = image.data() + probe;
    const std::uint64_t lanes = zeroLanes(word(at + 1) | beyondEntryStarts);
    if (lanes == 0)
        return 0;
    static_assert(kPageSize == 1 << 14, "the page is the address's bits from 14 on");
    const auto pageBelow =
        static_cast<std::uint64_t>((addressOfOffset(probe, image.size(), 0) >> 14) - 1) & 0xFF;
    return lanes & zeroLanes(laneDifference(word(at + 4), pageBelow * kLaneOnes) & pageSlack);
}

// Pointers in the eight lanes from `at` that may start three WAP records: each next record's page is
// the same or the next one (the low byte and the high byte each step by 0 or 1), the page is below
// 0x8000, and the next string starts less than 256 bytes on, so the in-page offsets differ in their
// low byte.
std::uint64_t wapLanes(const std::uint8_t* at)
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

// Three records' pointers at 10-byte steps that lead to strings close together, in increasing order.
bool wapLike(const ImageBytes& image, std::int64_t at)
{
    const std::uint32_t page = image.byte(at + 2) | image.byte(at + 3) << 8;
    const std::uint32_t nextPage = image.byte(at + 12) | image.byte(at + 13) << 8;
    if (page >= kPageLimit || nextPage - page > 1)
        return false;
    const std::int64_t a = image.addressAt(at);
    const std::int64_t b = image.addressAt(at + kWapRecordBytes);
    const std::int64_t c = image.addressAt(at + 2 * kWapRecordBytes);
    return a < b && b < c && b - a < 0x100 && c - a < kWapSpread;
}

void wapPointer(const ImageBytes& image, std::int64_t at, ScanSink& sink)
{
    if (wapLike(image, at))
        sink.wapPointer(at);
}

} // namespace

void scanImage(const ImageBytes& image, ScanSink& sink)
{
    const std::int64_t size = image.size();
    std::int64_t probe = 0;
    for (; probe + kWordProbeBytes <= size; probe += kProbeStride) {
        // Asked once per 3 KiB: a call at every probe costs more than the probes themselves.
        if (probe % (64 * kProbeStride) == 0 && sink.stopped())
            return;
        const std::uint8_t* at = image.data() + probe;
        if (probe + kPrefetchAhead < size)
            __builtin_prefetch(at + kPrefetchAhead);
        for (std::uint64_t lanes = seedLanes(image, probe); lanes != 0; lanes &= lanes - 1)
            if (at[laneOf(lanes) + 1] == 0)
                sink.letterEntry(probe + laneOf(lanes));
        if (probe % kWapProbeStride != 0)
            continue;
        for (std::uint64_t lanes = wapLanes(at); lanes != 0; lanes &= lanes - 1)
            wapPointer(image, probe + laneOf(lanes), sink);
        for (std::uint64_t lanes = wapLanes(at + 8); lanes != 0; lanes &= lanes - 1)
            wapPointer(image, probe + 8 + laneOf(lanes), sink);
    }
    for (; probe < size && !sink.stopped(); probe += kProbeStride) {
        for (std::int64_t at = probe; at < probe + kEntryBytes && image.inside(at, kEntryBytes); ++at)
            if (image.byte(at + 1) == 0)
                sink.letterEntry(at);
        for (std::int64_t at = probe; at < probe + kWapPointersPerProbe && image.inside(at, kWapTriple); ++at)
            wapPointer(image, at, sink);
    }
}

} // namespace klavoset
