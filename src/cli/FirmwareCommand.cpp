// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/FirmwareCommand.h"

#include "base/Cp1251.h"
#include "base/FileSystem.h"
#include "base/Printable.h"
#include "base/Utf.h"
#include "cli/CliSession.h"
#include "image/FirmwareCatalog.h"

#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>

namespace klavoset::cli {

std::string_view FirmwareCommand::help() const
{
    return "klavoset-cli firmware [--json]\n"
           "  Lists the supported firmware: identity string, generation, whether it has Russian layouts\n"
           "  and whether its WAP layout can be written; the built-in table first, then the firmware\n"
           "  described in the data folder (see scan), marked \"description\".\n"
           "  --json  one JSON array of {\"firmware\", \"newGen\", \"hasRus\", \"wap\", \"source\"} "
           "objects;\n"
           "          source is \"table\" or \"description\"\n";
}

int FirmwareCommand::run(Arguments args, std::ostream& out, std::ostream& err)
{
    const bool json = args.flag("--json");
    if (!args.positional().empty())
        return usageError(*this, "unexpected argument " + args.positional().front(), err);
    RealFileSystem files;
    FirmwareCatalog catalog;
    (void)loadFirmware(catalog, files, std::nullopt, err); // without a file named, only skipped files, told

    nlohmann::json list = nlohmann::json::array();
    const auto listOne = [&](const std::string& id, const FirmwareRow& row, bool described) {
        const FirmwareDescriptor d = completeDescriptor(row);
        if (json) {
            list.push_back({{"firmware", id},
                            {"newGen", d.newGeneration},
                            {"hasRus", d.hasRussian},
                            {"wap", d.wapAvailable},
                            {"source", described ? "description" : "table"}});
            return;
        }
        out << std::left << std::setw(15) << printable(id) << ' ' << (d.newGeneration ? "newer " : "older ")
            << (d.hasRussian ? "ru+en " : "en    ") << (d.wapAvailable ? "wap" : "no-wap")
            << (described ? "  description" : "") << '\n';
    };
    for (const FirmwareRow& row : supportedFirmware())
        listOne(std::string(row.id), row, false);
    for (const FirmwareCatalog::Description& description : catalog.descriptions())
        listOne(toUtf8(fromCp1251(description.id)), description.row, true);
    if (json)
        out << list.dump(2) << '\n';
    return 0;
}

} // namespace klavoset::cli
