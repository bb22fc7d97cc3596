// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset::cli {

// The arguments of one command: flags and options are taken out by name, what remains is positional.
class Arguments
{
  public:
    explicit Arguments(std::vector<std::string> args) : m_args(std::move(args)) {}

    // True when the flag was given (and removes it).
    [[nodiscard]] bool flag(std::string_view name);
    // The value after the option; `missingValue` is set when the option ends the list.
    [[nodiscard]] std::optional<std::string> option(std::string_view name);
    // The remaining arguments; an unknown "-..." among them is an error.
    [[nodiscard]] const std::vector<std::string>& positional() const { return m_args; }
    [[nodiscard]] bool hasUnknownOption() const;
    [[nodiscard]] bool missingValue() const { return m_missingValue; }

  private:
    std::vector<std::string> m_args;
    bool m_missingValue = false;
};

} // namespace klavoset::cli
