// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SyntheticImages.h"

#include "support/ImageSizes.h"

namespace klavoset::fuzz {

const std::vector<std::uint8_t>& SyntheticImages::of(const FirmwareRow& row, std::int32_t correction)
{
    auto [it, added] = m_images.try_emplace({&row, correction});
    if (added) {
        const FirmwareDescriptor d = completeDescriptor(row);
        it->second = test::ImageBuilder(test::smallestImageSize(d))
                         .identityOf(row.id)
                         .layouts(d, test::sampleLayouts(d.newGeneration, d.hasRussian), correction)
                         .build();
    }
    return it->second;
}

} // namespace klavoset::fuzz
