// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/Command.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace klavoset::test {

// Every command reads the user's folder of firmware descriptions: the tests' commands, run in this process
// or started, read and write a fresh folder of the test program's own instead, never the real user's.
struct PrivateDataFolder
{
    TempDir dir;
    PrivateDataFolder()
    {
        ::setenv("XDG_DATA_HOME", (dir.path / "data").c_str(), 1);
        ::setenv("HOME", (dir.path / "home").c_str(), 1);
    }
    [[nodiscard]] std::filesystem::path descriptions() const
    {
        return dir.path / "data" / "klavoset" / "firmware";
    }
};
inline const PrivateDataFolder privateDataFolder;

// What one run of the command-line tool printed, and its exit code.
struct CliRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Words as a shell splits them, for the quoting the tests use: blanks separate, 'single quotes' group.
inline std::vector<std::string> shellWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char c : line) {
        if (c == '\'') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

// Runs the tool's commands in this process, from the folder `dir`, so relative paths land there.
inline CliRun runCli(const std::string& args, const std::filesystem::path& dir)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    std::ostringstream out, err;
    CliRun run;
    run.exitCode = cli::runCommandLine(shellWords(args), out, err);
    std::filesystem::current_path(previous);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// Runs the built program in a shell, for what only a whole process shows: its streams and exit status.
inline CliRun runCliProcess(const std::string& args, const std::filesystem::path& dir)
{
    const auto outFile = dir / "stdout.txt";
    const auto errFile = dir / "stderr.txt";
    const std::string command = "cd '" + dir.string() + "' && '" + KLAVOSET_CLI + "' " + args + " >'" +
                                outFile.string() + "' 2>'" + errFile.string() + "' </dev/null";
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(outFile);
    run.err = readText(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return run;
}

// A command the tool refuses: its exit code and words its message must hold.
struct Refusal
{
    std::string args;
    int exitCode;
    std::string says;
};

// Runs each refused command as a whole process: its exit code and message, nothing on standard output.
inline void expectRefusals(std::initializer_list<Refusal> cases, const std::filesystem::path& dir)
{
    for (const Refusal& c : cases) {
        const CliRun run = runCliProcess(c.args, dir);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << "\n" << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
}

} // namespace klavoset::test
