// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ExportCommand.h"

#include "base/Utf.h"
#include "cli/CliSession.h"

namespace klavoset::cli {

std::string_view ExportCommand::help() const
{
    return "klavoset-cli export IMAGE -o OUT.lay [--koi8] [--firmware-file FILE]\n"
           "  Saves the layouts decoded from the fullflash IMAGE as a layout file (4 lines, or 2 for "
           "firmware\n"
           "  without Russian layouts).\n"
           "  -o OUT.lay  the layout file to write (replaced safely when it exists)\n"
           "  --koi8      decode the English layouts with the KOI8 option checked\n"
           "  --firmware-file FILE  load the firmware description FILE too\n";
}

int ExportCommand::run(Arguments args, std::ostream&, std::ostream& err)
{
    const bool koi8 = args.flag("--koi8");
    const auto outPath = args.option("-o");
    const auto firmwareFile = args.option("--firmware-file");
    if (args.missingValue() || args.hasUnknownOption() || args.positional().size() != 1 || !outPath)
        return usageError(*this, "expects IMAGE and -o OUT.lay", err);
    if (outputIsAnInput(*outPath, {args.positional().front()}, err) ||
        (firmwareFile && outputIsAnInput(*outPath, {*firmwareFile}, err)))
        return ExitUsage;

    CliSession session(err);
    if (const int loaded = session.loadFirmware(firmwareFile); loaded != ExitDone)
        return loaded;
    const Outcome outcome = session.openFullflash(args.positional().front(), koi8);
    if (outcome != Outcome::Done)
        return exitCodeOf(outcome);
    return exitCodeOf(session.report(session.editor.saveLayoutFileAs(fromUtf8(*outPath))));
}

} // namespace klavoset::cli
