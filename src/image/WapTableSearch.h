// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareTable.h"
#include "image/ImageScan.h"

#include <cstdint>
#include <span>

namespace klavoset {

// The WAP tables of the key tables in `row`: the only two places whose twelve records all point at
// NUL-terminated UTF-8 strings in the WAP storage these tables give, apart from every key area. `hits` are
// the pointers the scan found that may start three records. Sets both WAP offsets only when certain.
void findWapTables(const ImageBytes& image, FirmwareRow& row, std::int32_t correction,
                   std::span<const std::int64_t> hits);

} // namespace klavoset
