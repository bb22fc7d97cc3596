// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SystemServices.h"

#include <vector>

namespace klavoset::test {

// Tools found or not as a test says, and a record of everything started.
struct FakeSystem : SystemServices
{
    std::u16string vklay, calculator, charMap, helpPage, line;
    std::vector<std::u16string> started, opened, viewed;
    bool viewer = true; // the system has a program for plain binary data

    std::u16string vklayOpenCommand() override { return vklay; }
    std::u16string calculatorPath() override { return calculator; }
    std::u16string charMapPath() override { return charMap; }
    std::u16string helpPagePath() override { return helpPage; }
    std::u16string commandLine() override { return line; }
    void startProgram(const std::u16string& commandLine) override { started.push_back(commandLine); }
    void openDocument(const std::u16string& target) override { opened.push_back(target); }
    bool viewImage(const std::u16string& path) override
    {
        if (viewer)
            viewed.push_back(path);
        return viewer;
    }
};

} // namespace klavoset::test
