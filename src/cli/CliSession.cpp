// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/CliSession.h"

#include "base/Printable.h"
#include "base/Utf.h"
#include "descriptions/DescriptionFolder.h"

#include <ostream>

namespace klavoset::cli {

int exitCodeOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done:
        return ExitDone;
    case Outcome::FileError:
        return ExitFile;
    case Outcome::Unsupported:
        return ExitUnsupported;
    case Outcome::DoesNotFit:
        return ExitDoesNotFit;
    case Outcome::Declined:
        break;
    }
    return ExitUsage;
}

int loadFirmware(FirmwareCatalog& catalog, FileSystem& files, const std::optional<std::string>& firmwareFile,
                 std::ostream& err)
{
    for (const SkippedDescription& skipped : loadDescriptions(files, descriptionFolder(), catalog))
        err << printable("klavoset-cli: " + toUtf8(skipped.path) + ": " + skipped.reason) << '\n';
    if (!firmwareFile)
        return ExitDone;
    auto read = readDescriptionFile(files, fromUtf8(*firmwareFile));
    if (!read.isOk()) {
        err << "klavoset-cli: " << *firmwareFile << ": " << printable(read.error().reason) << '\n';
        return read.error().kind == DescriptionFileError::Kind::Read ? ExitFile : ExitUnsupported;
    }
    // Named on the command line, it replaces a description of the same firmware from the folder.
    const FirmwareDescription& d = read.value();
    if (auto refusal = catalog.add(d.id, d.row)) {
        err << "klavoset-cli: " << *firmwareFile << ": " << *refusal << '\n';
        return ExitUnsupported;
    }
    return ExitDone;
}

namespace {

// Message-box paragraphs on one line.
std::string oneLine(const std::u16string& text)
{
    std::u16string line;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 4, u"\r\n\r\n") == 0) {
            while (!line.empty() && line.back() == u' ')
                line.pop_back();
            line += u": ";
            i += 4;
        } else if (text[i] == u'\r' || text[i] == u'\n') {
            line += u' ';
            ++i;
        } else {
            line += text[i++];
        }
    }
    while (line.size() >= 2 && line.compare(line.size() - 2, 2, u": ") == 0)
        line.resize(line.size() - 2);
    return toUtf8(line);
}

} // namespace

CliSession::CliSession(std::ostream& err) : m_err(err) { editor.start(); }

int CliSession::loadFirmware(const std::optional<std::string>& firmwareFile)
{
    return cli::loadFirmware(system.catalog, files, firmwareFile, m_err);
}

Outcome CliSession::openFullflash(const std::string& path, bool koi8)
{
    if (koi8)
        editor.koi8Command();
    return report(editor.openFullflash(fromUtf8(path)));
}

Outcome CliSession::report(const CommandResult& result)
{
    if (result.outcome != Outcome::Done && !result.message.empty())
        m_err << "klavoset-cli: " << printable(oneLine(result.message)) << '\n';
    return result.outcome;
}

} // namespace klavoset::cli
