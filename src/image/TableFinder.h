// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareTable.h"

#include <cstdint>
#include <optional>
#include <span>

namespace klavoset {

// Where the key tables of a firmware lie, found by their structure: a FirmwareRow with an empty id
// (newGeneration, hasRussian, englishTable, russianTable, key10Entry, wapUpperTable, wapLowerTable;
// key10Entry 0 on the older generation; both WAP offsets 0 unless found with certainty). Nothing unless
// exactly one place in the image fits every check.
[[nodiscard]] std::optional<FirmwareRow> findKeyTables(std::span<const std::uint8_t> image);

} // namespace klavoset
