// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"
#include "image/FirmwareDescriptor.h"
#include "image/OtherTables.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace klavoset {

// Where the WAP layout comes from when the image is written.
enum class WapSource {
    Untouched, // the WAP tables and strings keep their bytes
    English,   // upper case from englishUpper, lower case from englishLower
    Russian,   // upper case from russianUpper, lower case from russianLower
};

struct WriteOptions
{
    bool koi = false; // the English layouts store the Cyrillic letters as KOI8-R codes
    WapSource wap = WapSource::Untouched;
};

// Why the layouts cannot go into the image. Nothing has been written when one is returned.
struct WriteRefusal
{
    enum class Kind {
        Unstorable,  // a character at or above U+8000 in a field that would be written
        Overflow,    // the key strings do not fit their storage areas
        NoWapTables, // a WAP copy was asked for, but the firmware has no usable WAP tables
        WapOverflow, // the WAP strings do not fit the WAP storage
        Unmappable,  // a pointer would not map (negative address, page of 0x8000 or more) or an area
                     // lies outside the image
        LongKeyZero, // key 0 too long for the Russian table to be recognised when the image is loaded
    };
    Kind kind = Kind::Unstorable;
    Layout array = Layout::englishUpper; // Unstorable: the field
    int key = 0;
    char16_t unit = 0;         // Unstorable: the first character that cannot be stored
    std::int32_t needed = 0;   // WapOverflow: bytes the WAP strings take
    std::int32_t capacity = 0; // WapOverflow: bytes the firmware has for them
};

// Tells whether the layouts can be written into an image of imageSize bytes of the given firmware, without
// writing anything. The shared keys 0, 1, 10 and 11 are taken from englishUpper for every layout.
[[nodiscard]] std::optional<WriteRefusal> checkLayouts(std::int32_t imageSize,
                                                       const FirmwareDescriptor& firmware, bool hasRussian,
                                                       std::int32_t addressCorrection,
                                                       const LayoutTexts& texts, const WriteOptions& options);

// Encodes the layouts (and the WAP layout when asked for) into image, in the five passes and the WAP step
// the firmware expects. Checks first with checkLayouts and leaves image untouched when it refuses.
[[nodiscard]] std::optional<WriteRefusal> writeLayouts(std::span<std::uint8_t> image,
                                                       const FirmwareDescriptor& firmware, bool hasRussian,
                                                       std::int32_t addressCorrection,
                                                       const LayoutTexts& texts, const WriteOptions& options);

// Every area writeLayouts may change in an image of this firmware, whatever the texts and options: the
// key tables and the key-10 entry, the three string storages and, where WAP is available, the two WAP
// tables and the WAP storage.
[[nodiscard]] std::vector<ImageArea> writtenAreas(const FirmwareDescriptor& firmware);

// The offsets of those further tables (otherTableAt) whose bytes or strings writeLayouts would change with
// these texts and options, in the order given; none when it would refuse.
[[nodiscard]] std::vector<std::int32_t>
tablesWrittenOver(std::span<const std::uint8_t> image, const FirmwareDescriptor& firmware, bool hasRussian,
                  std::int32_t addressCorrection, const LayoutTexts& texts, const WriteOptions& options,
                  std::span<const OtherTable> tables);

// Bytes the 24 WAP strings take: each key text in UTF-8 plus a terminating 0.
[[nodiscard]] std::int32_t wapBytes(const LayoutTexts& texts, WapSource source);

} // namespace klavoset
