// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "codec/LayoutReader.h"

#include "codec/KeyCodec.h"

namespace klavoset {

LayoutTexts decodeLayouts(std::span<std::uint8_t> Flash, const FirmwareDescriptor& fw, bool HasRus,
                          std::int32_t& AdrFix, bool koi)
{
    KeyCodec codec(Flash, AdrFix, fw.Key10Entry, koi);
    LayoutTexts texts;
    const int keys = fw.NewGen ? 11 : 12;
    for (int i = 0; i < keys; ++i) {
        const bool key10 = i == 10;
        const auto decode = [&](KeyArray a, std::int32_t table, bool english) {
            std::int32_t q = table + kEntryBytes * i;
            texts.at(a, i) = codec.GetUniStr(q, english, key10);
        };
        decode(KeyArray::eb, fw.EngTab, true);
        decode(KeyArray::em, fw.EngTab + kTableBytes / 2, true);
        if (HasRus) {
            decode(KeyArray::rb, fw.RusTab, false);
            decode(KeyArray::rm, fw.RusTab + kTableBytes / 2, false);
        }
    }
    return texts;
}

} // namespace klavoset
