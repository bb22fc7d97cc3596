// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/VkpPatch.h"

#include "base/Addresses.h"
#include "base/Cp1251.h"
#include "writers/Hex.h"

#include <algorithm>
#include <cstring>

namespace klavoset {

namespace {

// Appends the changed blocks of the stretch from `start`, where both spans begin, to `blocks`.
void diffInto(std::vector<ChangedBlock>& blocks, std::size_t start, std::span<const std::uint8_t> original,
              std::span<const std::uint8_t> edited)
{
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
            b.offset = static_cast<std::uint32_t>(start + at);
            b.length = length;
            std::copy_n(original.begin() + static_cast<std::ptrdiff_t>(at), length, b.before.begin());
            std::copy_n(edited.begin() + static_cast<std::ptrdiff_t>(at), length, b.after.begin());
            blocks.push_back(b);
        }
    }
}

} // namespace

std::vector<ChangedBlock> diffBlocks(std::span<const std::uint8_t> original,
                                     std::span<const std::uint8_t> edited)
{
    std::vector<ChangedBlock> blocks;
    diffInto(blocks, 0, original, edited);
    return blocks;
}

BlockCopy::BlockCopy(std::span<const std::uint8_t> image, std::span<const ImageArea> areas)
{
    struct Stretch
    {
        std::size_t begin, end;
    };
    std::vector<Stretch> stretches;
    for (const ImageArea& a : areas) {
        const std::int64_t first = std::max<std::int64_t>(a.offset, 0);
        const std::int64_t last =
            std::min<std::int64_t>(std::int64_t{a.offset} + a.size, static_cast<std::int64_t>(image.size()));
        if (first >= last)
            continue;
        const auto begin = static_cast<std::size_t>(first) / kVkpBlock * kVkpBlock;
        const auto end =
            std::min(image.size(), (static_cast<std::size_t>(last) + kVkpBlock - 1) / kVkpBlock * kVkpBlock);
        stretches.push_back({begin, end});
    }
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch& x, const Stretch& y) { return x.begin < y.begin; });
    for (std::size_t i = 0; i < stretches.size();) {
        Stretch merged = stretches[i];
        for (++i; i < stretches.size() && stretches[i].begin <= merged.end; ++i)
            merged.end = std::max(merged.end, stretches[i].end);
        const auto bytes = image.subspan(merged.begin, merged.end - merged.begin);
        m_runs.push_back({merged.begin, {bytes.begin(), bytes.end()}});
    }
}

bool BlockCopy::matches(std::span<const std::uint8_t> image) const
{
    return std::all_of(m_runs.begin(), m_runs.end(), [&](const Run& run) {
        return run.offset + run.bytes.size() <= image.size() &&
               std::equal(run.bytes.begin(), run.bytes.end(),
                          image.begin() + static_cast<std::ptrdiff_t>(run.offset));
    });
}

std::vector<ChangedBlock> diffBlocks(const BlockCopy& original, std::span<const std::uint8_t> edited)
{
    std::vector<ChangedBlock> blocks;
    for (const BlockCopy::Run& run : original.runs())
        if (run.offset < edited.size())
            diffInto(blocks, run.offset, run.bytes, edited.subspan(run.offset));
    return blocks;
}

std::u16string_view patchSignature(std::u16string_view homePage)
{
    // Without a home page of its own, a build signs its patches as the program always has.
    if (homePage.empty())
        return u"klavoset.example.org/Siemens/Klavoset/Klavoset.htm";
    for (const std::u16string_view scheme : {u"https://", u"http://"})
        if (homePage.starts_with(scheme))
            return homePage.substr(scheme.size());
    return homePage;
}

std::string formatVkp(std::string_view id, std::span<const ChangedBlock> blocks)
{
    std::string text = "; ";
    text += id;
    text += toCp1251(u" - Изменение раскладки клавиатуры") + "\r\n";
    text += "; Made by Klavoset   " + toCp1251(patchSignature(kHomePage)) + "\r\n";
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

std::u16string defaultVkpName(std::u16string_view fullflashPath)
{
    const auto slash = fullflashPath.find_last_of(u"/\\");
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    const auto dot = fullflashPath.rfind(u'.');
    // A dot that begins the file name ("/dir/.bin") names the file; it does not start an extension.
    const bool hasExtension = dot != std::u16string_view::npos && dot > nameStart;
    std::u16string name(hasExtension ? fullflashPath.substr(0, dot) : fullflashPath);
    return name + u".vkp";
}

} // namespace klavoset
