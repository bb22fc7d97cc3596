#pragma once

#include "support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace klavoset::test {

// Runs the built command-line tool in a shell and collects what it prints.
struct CliRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CliRun runCli(const std::string& args, const std::filesystem::path& dir)
{
    const auto outFile = dir / "stdout.txt";
    const auto errFile = dir / "stderr.txt";
    const std::string command = std::string("'") + KLAVOSET_CLI + "' " + args + " >'" + outFile.string() +
                                "' 2>'" + errFile.string() + "' </dev/null";
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(outFile);
    run.err = readText(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return run;
}

} // namespace klavoset::test
