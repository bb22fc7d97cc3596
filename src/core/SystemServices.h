// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareCatalog.h"

#include <optional>
#include <string>
#include <vector>

namespace klavoset {

// What the editor needs of the operating system beyond files: the outside tools it can start, the help
// page beside the program, the command line, and starting programs and documents. Each platform
// provides its own; nothing here waits for a started program.
class SystemServices
{
  public:
    virtual ~SystemServices() = default;

    // The patcher's registered open command (holding "%1"), or empty when it is not registered.
    [[nodiscard]] virtual std::u16string patcherOpenCommand() = 0;
    // Paths of the calculator and character-map programs, empty when there is none.
    [[nodiscard]] virtual std::u16string calculatorPath() = 0;
    [[nodiscard]] virtual std::u16string charMapPath() = 0;
    // The help page beside the program's own executable.
    [[nodiscard]] virtual std::u16string helpPagePath() = 0;
    // The whole command-line text after the program name.
    [[nodiscard]] virtual std::u16string commandLine() = 0;

    // The program and arguments of a command line, split by the system's rules of quoting.
    [[nodiscard]] virtual std::vector<std::u16string> splitCommandLine(const std::u16string& commandLine) = 0;
    // Starts the program that `arguments` begins with, each of the rest handed to it as it is, in a
    // normal window that takes the focus.
    virtual void startProgram(const std::vector<std::u16string>& arguments) = 0;
    // The firmware this system can load: the built-in table and the descriptions it keeps (in the user's
    // data folder, in the browser's storage).
    [[nodiscard]] virtual const FirmwareCatalog& firmwareCatalog() = 0;
    // Keeps the description of a firmware found in an image, so that its images load as a table row's
    // from now on; the reason, in the system's words, when it could not be kept.
    virtual std::optional<std::string> rememberFirmware(const std::string& id, const FirmwareRow& row) = 0;

    // Hands a file, web address or mailto address to the program associated with it.
    virtual void openDocument(const std::u16string& target) = 0;
    // Opens a fullflash image for viewing with the program the system has for plain binary data, which
    // is never this editor; returns false, having started nothing, when there is no such program.
    [[nodiscard]] virtual bool viewImage(const std::u16string& path) = 0;
};

// No tools, no command line, starts nothing, keeps found firmware for the run only: for the command-line
// tool and tests.
class NoSystemServices : public SystemServices
{
  public:
    const FirmwareCatalog& firmwareCatalog() override { return catalog; }
    std::optional<std::string> rememberFirmware(const std::string& id, const FirmwareRow& row) override
    {
        return catalog.add(id, row);
    }
    std::u16string patcherOpenCommand() override { return {}; }
    std::u16string calculatorPath() override { return {}; }
    std::u16string charMapPath() override { return {}; }
    std::u16string helpPagePath() override { return {}; }
    std::u16string commandLine() override { return {}; }
    std::vector<std::u16string> splitCommandLine(const std::u16string&) override { return {}; }
    void startProgram(const std::vector<std::u16string>&) override {}
    void openDocument(const std::u16string&) override {}
    bool viewImage(const std::u16string&) override { return false; }

    FirmwareCatalog catalog; // the table, and what a run was given or found
};

} // namespace klavoset
