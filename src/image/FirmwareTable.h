// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace klavoset {

// One supported firmware as the table gives it; 0 means "not given by the row".
struct FirmwareRow
{
    std::string_view id;
    bool newGeneration;
    bool hasRussian;
    std::int32_t englishTable;
    std::int32_t russianTable;
    std::int32_t key10Entry;
    std::int32_t wapUpperTable;
    std::int32_t wapLowerTable;
};

[[nodiscard]] std::span<const FirmwareRow> supportedFirmware();

// Exact, case-sensitive lookup of an identity string.
[[nodiscard]] const FirmwareRow* findFirmware(std::string_view fwId);

// The row's values plus the derived storage offsets, sharedCapacity and the WAP availability.
[[nodiscard]] FirmwareDescriptor completeDescriptor(const FirmwareRow& row);

} // namespace klavoset
