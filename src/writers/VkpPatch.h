// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareDescriptor.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {

inline constexpr std::size_t kVkpBlock = 16;

// One 16-byte block of the image in which at least one byte changed. The last block of an image whose
// length is not a multiple of 16 is shorter: only its first `length` bytes exist.
struct ChangedBlock
{
    std::uint32_t offset = 0;
    std::size_t length = kVkpBlock;
    std::array<std::uint8_t, kVkpBlock> before{};
    std::array<std::uint8_t, kVkpBlock> after{};

    bool operator==(const ChangedBlock&) const = default;
};

// The blocks, in ascending order, where `edited` differs from `original`. Only the bytes both hold are
// compared; images of one firmware always have the same length.
[[nodiscard]] std::vector<ChangedBlock> diffBlocks(std::span<const std::uint8_t> original,
                                                   std::span<const std::uint8_t> edited);

// The bytes of an image in a few areas, each widened to whole 16-byte blocks, kept to compare with the image
// later: when nothing outside the areas can change, they are all a patch needs of the old image.
class BlockCopy
{
  public:
    struct Run
    {
        std::size_t offset = 0; // a multiple of 16
        std::vector<std::uint8_t> bytes;

        bool operator==(const Run&) const = default;
    };

    BlockCopy() = default;
    // Areas may overlap, touch, come in any order or reach past either end of the image.
    BlockCopy(std::span<const std::uint8_t> image, std::span<const ImageArea> areas);

    // In ascending order, apart from each other by at least one block.
    [[nodiscard]] const std::vector<Run>& runs() const { return m_runs; }
    // True when every kept byte equals the byte of `image` at the same offset.
    [[nodiscard]] bool matches(std::span<const std::uint8_t> image) const;

  private:
    std::vector<Run> m_runs;
};

// The blocks, in ascending order, where `edited` differs from the kept bytes of the old image; only kept
// blocks are compared, so the result equals a comparison of the whole images when nothing else changed.
[[nodiscard]] std::vector<ChangedBlock> diffBlocks(const BlockCopy& original,
                                                   std::span<const std::uint8_t> edited);

// The patch text in Windows-1251, every line ended by CR LF: two comment lines (the identity string
// `id`, as the image spells it, and the program with its home page), then one line per block.
[[nodiscard]] std::string formatVkp(std::string_view id, std::span<const ChangedBlock> blocks);

// How the second comment line names the program's home page: written without its scheme.
[[nodiscard]] std::u16string_view patchSignature(std::u16string_view homePage);

// The patch name proposed for a fullflash: its file name's extension replaced by ".vkp", or ".vkp"
// appended when the file name has none. Dots in folder names are left alone.
[[nodiscard]] std::u16string defaultVkpName(std::u16string_view fullflashPath);

} // namespace klavoset
