// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"
#include "core/Editor.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace klavoset::cli {

// Exit codes of every command.
enum ExitCode : int { ExitDone = 0, ExitUsage = 1, ExitFile = 2, ExitUnsupported = 3, ExitDoesNotFit = 4 };

[[nodiscard]] int exitCodeOf(Outcome outcome);

// Adds to `catalog` the firmware descriptions of the user's data folder, each file that is skipped told on
// `err` in one line, then the description file `firmwareFile` when one is named. ExitDone, or, having
// said why, ExitFile when that file cannot be read and ExitUnsupported when it holds no valid description.
[[nodiscard]] int loadFirmware(FirmwareCatalog& catalog, FileSystem& files,
                               const std::optional<std::string>& firmwareFile, std::ostream& err);

// A started editor without a window, reached through the file commands that take a path. Messages of
// failed commands go to stderr as one line each.
class CliSession
{
  public:
    explicit CliSession(std::ostream& err);

    // The firmware the editor loads: the table, the descriptions of the data folder and the file named
    // by --firmware-file (loadFirmware); call it before opening an image.
    [[nodiscard]] int loadFirmware(const std::optional<std::string>& firmwareFile);

    // Opens a fullflash; on failure the reason is already printed.
    [[nodiscard]] Outcome openFullflash(const std::string& path, bool koi8);

    // Prints the message of a failed command; returns its outcome.
    Outcome report(const CommandResult& result);

    MemoryView view;
    RealFileSystem files{RealFileSystem::Reading::Map}; // a command ends in milliseconds: images are mapped
    NoSystemServices system;
    Editor editor{view, files, system};

  private:
    std::ostream& m_err;
};

} // namespace klavoset::cli
