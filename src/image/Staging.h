// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileBytes.h"
#include "base/Result.h"
#include "image/FirmwareCatalog.h"
#include "image/FirmwareDescriptor.h"

#include <cstdint>
#include <string>

namespace klavoset {

// An image read and recognised but not yet loaded: what a load replaces the editor's image with.
struct StagedImage
{
    FileBytes image; // never empty: an empty file is taken as a single 0
    FirmwareDescriptor firmware;
    bool hasRussian = false; // the firmware has Russian layouts and the image's Russian table looks real
};

// Why an image cannot be loaded.
struct StageRefusal
{
    enum class Kind {
        Unsupported, // the identity string is neither in the firmware table nor described
        TooShort,    // the firmware is known, but its tables and areas do not all lie inside the image
    };
    Kind kind = Kind::Unsupported;
    std::string id;  // the identity string found, as the image spells it
    FileBytes image; // Unsupported: the image handed back, to be searched without reading it again
};

// Identifies the bytes of a fullflash, looks its firmware up in the catalog and checks that all its areas
// lie inside.
[[nodiscard]] Result<StagedImage, StageRefusal> stageImage(FileBytes bytes, const FirmwareCatalog& catalog);

} // namespace klavoset
