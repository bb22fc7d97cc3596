// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <cstddef>
#include <vector>

namespace klavoset::test {

// The areas a save may change, from the firmware's descriptor alone: the key tables (and the key-10 entry
// of the newer generation), the string storages, and, when the WAP layout is written, bytes 6..9 of every
// WAP record and the WAP storage. The Russian areas only with `hasRussian`.
[[nodiscard]] std::vector<ImageArea> writableAreas(const FirmwareDescriptor& d, bool hasRussian, bool wap);

// Whether the byte at `offset` lies in one of `areas`.
[[nodiscard]] bool isWritable(const std::vector<ImageArea>& areas, std::size_t offset);

// writableAreas as a map of an image of `size` bytes.
[[nodiscard]] std::vector<bool> writableBytes(const FirmwareDescriptor& d, bool hasRussian, bool wap,
                                              std::size_t size);

} // namespace klavoset::test
