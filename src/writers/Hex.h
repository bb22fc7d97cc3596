// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

namespace klavoset {

// A byte as two upper-case hexadecimal digits, the leading zero kept ("00", "0A", "FF").
[[nodiscard]] inline std::string h(std::uint8_t w)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[w >> 4], kDigits[w & 0x0F]};
}

} // namespace klavoset
