#pragma once

#include "base/FileSystem.h"
#include "core/Form1.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"

#include <iosfwd>
#include <string>

namespace klavoset::cli {

// Exit codes of every command.
enum ExitCode : int { ExitDone = 0, ExitUsage = 1, ExitFile = 2, ExitUnsupported = 3, ExitDoesNotFit = 4 };

[[nodiscard]] int exitCodeOf(Outcome outcome);

// A started editor without a window: message boxes that report failures go to stderr as one line each,
// file dialogs are answered from the command's arguments.
class CliSession
{
public:
    explicit CliSession(std::ostream& err);

    // Opens a fullflash as the command line does; on failure the reason is already printed.
    [[nodiscard]] Outcome openFullflash(const std::string& path, bool koi8);

    // Prints what the failed command left in the status bar, unless a box already said more.
    void reportFailure(Outcome outcome);

    MemoryView view;
    RealFileSystem files;
    NoSystemServices system;
    Form1 form{view, files, system};

private:
    std::ostream& m_err;
    std::size_t m_reported = 0;
};

} // namespace klavoset::cli
