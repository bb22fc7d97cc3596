#include "cli/IdentifyCommand.h"

#include "cli/CliSession.h"
#include "base/Cp1251.h"
#include "base/Utf.h"
#include "image/FirmwareTable.h"
#include "image/Identify.h"

#include <ostream>

namespace klavoset::cli {

std::string_view IdentifyCommand::help() const
{
    return "klavoset-cli identify IMAGE\n"
           "  Prints the identity string of the fullflash IMAGE (possibly empty) on one line.\n"
           "  Exit 0 when the firmware is supported, 3 when it is not or the image is too short for it.\n";
}

int IdentifyCommand::run(Arguments args, std::ostream& out, std::ostream& err)
{
    if (args.hasUnknownOption() || args.positional().size() != 1)
        return usageError(*this, "expects one IMAGE", err);
    const std::string& path = args.positional().front();
    RealFileSystem files;
    auto read = files.readAll(fromUtf8(path));
    if (!read.isOk()) {
        err << "klavoset-cli: " << path << ": " << read.error().reason << '\n';
        return ExitFile;
    }
    FileBytes image = std::move(read).value();
    if (image.empty())
        image.assign(1, 0);
    const std::string id = identifyFirmware(image);
    out << toUtf8(fromCp1251(id)) << '\n';
    const FirmwareRow* row = findFirmware(id);
    if (row == nullptr)
        return ExitUnsupported;
    if (!descriptorFitsImage(completeDescriptor(*row), static_cast<std::int32_t>(image.size()))) {
        err << "klavoset-cli: " << path << ": the file is too short for " << id << '\n';
        return ExitUnsupported;
    }
    return ExitDone;
}

} // namespace klavoset::cli
