#include "cli/ApplyCommand.h"
#include "cli/Command.h"
#include "cli/DemoImageCommand.h"
#include "cli/ExportCommand.h"
#include "cli/FirmwareCommand.h"
#include "cli/IdentifyCommand.h"
#include "cli/ShowCommand.h"

#include <ostream>

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

namespace {

constexpr std::string_view kExitCodes = "Exit codes: 0 done, 1 bad usage, 2 a file cannot be opened, read or "
                                        "written,\n3 firmware not supported (or the image is too short for "
                                        "it), 4 layouts do not fit or cannot be stored.\n";

void printHelp(std::ostream& out)
{
    out << "klavoset-cli: the layout editor of Siemens phone fullflash images, without a window.\n\n"
           "usage: klavoset-cli COMMAND [ARGS]   (klavoset-cli COMMAND --help for one command)\n\n";
    for (const auto& command : allCommands())
        out << command->help() << '\n';
    out << kExitCodes;
}

} // namespace

int runCommandLine(std::vector<std::string> args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? err : out);
        return args.empty() ? 1 : 0;
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
