// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace klavoset {

// Text read from an image or a file, fit for a terminal: every control byte (below 0x20, and 0x7F) shown
// as \xHH, so that none moves the cursor, writes the clipboard or fakes a line of the listing.
[[nodiscard]] std::string printable(std::string_view text);

// An identity string (Windows-1251 bytes) as the window and the page show it: every control character as
// U+FFFD, so that none breaks a line of a message or a status panel.
[[nodiscard]] std::u16string shownIdentity(std::string_view id);

// An image offset as users read it in a hex viewer: 0x3DADF4.
[[nodiscard]] std::string hexOffset(std::int32_t offset);

} // namespace klavoset
