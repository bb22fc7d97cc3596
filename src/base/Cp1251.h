// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

// The Windows-1251 code page: the 8-bit text of identity strings and patch files.
namespace klavoset {

[[nodiscard]] std::u16string fromCp1251(std::string_view bytes);
// Characters without a Windows-1251 form become '?'.
[[nodiscard]] std::string toCp1251(std::u16string_view text);

} // namespace klavoset
