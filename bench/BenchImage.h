// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"
#include "support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset::bench {

inline constexpr std::string_view kFirmware = "C55 v24 lg91";
inline constexpr std::int32_t kImageSize = 16 << 20;

// The image every benchmark works on, written once to a file: a 16 MiB synthetic fullflash holding the
// sample layouts, and the same layouts with a dozen characters changed in place (lengths kept, so the
// changes stay in a dozen 16-byte blocks).
struct BenchImage
{
    test::TempDir dir;
    std::filesystem::path imagePath;
    LayoutTexts original;
    LayoutTexts edited;
    std::vector<std::uint8_t> originalBytes; // the image as built
    std::vector<std::uint8_t> editedBytes;   // the image with `edited` laid out the firmware's way

    [[nodiscard]] static const BenchImage& get();

  private:
    BenchImage();
};

// The sample layouts of the bench firmware, and the same with a dozen characters changed in place.
[[nodiscard]] LayoutTexts originalLayouts();
[[nodiscard]] LayoutTexts editedLayouts();
// A 16 MiB image of the bench firmware holding `texts` the firmware's way.
[[nodiscard]] std::vector<std::uint8_t> imageWith(const LayoutTexts& texts);

// Replaces `path` the plain way: write a temporary file beside it, flush it to disk, rename it over.
void plainReplace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace klavoset::bench
