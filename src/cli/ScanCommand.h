// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/Command.h"

namespace klavoset::cli {

class ScanCommand : public Command
{
  public:
    std::string_view name() const override { return "scan"; }
    std::string_view help() const override;
    int run(Arguments args, std::ostream& out, std::ostream& err) override;
};

} // namespace klavoset::cli
