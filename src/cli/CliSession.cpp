// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/CliSession.h"

#include "base/Utf.h"

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

Outcome CliSession::openFullflash(const std::string& path, bool koi8)
{
    if (koi8)
        editor.koi8Command();
    return report(editor.openFullflash(fromUtf8(path)));
}

Outcome CliSession::report(const CommandResult& result)
{
    if (result.outcome != Outcome::Done && !result.message.empty())
        m_err << "klavoset-cli: " << oneLine(result.message) << '\n';
    return result.outcome;
}

} // namespace klavoset::cli
