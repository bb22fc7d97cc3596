// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"
#include "base/Result.h"
#include "descriptions/Description.h"
#include "image/FirmwareCatalog.h"

#include <string>
#include <string_view>
#include <vector>

// The descriptions of the desktop programs, one file per firmware in the user's data folder. The page has
// no folders: it uses Description.h alone.

namespace klavoset {

// The folder of the user's firmware descriptions: $XDG_DATA_HOME/klavoset/firmware, by default
// ~/.local/share/klavoset/firmware; on Windows %APPDATA%\Klavoset\firmware. Empty when the environment
// names no such place. Only the name: nothing is looked at or made.
[[nodiscard]] std::u16string descriptionFolder();

// The name of the file a description of `id` is kept in: the identity string's letters, digits and '-' as
// they are, a blank as '_', every other byte as %XX, then ".json" ("C55 v25 lg91" gives C55_v25_lg91.json).
// So no two identity strings share a name, and none holds a path separator or a name Windows reserves.
// Empty when `id` is empty or too long to name a file.
[[nodiscard]] std::string descriptionFileName(std::string_view id);

struct DescriptionFileError
{
    enum class Kind {
        Read,    // the file cannot be opened or read
        Invalid, // it was read, but holds no valid description
    };
    Kind kind = Kind::Read;
    std::string reason;
};

// The description in the file `path`.
[[nodiscard]] Result<FirmwareDescription, DescriptionFileError>
readDescriptionFile(FileSystem& files, const std::u16string& path);

// A file of the folder that was not taken, and why.
struct SkippedDescription
{
    std::u16string path;
    std::string reason;
};

// Adds the description in every *.json file of `folder` to `catalog`. One firmware, one description: the
// file named after its identity string (descriptionFileName) wins, else the first by name, and every other
// file of the same firmware is skipped and reported, as is a file that cannot be read or holds no valid
// description (the table's firmware among them: the table wins). Reported in the order of the names. A
// folder that does not exist holds none.
[[nodiscard]] std::vector<SkippedDescription>
loadDescriptions(FileSystem& files, const std::u16string& folder, FirmwareCatalog& catalog);

struct DescriptionSaveError
{
    enum class Kind {
        Refused, // the folder or the file in the way is not the user's own description to replace
        Failed,  // no folder to keep it in, a description that would not read back, a failing disk
    };
    Kind kind = Kind::Failed;
    std::string reason;
};

// Writes the description of `id` into `folder`, made when needed, as descriptionFileName(id), replacing the
// earlier description of the same firmware safely. Refused when the description would not read back as
// given; when the folder belongs to another user or others may write to it (sharedFolderFault); when
// anything but a regular file holding a description of this very firmware is at the name: a link,
// a folder, a file of something else or of another firmware (on a system that ignores the case of names).
// The path written, or why nothing was.
[[nodiscard]] Result<std::u16string, DescriptionSaveError>
saveDescription(FileSystem& files, const std::u16string& folder, std::string_view id, const FirmwareRow& row);

} // namespace klavoset
