// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ImageEdits.h"

#include "FuzzEditor.h"
#include "image/FirmwareTable.h"
#include "image/Identify.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace klavoset::fuzz {
namespace {

constexpr std::size_t kEditHeader = 5; // anchor, offset (3), count

std::uint8_t at(std::span<const std::uint8_t> input, std::size_t i)
{
    return i < input.size() ? input[i] : 0;
}

std::uint32_t threeBytes(std::span<const std::uint8_t> input, std::size_t i)
{
    return at(input, i) | (std::uint32_t{at(input, i + 1)} << 8) | (std::uint32_t{at(input, i + 2)} << 16);
}

// Where an edit's offset counts from: the start, the identity probes, each of the descriptor's places,
// the end.
std::array<std::int64_t, 15> anchorsOf(const FirmwareDescriptor& d, std::size_t length)
{
    return {0,
            kProbes[0],
            kProbes[1],
            kProbes[2],
            kProbes[3],
            d.englishTable,
            d.russianTable,
            d.key10Entry,
            d.wapUpperTable,
            d.wapLowerTable,
            d.englishStorage,
            d.russianStorage,
            d.sharedStorage,
            d.wapStorage,
            static_cast<std::int64_t>(length)};
}

const std::vector<std::uint8_t>* baseOf(std::size_t row, std::uint8_t correction, SyntheticImages& images)
{
    const auto rows = supportedFirmware();
    return row < rows.size() ? &images.of(rows[row], ImageEdits::kAddressCorrections[correction & 3],
                                          (correction & ImageEdits::kPhoneKept) != 0)
                             : nullptr;
}

// Bytes [from, to) of the base laid out: cut, or followed by 0xFF bytes.
void layOut(const std::vector<std::uint8_t>* base, std::size_t from, std::size_t to, std::uint8_t* into)
{
    const std::size_t copied = base == nullptr ? from : std::clamp(base->size(), from, to);
    if (copied > from)
        std::memcpy(into + from, base->data() + from, copied - from);
    std::memset(into + copied, 0xFF, to - copied);
}

} // namespace

std::span<const std::uint8_t> ImageEdits::build(std::span<const std::uint8_t> input, SyntheticImages& images,
                                                ImageWork& work)
{
    const auto rows = supportedFirmware();
    const std::size_t row = at(input, 1) % (rows.size() + 1);
    const std::vector<std::uint8_t>* base = baseOf(row, at(input, 2), images);
    std::size_t length = threeBytes(input, 3);
    if (length == 0)
        length = base != nullptr ? base->size() : kBlankLength;
    length = std::min(length, kMaxLength);
    if (work.laid > 0 && work.base == base) {
        for (auto it = work.undo.rbegin(); it != work.undo.rend(); ++it)
            work.bytes[it->first] = it->second;
    } else {
        work.base = base;
        work.laid = 0;
    }
    work.undo.clear();
    if (length > work.laid) {
        layOut(base, work.laid, length, work.bytes.data());
        work.laid = length;
    }

    const auto anchors = anchorsOf(completeDescriptor(rows[row % rows.size()]), length);
    for (std::size_t i = kHeader; i + kEditHeader <= input.size();) {
        const std::size_t anchor = input[i] % anchors.size();
        const std::uint32_t raw = threeBytes(input, i + 1);
        const std::size_t count = input[i + 4];
        i += kEditHeader;
        // Relative offsets are signed 24-bit numbers, so that an edit can land before its anchor.
        const std::int64_t from =
            anchor == 0 ? raw : anchors[anchor] + ((static_cast<std::int64_t>(raw) ^ 0x800000) - 0x800000);
        for (std::size_t k = 0; k < count && i < input.size(); ++k, ++i) {
            const std::int64_t pos = from + static_cast<std::int64_t>(k);
            if (pos >= 0 && pos < static_cast<std::int64_t>(length)) {
                std::uint8_t& byte = work.bytes[static_cast<std::size_t>(pos)];
                work.undo.emplace_back(static_cast<std::size_t>(pos), byte);
                byte = input[i];
            }
        }
    }
    return {work.bytes.data(), length};
}

std::vector<std::uint8_t> ImageEdits::describe(std::uint8_t options, std::size_t row, std::uint8_t correction,
                                               std::span<const std::uint8_t> target, SyntheticImages& images)
{
    const std::size_t length = target.size();
    std::vector<std::uint8_t> input{options,
                                    static_cast<std::uint8_t>(row),
                                    correction,
                                    static_cast<std::uint8_t>(length),
                                    static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length >> 16)};
    std::vector<std::uint8_t> laid(length);
    layOut(baseOf(row, correction, images), 0, length, laid.data());
    // Every run of differing bytes becomes edits from the start, 255 bytes at most each.
    for (std::size_t from = 0; from < length;) {
        if (laid[from] == target[from]) {
            ++from;
            continue;
        }
        std::size_t to = from;
        while (to < length && to - from < 255 && laid[to] != target[to])
            ++to;
        input.insert(input.end(),
                     {0, static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(from >> 8),
                      static_cast<std::uint8_t>(from >> 16), static_cast<std::uint8_t>(to - from)});
        input.insert(input.end(), target.begin() + static_cast<std::ptrdiff_t>(from),
                     target.begin() + static_cast<std::ptrdiff_t>(to));
        from = to;
    }
    return input;
}

void prepareImageRuns(SyntheticImages& images)
{
    keepFreedFileMemory(kKeptImageBlocks);
    for (const FirmwareRow& row : supportedFirmware())
        for (const std::int32_t correction : ImageEdits::kAddressCorrections)
            for (const bool phoneKept : {false, true})
                static_cast<void>(images.of(row, correction, phoneKept));
}

} // namespace klavoset::fuzz
