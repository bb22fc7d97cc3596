// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"
#include "core/MemoryView.h"
#include "image/FirmwareTable.h"
#include "support/RandomLayouts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset::test {

// One generated case of a property: an image of the firmware holding random layouts, the options, and
// the random layouts typed before saving. Everything follows from the row and the seed.
struct PropertyCase
{
    enum class Fill { Erased, Noise }; // the bytes outside the layouts: 0xFF as in a phone, or random

    PropertyCase(const FirmwareRow& row, std::uint32_t seed, Fill fill = Fill::Erased);

    FirmwareDescriptor d;
    std::uint32_t seed;
    std::int32_t size = 0;
    std::int32_t correction = 0; // the address correction the image's pointers need
    bool koi = false;
    std::string_view wap = "WAP_No"; // the WAP option's menu item
    LayoutTexts loaded;              // what the image holds
    LayoutTexts edited;              // what is typed before saving
    std::vector<std::uint8_t> image;
    RandomLayouts random;

    // Row, seed and choices, for the failure message.
    [[nodiscard]] std::string describe() const;
    [[nodiscard]] bool writesWap() const { return wap != "WAP_No"; }
};

// Where two sets of layouts first differ ("rb key 5: ..."), empty when they are equal; keeps a failure
// readable where printing both would show 48 fields of bytes.
[[nodiscard]] std::string firstDifference(const LayoutTexts& got, const LayoutTexts& want);

// Types `texts` into the fields that differ, eb first, so that the shared keys reach the other layouts
// through the window's own copying.
void typeTexts(MemoryView& view, const LayoutTexts& texts);

} // namespace klavoset::test
