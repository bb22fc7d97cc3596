// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SyntheticImages.h"

#include "support/ImageSizes.h"

namespace klavoset::fuzz {

const std::vector<std::uint8_t>& SyntheticImages::of(const FirmwareRow& row, std::int32_t adrFix)
{
    auto [it, added] = m_images.try_emplace({&row, adrFix});
    if (added) {
        const FirmwareDescriptor d = completeDescriptor(row);
        it->second = test::FlashBuilder(test::smallestImageSize(d))
                         .identityOf(row.id)
                         .layouts(d, test::sampleLayouts(d.newGeneration, d.hasRussian), adrFix)
                         .build();
    }
    return it->second;
}

} // namespace klavoset::fuzz
