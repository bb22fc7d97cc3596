#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {

// The home page of the program, written without a scheme, as the patch header names it.
inline constexpr std::u16string_view kHomePage = u"klavoset.example.org/Siemens/Klavoset/Klavoset.htm";

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

// The patch text in Windows-1251, every line ended by CR LF: two comment lines (the identity string
// `FwId`, as the image spells it, and the program with its home page), then one line per block.
[[nodiscard]] std::string formatVkp(std::string_view FwId, std::span<const ChangedBlock> blocks);

// The patch name proposed for a fullflash: its file name's extension replaced by ".vkp", or ".vkp"
// appended when the file name has none. Dots in folder names are left alone.
[[nodiscard]] std::u16string defaultVkpName(std::u16string_view FlashFile);

} // namespace klavoset
