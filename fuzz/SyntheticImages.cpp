// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SyntheticImages.h"

#include "support/ImageSizes.h"

namespace klavoset::fuzz {

const std::vector<std::uint8_t>& SyntheticImages::of(const FirmwareRow& row, std::int32_t correction,
                                                     bool phoneKept)
{
    auto [it, added] = m_images.try_emplace({&row, correction, phoneKept});
    if (added) {
        const FirmwareDescriptor d = completeDescriptor(row);
        const LayoutTexts texts = test::sampleLayouts(d.newGeneration, d.hasRussian);
        test::ImageBuilder builder(test::smallestImageSize(d));
        builder.identityOf(row.id);
        it->second = (phoneKept ? builder.firmwareLayouts(d, texts, correction)
                                : builder.layouts(d, texts, correction))
                         .build();
    }
    return it->second;
}

} // namespace klavoset::fuzz
