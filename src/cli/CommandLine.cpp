// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Utf.h"
#include "cli/ApplyCommand.h"
#include "cli/Command.h"
#include "cli/DemoImageCommand.h"
#include "cli/ExportCommand.h"
#include "cli/FirmwareCommand.h"
#include "cli/IdentifyCommand.h"
#include "cli/ScanCommand.h"
#include "cli/ShowCommand.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace klavoset::cli {

std::span<const std::unique_ptr<Command>> allCommands()
{
    static const auto commands = [] {
        std::vector<std::unique_ptr<Command>> list;
        list.push_back(std::make_unique<FirmwareCommand>());
        list.push_back(std::make_unique<IdentifyCommand>());
        list.push_back(std::make_unique<ShowCommand>());
        list.push_back(std::make_unique<ExportCommand>());
        list.push_back(std::make_unique<ApplyCommand>());
        list.push_back(std::make_unique<ScanCommand>());
        list.push_back(std::make_unique<DemoImageCommand>());
        return list;
    }();
    return commands;
}

int usageError(const Command& command, std::string_view what, std::ostream& err)
{
    const std::string_view help = command.help();
    err << "klavoset-cli: " << what << "\nusage: " << help.substr(0, help.find('\n')) << '\n';
    return 1;
}

bool outputIsAnInput(const std::string& output, std::initializer_list<std::string> inputs, std::ostream& err)
{
    namespace fs = std::filesystem;
    for (const std::string& input : inputs) {
        std::error_code ec; // a name that does not exist yet is no input
        if (fs::equivalent(fs::path(fromUtf8(output)), fs::path(fromUtf8(input)), ec)) {
            err << "klavoset-cli: " << output << " is the same file as the input " << input
                << "; nothing was written\n";
            return true;
        }
    }
    return false;
}

namespace {

// Laid out so that help2man turns this help into the manual page.
constexpr std::string_view kExitCodes =
    "Exit codes:\n"
    "  0  done\n"
    "  1  bad usage, or scan --save refused\n"
    "  2  a file cannot be opened, read or written\n"
    "  3  firmware not supported (or the image is too short for it), no key\n"
    "     tables found, or a firmware description that is not valid\n"
    "  4  the layouts do not fit or cannot be stored\n";

constexpr std::string_view kDescriptions =
    "Firmware descriptions:\n"
    "  The commands that load an image know the firmware of the built-in table and the firmware described\n"
    "  in the data folder, $XDG_DATA_HOME/klavoset/firmware/, by default ~/.local/share/klavoset/firmware/\n"
    "  (on Windows %APPDATA%\\Klavoset\\firmware\\). A description is one JSON file per firmware, named\n"
    "  after its identity string (C55_v25_lg91.json for \"C55 v25 lg91\"), as scan --json prints it and\n"
    "  scan --save writes it:\n\n"
    "  {\"firmware\": \"C55 v25 lg91\", \"newGen\": true, \"hasRus\": true, \"descriptor\":\n"
    "  {\"EngTab\": 4665462, \"RusTab\": 4666580, \"Key10Entry\": 4668068, \"WapTabU\": 5791040,\n"
    "  \"WapTabL\": 5791734}}\n\n"
    "  The offsets are decimal integers, 0 where there is none; the derived ones that show --json prints\n"
    "  (EngData, RusData, CommonData, WapData, CommonCap) may be given too, and must then agree. A file\n"
    "  that is not a valid description is skipped with one line on standard error, and so is any other\n"
    "  file of a firmware whose own file is there; the built-in table wins over a description of the\n"
    "  same firmware. scan --save replaces only an earlier description of the same firmware at its name,\n"
    "  in a folder no other user may change, and ends with exit code 1, having said why, when anything\n"
    "  else is in the way (a link, another file). The commands that take --firmware-file FILE load\n"
    "  that description too, after the folder's; a FILE that cannot be read ends the command with exit\n"
    "  code 2, one that is not a valid description with 3.\n\n"
    "  A description may be wrong, and what scan finds is the result of a search: check the layouts with\n"
    "  show before writing anything into a phone, and keep a copy of the original fullflash.\n";

void printHelp(std::ostream& out)
{
    out << "Usage: klavoset-cli COMMAND [ARGS]...\n"
           "  or:  klavoset-cli COMMAND --help\n"
           "  or:  klavoset-cli --help | --version\n"
           "The layout editor of Siemens phone fullflash images, without a window.\n\n"
           "Commands:\n\n";
    for (const auto& command : allCommands()) {
        // A blank line before a command's options keeps them a list of their own in the manual page.
        std::string help(command->help());
        if (const auto options = help.find("\n  -"); options != std::string::npos)
            help.insert(options, "\n");
        out << help << '\n';
    }
    out << kDescriptions << '\n'
        << "Options:\n"
           "  -h, --help  print this help (or, after COMMAND, the help of that command) and exit\n"
           "  --version   print the version and exit\n\n"
        << kExitCodes;
}

} // namespace

int runCommandLine(std::vector<std::string> args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? err : out);
        return args.empty() ? 1 : 0;
    }
    if (args[0] == "--version") {
        out << "klavoset-cli " KLAVOSET_VERSION "\n";
        return 0;
    }
    for (const auto& command : allCommands()) {
        if (command->name() != args[0])
            continue;
        args.erase(args.begin());
        if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
            out << command->help() << '\n' << kExitCodes;
            return 0;
        }
        return command->run(Arguments(std::move(args)), out, err);
    }
    err << "klavoset-cli: unknown command " << args[0] << " (try klavoset-cli --help)\n";
    return 1;
}

} // namespace klavoset::cli
