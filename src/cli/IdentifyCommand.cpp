// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/IdentifyCommand.h"

#include "base/Cp1251.h"
#include "base/FileSystem.h"
#include "base/Printable.h"
#include "base/Utf.h"
#include "cli/CliSession.h"
#include "image/Staging.h"

#include <ostream>

namespace klavoset::cli {

std::string_view IdentifyCommand::help() const
{
    return "klavoset-cli identify IMAGE [--firmware-file FILE]\n"
           "  Prints the identity string of the fullflash IMAGE (possibly empty) on one line.\n"
           "  Exit 0 when the firmware is supported, 3 when it is not or the image is too short for it.\n"
           "  --firmware-file FILE  load the firmware description FILE too\n";
}

int IdentifyCommand::run(Arguments args, std::ostream& out, std::ostream& err)
{
    const auto firmwareFile = args.option("--firmware-file");
    if (args.missingValue() || args.hasUnknownOption() || args.positional().size() != 1)
        return usageError(*this, "expects one IMAGE", err);
    const std::string& path = args.positional().front();
    RealFileSystem files{RealFileSystem::Reading::Map};
    FirmwareCatalog catalog;
    if (const int loaded = loadFirmware(catalog, files, firmwareFile, err); loaded != ExitDone)
        return loaded;
    auto read = files.readAll(fromUtf8(path));
    if (!read.isOk()) {
        err << "klavoset-cli: " << path << ": " << read.error().reason << '\n';
        return ExitFile;
    }
    const auto staged = stageImage(std::move(read).value(), catalog);
    const std::string& id = staged.isOk() ? staged.value().firmware.id : staged.error().id;
    out << printable(toUtf8(fromCp1251(id))) << '\n';
    if (staged.isOk())
        return ExitDone;
    if (staged.error().kind == StageRefusal::Kind::TooShort)
        err << "klavoset-cli: " << path << ": the file is too short for " << printable(toUtf8(fromCp1251(id)))
            << '\n';
    return ExitUnsupported;
}

} // namespace klavoset::cli
