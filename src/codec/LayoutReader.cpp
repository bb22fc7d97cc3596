// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/LayoutReader.h"

#include "codec/KeyCodec.h"

namespace klavoset {

LayoutTexts decodeLayouts(std::span<std::uint8_t> image, const FirmwareDescriptor& firmware, bool hasRussian,
                          std::int32_t& addressCorrection, bool koi)
{
    KeyCodec codec(image, addressCorrection, firmware.key10Entry, koi);
    LayoutTexts texts;
    const int keys = firmware.newGeneration ? 11 : 12;
    for (int i = 0; i < keys; ++i) {
        const bool key10 = i == 10;
        const auto decode = [&](Layout a, std::int32_t table, bool english) {
            texts.at(a, i) = codec.decodeKey(table + kEntryBytes * i, english, key10).text;
        };
        decode(Layout::englishUpper, firmware.englishTable, true);
        decode(Layout::englishLower, firmware.englishTable + kTableBytes / 2, true);
        if (hasRussian) {
            decode(Layout::russianUpper, firmware.russianTable, false);
            decode(Layout::russianLower, firmware.russianTable + kTableBytes / 2, false);
        }
    }
    return texts;
}

} // namespace klavoset
