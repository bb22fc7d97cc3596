// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

// Conversions between the UTF-16 texts of the editor and the UTF-8 of files, paths and terminals.
namespace klavoset {

[[nodiscard]] std::string toUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD, so any byte string converts without failure.
[[nodiscard]] std::u16string fromUtf8(std::string_view text);

} // namespace klavoset
