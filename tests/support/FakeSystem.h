// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SystemServices.h"

#include <utility>
#include <vector>

namespace klavoset::test {

// Tools found or not as a test says, and a record of everything started.
struct FakeSystem : SystemServices
{
    std::u16string patcher, calculator, charMap, helpPage, line;
    std::vector<std::vector<std::u16string>> started;
    std::vector<std::u16string> opened, viewed;
    bool viewer = true; // the system has a program for plain binary data
    FirmwareCatalog catalog;
    std::vector<std::string> remembered; // identity strings, in the order they were kept

    std::u16string patcherOpenCommand() override { return patcher; }
    std::u16string calculatorPath() override { return calculator; }
    std::u16string charMapPath() override { return charMap; }
    std::u16string helpPagePath() override { return helpPage; }
    std::u16string commandLine() override { return line; }
    // Blanks separate, double quotes group, as the desktop splits a command line.
    std::vector<std::u16string> splitCommandLine(const std::u16string& commandLine) override
    {
        std::vector<std::u16string> words;
        std::u16string word;
        bool inWord = false, quoted = false;
        for (const char16_t c : commandLine) {
            if (c == u'"') {
                quoted = !quoted;
                inWord = true;
            } else if (c == u' ' && !quoted) {
                if (inWord)
                    words.push_back(std::exchange(word, {}));
                inWord = false;
            } else {
                word += c;
                inWord = true;
            }
        }
        if (inWord)
            words.push_back(word);
        return words;
    }
    void startProgram(const std::vector<std::u16string>& arguments) override { started.push_back(arguments); }
    void openDocument(const std::u16string& target) override { opened.push_back(target); }
    const FirmwareCatalog& firmwareCatalog() override { return catalog; }
    std::optional<std::string> rememberFirmware(const std::string& id, const FirmwareRow& row) override
    {
        remembered.push_back(id);
        return catalog.add(id, row);
    }
    bool viewImage(const std::u16string& path) override
    {
        if (viewer)
            viewed.push_back(path);
        return viewer;
    }
};

} // namespace klavoset::test
