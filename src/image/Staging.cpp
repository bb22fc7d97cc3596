// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/Staging.h"

#include "image/FirmwareCatalog.h"
#include "image/Identify.h"

namespace klavoset {

Result<StagedImage, StageRefusal> stageImage(FileBytes bytes, const FirmwareCatalog& catalog)
{
    using R = Result<StagedImage, StageRefusal>;
    if (bytes.empty()) {
        bytes.resize(1);
        bytes[0] = 0;
    }
    std::string id = identifyFirmware(bytes);
    const FirmwareRow* row = catalog.find(id);
    if (row == nullptr)
        return R::fail({StageRefusal::Kind::Unsupported, std::move(id), std::move(bytes)});
    StagedImage staged;
    staged.firmware = completeDescriptor(*row);
    if (!descriptorFitsImage(staged.firmware, static_cast<std::int32_t>(bytes.size())))
        return R::fail({StageRefusal::Kind::TooShort, std::move(id), {}});

    // A Russian table whose first entry is not a plausible key-0 entry is not one.
    const auto rus = static_cast<std::size_t>(staged.firmware.russianTable);
    staged.hasRussian =
        staged.firmware.hasRussian && bytes[rus + 1] == 0 && bytes[rus] <= kMaxRussianKey0Count;
    staged.image = std::move(bytes);
    return R::ok(std::move(staged));
}

} // namespace klavoset
