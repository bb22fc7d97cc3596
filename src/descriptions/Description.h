// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/Result.h"
#include "image/FirmwareTable.h"

#include <string>
#include <string_view>

namespace klavoset {

// A firmware the table does not list, as the user keeps it: its identity string and where its key tables
// lie. The text is one small JSON object (descriptionText); the window and the tool keep one file of it per
// firmware, the page keeps the texts in the browser's storage.
struct FirmwareDescription
{
    std::string id;  // the identity string as the image spells it (Windows-1251 bytes)
    FirmwareRow row; // its id is left empty: `id` holds the string, and a copy would leave a view dangling
};

// The text of a description: one JSON object of "firmware", "newGen", "hasRus" and "descriptor" with the
// row's offsets as plain integers ("EngTab", "RusTab", "Key10Entry", "WapTabU", "WapTabL"), ending in a
// line break; the identity string in UTF-8.
[[nodiscard]] std::string descriptionText(std::string_view id, const FirmwareRow& row);

// The description a text holds, or why it holds none: not JSON, a key missing, unknown or of the wrong type,
// a derived offset ("EngData", "RusData", "CommonData", "WapData", "CommonCap", each optional) that is not
// what the row gives, or a row the catalog refuses (the table has the firmware, an area lies outside any
// image, ...). Never throws.
[[nodiscard]] Result<FirmwareDescription, std::string> parseDescription(std::string_view text);

// The text of a description of `id` that reads back as exactly this firmware, or why there is none: what
// is kept must load again as this very firmware, or it would be lost at the next start.
[[nodiscard]] Result<std::string, std::string> keepableDescriptionText(std::string_view id,
                                                                       const FirmwareRow& row);

// Whether two rows place the layouts alike: the same generation, Russian layouts and offsets; ids aside.
[[nodiscard]] bool sameLayoutPlaces(const FirmwareRow& a, const FirmwareRow& b);

} // namespace klavoset
