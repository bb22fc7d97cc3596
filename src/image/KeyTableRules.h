// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareTable.h"
#include "image/ImageScan.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace klavoset {

// Key tables that fit every rule, and the address correction their pointers were read under.
struct FoundTables
{
    FirmwareRow row{};
    std::int32_t correction = 0;
};

// What makes a place of the image a firmware's key tables, whether the strings lie where the firmware
// keeps them (each table's letters just below it, the newer generation's key 10 just below its entry) or
// where a save by this program put them. Every table of a firmware is seen; the rules only collect them.
class KeyTableRules
{
  public:
    explicit KeyTableRules(const ImageBytes& image);

    // Tries each English table the entry at `at` may be a letter key of, under every address correction
    // that brings its string within reach.
    void tryLetterEntry(std::int64_t at);

    [[nodiscard]] std::span<const FoundTables> found() const { return m_found; }
    // Something table-like that fits no rule (a damaged Russian table, more English tables than any
    // firmware has): no answer can be trusted.
    [[nodiscard]] bool undecidable() const { return m_undecidable; }
    // Nothing more can change the answer.
    [[nodiscard]] bool stopped() const { return m_undecidable || m_found.size() > 1; }

  private:
    void tryEnglishTable(std::int64_t table, std::size_t c);
    void tryNewer(std::int64_t english, std::int32_t correction);
    void tryOlder(std::int64_t english, std::int32_t correction);
    [[nodiscard]] bool lettersNear(std::int64_t table, std::int32_t correction) const;
    [[nodiscard]] std::array<int, 2> lettersBelow(std::int64_t table, std::int64_t english,
                                                  std::int32_t correction, bool stopAtFirstMiss) const;
    [[nodiscard]] bool key10StringKept(std::int64_t english, std::int32_t correction) const;
    [[nodiscard]] bool russianTable(std::int64_t english, std::int64_t russian, bool newGeneration,
                                    std::int32_t correction) const;
    [[nodiscard]] bool olderSharedStringsKept(std::int64_t english, std::int64_t russian,
                                              std::int32_t correction) const;
    [[nodiscard]] bool tableBelowSharesKeys(std::int64_t table) const;
    [[nodiscard]] bool unitsStorable(const FirmwareRow& row, std::int32_t correction) const;
    [[nodiscard]] bool searchRussianTable();
    void add(const FirmwareRow& row, std::int32_t correction);

    static constexpr std::size_t kTriedSlots = 128; // more than the span of places one seed names

    const ImageBytes& m_image;
    // The last English table place tried per slot, by correction.
    std::array<std::array<std::int64_t, kTriedSlots>, kAddressCorrections.size()> m_tried{};
    int m_englishTables = 0;
    std::vector<FoundTables> m_found;
    bool m_undecidable = false;
};

} // namespace klavoset
