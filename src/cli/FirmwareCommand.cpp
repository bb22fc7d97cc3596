// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/FirmwareCommand.h"

#include "image/FirmwareTable.h"

#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>

namespace klavoset::cli {

std::string_view FirmwareCommand::help() const
{
    return "klavoset-cli firmware [--json]\n"
           "  Lists the supported firmware: identity string, generation, whether it has Russian layouts\n"
           "  and whether its WAP layout can be written.\n"
           "  --json  one JSON array of {\"firmware\", \"newGen\", \"hasRus\", \"wap\"} objects\n";
}

int FirmwareCommand::run(Arguments args, std::ostream& out, std::ostream& err)
{
    const bool json = args.flag("--json");
    if (!args.positional().empty())
        return usageError(*this, "unexpected argument " + args.positional().front(), err);

    nlohmann::json list = nlohmann::json::array();
    for (const FirmwareRow& row : supportedFirmware()) {
        const FirmwareDescriptor d = completeDescriptor(row);
        if (json) {
            list.push_back({{"firmware", row.id},
                            {"newGen", d.newGeneration},
                            {"hasRus", d.hasRussian},
                            {"wap", d.wapAvailable}});
            continue;
        }
        out << std::left << std::setw(16) << row.id << (d.newGeneration ? "newer " : "older ")
            << (d.hasRussian ? "ru+en " : "en    ") << (d.wapAvailable ? "wap" : "no-wap") << '\n';
    }
    if (json)
        out << list.dump(2) << '\n';
    return 0;
}

} // namespace klavoset::cli
