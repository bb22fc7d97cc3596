// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ScanCommand.h"

#include "base/Cp1251.h"
#include "base/FileSystem.h"
#include "base/Printable.h"
#include "base/Utf.h"
#include "cli/CliSession.h"
#include "descriptions/DescriptionFolder.h"
#include "image/Identify.h"
#include "image/OtherTables.h"
#include "image/TableFinder.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace klavoset::cli {

std::string_view ScanCommand::help() const
{
    return "klavoset-cli scan IMAGE [--json] [--save]\n"
           "  Searches the fullflash IMAGE for its key tables, for firmware the built-in table does not\n"
           "  list, and prints the identity string and where the tables lie. Exit 3 when the image has no\n"
           "  identity string, or when no place, or more than one, fits the key tables. It finds them with\n"
           "  their strings where an untouched phone keeps them (each table's letters just below it) and\n"
           "  where a save by this program put them. Check the layouts that `klavoset-cli show IMAGE` then\n"
           "  prints before writing anything into a phone.\n"
           "  --json  the firmware description: one JSON object, as the files of the data folder hold it,\n"
           "          with \"otherTables\": the further key tables a save may write over (image offsets)\n"
           "  --save  keep the description in the data folder, so that every command loads such images\n"
           "          (\"Firmware descriptions\" in klavoset-cli --help says where, and how it looks)\n";
}

namespace {

void printFound(const std::string& id, const FirmwareRow& row, std::ostream& out)
{
    out << "Firmware:      " << printable(toUtf8(fromCp1251(id)))
        << (row.newGeneration ? " (newer generation" : " (older generation")
        << (row.hasRussian ? ", Russian layouts)" : ", English layouts only)") << '\n'
        << "English table: " << hexOffset(row.englishTable) << '\n'
        << "Russian table: " << (row.russianTable != 0 ? hexOffset(row.russianTable) : "none") << '\n'
        << "Key 10 entry:  " << (row.newGeneration ? hexOffset(row.key10Entry) : "none (older generation)")
        << '\n'
        << "WAP tables:    "
        << (row.wapUpperTable != 0 ? hexOffset(row.wapUpperTable) + " " + hexOffset(row.wapLowerTable)
                                   : "not found")
        << '\n';
}

} // namespace

int ScanCommand::run(Arguments args, std::ostream& out, std::ostream& err)
{
    const bool json = args.flag("--json");
    const bool save = args.flag("--save");
    if (args.hasUnknownOption() || args.positional().size() != 1)
        return usageError(*this, "expects one IMAGE", err);
    const std::string& path = args.positional().front();

    RealFileSystem files{RealFileSystem::Reading::Map};
    auto read = files.readAll(fromUtf8(path));
    if (!read.isOk()) {
        err << "klavoset-cli: " << path << ": " << read.error().reason << '\n';
        return ExitFile;
    }
    const FileBytes& image = read.value();
    const std::string id = hasIdentityBlock(image) ? identifyFirmware(image) : std::string();
    if (id.empty()) {
        err << "klavoset-cli: " << path << ": no identity string (no \"SIEMENS\" block where it is read)\n";
        return ExitUnsupported;
    }
    const auto found = findKeyTables(image);
    if (!found) {
        err << "klavoset-cli: " << path << ": no key tables found, or more than one place fits them\n";
        return ExitUnsupported;
    }
    const FirmwareRow& row = *found;
    const FirmwareRow* tableRow = findFirmware(id);
    if (tableRow == nullptr) {
        // What would not load as a description is not printed as one: say why now, not at the next load.
        if (const auto again = parseDescription(descriptionText(id, row)); !again.isOk()) {
            err << "klavoset-cli: " << path
                << printable(": what was found cannot describe a firmware: " + again.error()) << '\n';
            return ExitUnsupported;
        }
    }

    if (json) {
        auto doc = nlohmann::ordered_json::parse(descriptionText(id, row));
        doc["otherTables"] = findOtherTables(image, completeDescriptor(row), row.hasRussian);
        out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        printFound(id, row, out);
    }
    if (tableRow != nullptr && !json)
        out << (sameLayoutPlaces(*tableRow, row)
                    ? "The built-in table lists this firmware alike.\n"
                    : "The built-in table lists this firmware, placed otherwise.\n");
    if (!save)
        return ExitDone;
    if (tableRow != nullptr) {
        err << "klavoset-cli: " << toUtf8(fromCp1251(id))
            << " is in the built-in table, which wins over any description: nothing was saved\n";
        return ExitDone;
    }
    RealFileSystem writer;
    const auto saved = saveDescription(writer, descriptionFolder(), id, row);
    if (!saved.isOk()) {
        err << printable("klavoset-cli: the description cannot be saved: " + saved.error().reason) << '\n';
        return saved.error().kind == DescriptionSaveError::Kind::Refused ? ExitUsage : ExitFile;
    }
    if (!json)
        out << "Saved:         " << printable(toUtf8(saved.value())) << '\n';
    return ExitDone;
}

} // namespace klavoset::cli
