// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SyntheticImages.h"
#include "image/FirmwareDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace klavoset::fuzz {

// A fullflash described in a few bytes: a base image (a valid image of a firmware, or one of 0xFF bytes
// only), a length (shorter cuts it, longer adds 0xFF), and byte edits placed near the places the editor
// reads (the identity probes, the descriptor's tables and data, the image's end). Mutating a few hundred
// bytes reaches what mutating a whole image of several MiB would, at a fraction of the cost per run.
//
//   byte 0       options, read by the target
//   byte 1       the base: a firmware row, or (the last value) 0xFF bytes only
//   byte 2       bits 0-1: the address correction the base's pointers are written for; bit 2: the base's
//                strings as an untouched phone keeps them rather than as a save leaves them
//   bytes 3-5    the length, little-endian; 0 for the base's own
//   then edits   anchor byte, 3-byte offset (from the anchor, signed; from the start for anchor 0),
//                count byte, count bytes
struct ImageWork;

struct ImageEdits
{
    static constexpr std::size_t kHeader = 6;
    static constexpr std::size_t kMaxLength = 8 << 20;
    static constexpr std::size_t kBlankLength = 0x80000;
    static constexpr std::int32_t kAddressCorrections[] = {0, 0x200000, 0x400000, 0};
    static constexpr std::uint8_t kPhoneKept = 4;

    // The image the input describes, laid out in `work`.
    static std::span<const std::uint8_t> build(std::span<const std::uint8_t> input, SyntheticImages& images,
                                               ImageWork& work);

    // An input for `target`, described as edits over the base of row `row` (or the blank base when it is
    // the number of rows) with the address correction of index `correction` (and kPhoneKept).
    static std::vector<std::uint8_t> describe(std::uint8_t options, std::size_t row, std::uint8_t correction,
                                              std::span<const std::uint8_t> target, SyntheticImages& images);
};

// Before the first run of a target over images: every image built (memory that a run keeps would look
// like a leak to libFuzzer, which then scans the whole heap), and room kept for freed image buffers.
void prepareImageRuns(SyntheticImages& images);

// Where build() lays out the images, one run after another. A run that keeps the base of the run before
// (as the mutations of one input mostly do) has only the bytes that run edited put back, rather than the
// whole image copied again.
struct ImageWork
{
    ImageWork() { undo.reserve(1 << 16); }

    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(ImageEdits::kMaxLength);
    const std::vector<std::uint8_t>* base = nullptr; // null: 0xFF bytes only
    std::size_t laid = 0;                            // bytes[0, laid) hold the base but for the undo list
    std::vector<std::pair<std::size_t, std::uint8_t>> undo; // position, byte before the edit
};

} // namespace klavoset::fuzz
