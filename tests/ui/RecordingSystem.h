#pragma once

#include "core/SystemServices.h"

#include <string>
#include <vector>

namespace klavoset::test {

// Tools and documents that are only recorded, never started.
struct RecordingSystem : SystemServices
{
    std::u16string vklay, calculator, charMap, helpPage, line;
    std::vector<std::u16string> started, opened;

    std::u16string vklayOpenCommand() override { return vklay; }
    std::u16string calculatorPath() override { return calculator; }
    std::u16string charMapPath() override { return charMap; }
    std::u16string helpPagePath() override { return helpPage; }
    std::u16string commandLine() override { return line; }
    void startProgram(const std::u16string& c) override { started.push_back(c); }
    void openDocument(const std::u16string& t) override { opened.push_back(t); }
};

} // namespace klavoset::test
