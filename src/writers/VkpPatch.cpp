#include "writers/VkpPatch.h"

#include "base/Cp1251.h"
#include "writers/Hex.h"

#include <algorithm>
#include <cstring>

namespace klavoset {

std::vector<ChangedBlock> diffBlocks(std::span<const std::uint8_t> original,
                                     std::span<const std::uint8_t> edited)
{
    std::vector<ChangedBlock> blocks;
    const std::size_t size = std::min(original.size(), edited.size());
    // Nearly all of an image is unchanged: a run of blocks is compared at once, as fast as memcmp goes,
    // and only a run that differs is looked into block by block.
    constexpr std::size_t kRun = 256 * kVkpBlock;
    for (std::size_t run = 0; run < size; run += kRun) {
        const std::size_t runEnd = std::min(size, run + kRun);
        if (std::memcmp(original.data() + run, edited.data() + run, runEnd - run) == 0)
            continue;
        for (std::size_t at = run; at < runEnd; at += kVkpBlock) {
            const std::size_t length = std::min(kVkpBlock, size - at);
            if (std::memcmp(original.data() + at, edited.data() + at, length) == 0)
                continue;
            ChangedBlock b;
            b.offset = static_cast<std::uint32_t>(at);
            b.length = length;
            std::copy_n(original.begin() + static_cast<std::ptrdiff_t>(at), length, b.before.begin());
            std::copy_n(edited.begin() + static_cast<std::ptrdiff_t>(at), length, b.after.begin());
            blocks.push_back(b);
        }
    }
    return blocks;
}

std::string formatVkp(std::string_view FwId, std::span<const ChangedBlock> blocks)
{
    std::string text = "; ";
    text += FwId;
    text += toCp1251(u" - Изменение раскладки клавиатуры") + "\r\n";
    text += "; Made by Klavoset   " + toCp1251(kHomePage) + "\r\n";
    for (const ChangedBlock& b : blocks) {
        std::string offset;
        for (std::uint32_t v = b.offset; offset.empty() || v != 0; v >>= 4)
            offset.insert(offset.begin(), "0123456789ABCDEF"[v & 0xF]);
        text += offset + ": ";
        for (std::size_t k = 0; k < b.length; ++k)
            text += h(b.before[k]);
        text += ' ';
        for (std::size_t k = 0; k < b.length; ++k)
            text += h(b.after[k]);
        text += "\r\n";
    }
    return text;
}

std::u16string defaultVkpName(std::u16string_view FlashFile)
{
    const auto slash = FlashFile.find_last_of(u"/\\");
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    const auto dot = FlashFile.rfind(u'.');
    // A dot that begins the file name ("/dir/.bin") names the file; it does not start an extension.
    const bool hasExtension = dot != std::u16string_view::npos && dot > nameStart;
    std::u16string name(hasExtension ? FlashFile.substr(0, dot) : FlashFile);
    return name + u".vkp";
}

} // namespace klavoset
