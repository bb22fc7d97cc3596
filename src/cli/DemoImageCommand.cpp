// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/DemoImageCommand.h"

#include "base/FileSystem.h"
#include "base/Utf.h"
#include "cli/CliSession.h"
#include "core/DemoImage.h"

#include <charconv>
#include <ostream>

namespace klavoset::cli {

std::string_view DemoImageCommand::help() const
{
    return "klavoset-cli demo-image [--firmware ID] [--size BYTES] -o OUT.bin\n"
           "  Writes a synthetic fullflash of a supported firmware (erased bytes 0xFF) holding the identity\n"
           "  block, the key tables and the window's sample layouts, laid out as an untouched phone keeps\n"
           "  them, to try the editor without a phone.\n"
           "  --firmware ID  an identity string from `klavoset-cli firmware` (default \"C55 v24 lg91\")\n"
           "  --size BYTES   the image size, decimal or 0x-hex (default 16777216, 16 MiB)\n"
           "  -o OUT.bin     the file to write (replaced safely when it exists)\n";
}

namespace {

bool parseSize(const std::string& text, std::int32_t& size)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, size, hex ? 16 : 10);
    return ec == std::errc() && end == last && size > 0;
}

} // namespace

int DemoImageCommand::run(Arguments args, std::ostream&, std::ostream& err)
{
    const std::string id = args.option("--firmware").value_or("C55 v24 lg91");
    const auto sizeText = args.option("--size");
    const auto outPath = args.option("-o");
    if (args.missingValue() || args.hasUnknownOption() || !args.positional().empty() || !outPath)
        return usageError(*this, "expects -o OUT.bin", err);
    std::int32_t size = 0x1000000;
    if (sizeText && !parseSize(*sizeText, size))
        return usageError(*this, "--size takes a positive number of bytes", err);

    auto image = makeDemoImage(id, size);
    if (!image.isOk()) {
        err << "klavoset-cli: " << image.error() << '\n';
        return ExitUnsupported;
    }
    RealFileSystem files;
    if (const auto error = files.writeAtomically(fromUtf8(*outPath), image.value())) {
        err << "klavoset-cli: " << *outPath << ": " << error->reason << '\n';
        return ExitFile;
    }
    return ExitDone;
}

} // namespace klavoset::cli
