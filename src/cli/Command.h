// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/Arguments.h"

#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset::cli {

// One subcommand of klavoset-cli.
class Command
{
  public:
    virtual ~Command() = default;
    [[nodiscard]] virtual std::string_view name() const = 0;
    [[nodiscard]] virtual std::string_view help() const = 0; // usage line, then what it does and its options
    // Returns the exit code.
    virtual int run(Arguments args, std::ostream& out, std::ostream& err) = 0;
};

[[nodiscard]] std::span<const std::unique_ptr<Command>> allCommands();

// Prints "klavoset-cli: <what>" and the command's usage line; returns the usage exit code.
int usageError(const Command& command, std::string_view what, std::ostream& err);

// True, having said so, when `output` names one of `inputs` (the same file under any name, through links
// too): writing it would destroy what the command reads before anything is written.
[[nodiscard]] bool outputIsAnInput(const std::string& output, std::initializer_list<std::string> inputs,
                                   std::ostream& err);

// Runs the command line after the program's name: a command, or the help; returns the exit code.
int runCommandLine(std::vector<std::string> args, std::ostream& out, std::ostream& err);

} // namespace klavoset::cli
