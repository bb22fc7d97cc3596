// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/Staging.h"

#include "image/FirmwareTable.h"
#include "image/Identify.h"

namespace klavoset {

Result<StagedImage, StageRefusal> stageImage(FileBytes bytes)
{
    using R = Result<StagedImage, StageRefusal>;
    if (bytes.empty()) {
        bytes.resize(1);
        bytes[0] = 0;
    }
    std::string id = identifyFirmware(bytes);
    const FirmwareRow* row = findFirmware(id);
    if (row == nullptr)
        return R::fail({StageRefusal::Kind::Unsupported, std::move(id)});
    StagedImage image;
    image.fw = completeDescriptor(*row);
    if (!descriptorFitsImage(image.fw, static_cast<std::int32_t>(bytes.size())))
        return R::fail({StageRefusal::Kind::TooShort, std::move(id)});

    // A Russian table whose first entry is not a plausible key-0 entry is not one.
    const auto rus = static_cast<std::size_t>(image.fw.RusTab);
    image.HasRus = image.fw.HasRus && bytes[rus + 1] == 0 && bytes[rus] <= kMaxRusKey0Count;
    image.Flash = std::move(bytes);
    return R::ok(std::move(image));
}

} // namespace klavoset
