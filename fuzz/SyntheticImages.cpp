#include "SyntheticImages.h"

#include "image/Identify.h"

#include <algorithm>

namespace klavoset::fuzz {

std::int32_t smallestImageSize(const FirmwareDescriptor& d)
{
    constexpr std::int32_t kStep = 0x10000;
    std::int32_t size = kProbes[0] + 0x80; // the identity block and "SIEMENS" at the first probe
    size = (size + kStep - 1) / kStep * kStep;
    while (!descriptorFitsImage(d, size))
        size += kStep;
    return size;
}

const std::vector<std::uint8_t>& SyntheticImages::of(const FirmwareRow& row, std::int32_t adrFix)
{
    auto [it, added] = m_images.try_emplace({&row, adrFix});
    if (added) {
        const FirmwareDescriptor d = completeDescriptor(row);
        it->second = test::FlashBuilder(smallestImageSize(d))
                         .identityOf(row.id)
                         .layouts(d, test::sampleLayouts(d.NewGen, d.HasRus), adrFix)
                         .build();
    }
    return it->second;
}

} // namespace klavoset::fuzz
