// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"
#include "image/FirmwareDescriptor.h"
#include "image/FirmwareTable.h"

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {
// Names a table row in test output.
inline void PrintTo(const FirmwareRow& row, std::ostream* os) { *os << row.id; }
} // namespace klavoset

namespace klavoset::test {
// Names the cases of a suite over table rows: "C55 v24 lg91" gives "C55_v24_lg91".
struct RowName
{
    template <typename ParamInfo> std::string operator()(const ParamInfo& info) const
    {
        std::string name;
        for (const char c : info.param.id)
            name += (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? c : '_';
        return name;
    }
};
} // namespace klavoset::test

namespace klavoset::test {

// Builds synthetic fullflash images in memory: an identity block at any probe, key-table entries,
// strings at chosen places, any length. Independent of the engine's writer, so it can check it.
class ImageBuilder
{
  public:
    explicit ImageBuilder(std::int32_t size = 0x1000000, std::uint8_t fill = 0xFF);

    // The identity block below `probe`: model, version byte, language and "SIEMENS".
    ImageBuilder& identity(std::string_view model, std::uint8_t version, std::string_view language,
                           std::int32_t probe = 0x7FF80, std::string_view marker = "SIEMENS");
    // The block of a table row's identity string ("C55 v24 lg91").
    ImageBuilder& identityOf(std::string_view fwId, std::int32_t probe = 0x7FF80);

    ImageBuilder& bytes(std::int32_t at, std::initializer_list<std::uint8_t> values);
    ImageBuilder& units(std::int32_t at, std::u16string_view text); // 16-bit little-endian units
    // A 6-byte entry pointing at image offset `target` under the given address correction.
    ImageBuilder& entry(std::int32_t at, std::uint8_t count, std::int32_t target,
                        std::int32_t correction = 0);

    // Every key of the four layouts (Russian ones when the descriptor has them) stored the firmware's
    // way: shared keys once in sharedStorage, letters in englishStorage/russianStorage, key 10 of newer
    // firmware in key10Entry. Texts must be plain Unicode (no KOI8), each key below 256 units.
    ImageBuilder& layouts(const FirmwareDescriptor& d, const LayoutTexts& texts, std::int32_t correction = 0);

    // The same layouts where an untouched firmware keeps them: each table's strings back to back just
    // below it (the English table's shared keys first, then the letters, upper case first), every table's
    // shared keys pointing at the English ones; on the newer generation key 10 just below key10Entry,
    // zeros in the tables' key-10 and key-11 slots and, with `furtherTable`, a table of one Greek layout
    // 0x124 above the English table, its letters just below it.
    ImageBuilder& firmwareLayouts(const FirmwareDescriptor& d, const LayoutTexts& texts,
                                  std::int32_t correction = 0, bool furtherTable = true);
    // A further key table of one layout at `at`, as a firmware keeps its Greek or Arabic letters: on the
    // older generation the entries of the shared keys copied from the English table (so lay the layouts
    // first); on the newer, zero entries for keys 10 and 11. Every other key points at two units of its
    // own, one after another from `stringsAt`.
    ImageBuilder& otherTable(const FirmwareDescriptor& d, std::int32_t at, std::int32_t stringsAt,
                             std::int32_t correction = 0);

    [[nodiscard]] std::vector<std::uint8_t> build() const { return m_bytes; }
    [[nodiscard]] std::vector<std::uint8_t>& raw() { return m_bytes; }

  private:
    std::vector<std::uint8_t> m_bytes;
};

// The image offset an address points at, and back, as the firmware maps them.
[[nodiscard]] std::int32_t addressOf(std::int32_t offset, std::int32_t imageSize, std::int32_t correction);

// Layout texts that fit every firmware: distinct letters per key, shared keys short.
[[nodiscard]] LayoutTexts sampleLayouts(bool newGeneration, bool hasRussian);

// The descriptor of a supported identity.
[[nodiscard]] FirmwareDescriptor descriptorOf(std::string_view fwId);

// A whole image of a supported firmware holding the given layouts.
[[nodiscard]] std::vector<std::uint8_t> imageOf(std::string_view fwId, const LayoutTexts& texts,
                                                std::int32_t size = 0x1000000);

} // namespace klavoset::test
