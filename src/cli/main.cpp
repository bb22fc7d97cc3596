// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/Command.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return klavoset::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                         std::cerr);
}
