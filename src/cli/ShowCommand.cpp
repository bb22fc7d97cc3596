// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ShowCommand.h"

#include "base/Cp1251.h"
#include "base/Printable.h"
#include "base/Utf.h"
#include "cli/CliSession.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace klavoset::cli {

std::string_view ShowCommand::help() const
{
    return "klavoset-cli show IMAGE [--koi8] [--json] [--firmware-file FILE]\n"
           "  Loads the fullflash IMAGE and prints its four layouts as keypad grids and the three budgets.\n"
           "  --koi8  decode the English layouts with the KOI8 option checked\n"
           "  --json  one JSON object: file, firmware, newGen, hasRus, adrFix, descriptor, otherTables (the\n"
           "          further key tables a save may write over), layouts, budget\n"
           "  --firmware-file FILE  load the firmware description FILE too\n";
}

namespace {

constexpr const char* kArrayNames[] = {"eb", "em", "rb", "rm"};
constexpr const char* kArrayTitles[] = {"English upper case", "English lower case", "Russian upper case",
                                        "Russian lower case"};
constexpr int kGrid[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 0, 11}};

std::string keyName(int key) { return key == 10 ? "*" : key == 11 ? "#" : std::to_string(key); }

// Shows the line break the fields keep as U+007F, and quotes the text so blanks are visible.
std::string quoted(const std::u16string& text)
{
    std::string s = "\"";
    for (const char c : toUtf8(text))
        s += c == '\x7F' ? std::string("\\n") : c == '"' ? std::string("\\\"") : printable({&c, 1});
    return s + "\"";
}

} // namespace

int ShowCommand::run(Arguments args, std::ostream& out, std::ostream& err)
{
    const bool koi8 = args.flag("--koi8");
    const bool json = args.flag("--json");
    const auto firmwareFile = args.option("--firmware-file");
    if (args.missingValue() || args.hasUnknownOption() || args.positional().size() != 1)
        return usageError(*this, "expects one IMAGE", err);
    const std::string& path = args.positional().front();

    CliSession session(err);
    if (const int loaded = session.loadFirmware(firmwareFile); loaded != ExitDone)
        return loaded;
    const Outcome outcome = session.openFullflash(path, koi8);
    if (outcome != Outcome::Done)
        return exitCodeOf(outcome);
    const Editor& editor = session.editor;
    const FirmwareDescriptor& d = editor.firmware();
    const Budget& b = editor.budget();
    // The image spells its identity in Windows-1251; a described firmware's may hold Cyrillic letters.
    const std::string firmwareName = toUtf8(fromCp1251(d.id));

    if (json) {
        nlohmann::json layouts;
        for (const Layout a : kAllLayouts) {
            nlohmann::json keys = nlohmann::json::array();
            for (int key = 0; key < kKeys; ++key)
                keys.push_back(toUtf8(session.view.fieldText(a, key)));
            layouts[kArrayNames[static_cast<int>(a)]] = keys;
        }
        const nlohmann::json doc = {
            {"file", path},
            {"firmware", firmwareName},
            {"newGen", d.newGeneration},
            {"hasRus", editor.hasRussian()},
            {"adrFix", editor.addressCorrection()},
            {"descriptor",
             {{"EngTab", d.englishTable},
              {"RusTab", d.russianTable},
              {"Key10Entry", d.key10Entry},
              {"WapTabU", d.wapUpperTable},
              {"WapTabL", d.wapLowerTable},
              {"EngData", d.englishStorage},
              {"RusData", d.russianStorage},
              {"CommonData", d.sharedStorage},
              {"WapData", d.wapStorage},
              {"CommonCap", d.sharedCapacity}}},
            {"otherTables", editor.otherTables()},
            {"layouts", layouts},
            {"budget",
             {{"common", {b.sharedUsed, d.sharedCapacity}},
              {"eng", {b.englishUsed, kEnglishCapacity}},
              {"rus", {b.russianUsed, kRussianCapacity}}}},
        };
        out << doc.dump() << '\n';
        return ExitDone;
    }

    out << "File:     " << path << '\n'
        << "Firmware: " << printable(firmwareName)
        << (d.newGeneration ? " (newer generation" : " (older generation")
        << (editor.hasRussian() ? ", Russian layouts)" : ", English layouts only)") << '\n';
    for (const Layout a : kAllLayouts) {
        if (!editor.hasRussian() && (a == Layout::russianUpper || a == Layout::russianLower))
            continue;
        out << '\n' << kArrayTitles[static_cast<int>(a)] << " (" << kArrayNames[static_cast<int>(a)] << ")\n";
        for (const auto& row : kGrid) {
            std::string line;
            for (const int key : row) {
                std::string cell = "  [" + keyName(key) + "] " + quoted(session.view.fieldText(a, key));
                line += cell;
                // pad by characters, not bytes, so Cyrillic columns line up
                const std::size_t width = fromUtf8(cell).size();
                line += std::string(width < 24 ? 24 - width : 1, ' ');
            }
            out << line << '\n';
        }
    }
    out << "\nShared keys: " << b.sharedUsed << " / " << d.sharedCapacity
        << "\nEnglish:     " << b.englishUsed << " / " << kEnglishCapacity
        << "\nRussian:     " << b.russianUsed << " / " << kRussianCapacity << '\n';
    return ExitDone;
}

} // namespace klavoset::cli
