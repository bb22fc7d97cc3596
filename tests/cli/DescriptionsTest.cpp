// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/CliSession.h"
#include "cli/UnlistedVersion.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace klavoset {
namespace {

using test::runCli;
using test::runCliProcess;
using CliDescriptions = test::UnlistedVersion;

// Described in the data folder, or named with --firmware-file, a version the table lacks loads with the
// very layouts of the listed one.
TEST_F(CliDescriptions, AnUnlistedVersionLoadsFromItsDescription)
{
    EXPECT_EQ(runCli("show v25.bin", dir.path).exitCode, 3);
    test::writeText(folder / "C55_v25_lg91.json", test::kC55v25Description);

    const auto before = nlohmann::json::parse(runCli("show --json v24.bin", dir.path).out);
    auto run = runCli("show --json v25.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto after = nlohmann::json::parse(run.out);
    EXPECT_EQ(after["firmware"], "C55 v25 lg91");
    EXPECT_EQ(after["descriptor"], before["descriptor"]);
    EXPECT_EQ(after["layouts"], before["layouts"]);
    EXPECT_EQ(after["budget"], before["budget"]);
    EXPECT_EQ(runCli("identify v25.bin", dir.path).exitCode, 0);

    const auto rows = nlohmann::json::parse(runCli("firmware --json", dir.path).out);
    ASSERT_EQ(rows.size(), 35u);
    EXPECT_EQ(rows[0]["source"], "table");
    EXPECT_EQ(rows[34], nlohmann::json::parse(R"({"firmware": "C55 v25 lg91", "newGen": true, "hasRus": true,
                                                  "wap": true, "source": "description"})"));
    EXPECT_NE(runCli("firmware", dir.path).out.find("C55 v25 lg91    newer ru+en wap  description\n"),
              std::string::npos);

    std::filesystem::rename(folder / "C55_v25_lg91.json", dir.path / "c55.json");
    EXPECT_EQ(runCli("identify v25.bin", dir.path).exitCode, 3);
    run = runCli("export v25.bin --firmware-file c55.json -o v25.lay", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(runCli("export v24.bin -o v24.lay", dir.path).exitCode, 0);
    EXPECT_EQ(test::readBytes(dir.path / "v25.lay"), test::readBytes(dir.path / "v24.lay"));
}

// A bad description file named on the command line fails the command; a bad one in the data folder is
// skipped with one line on standard error and never stops it, and the table wins over a description.
TEST_F(CliDescriptions, BadFilesAndTheirExitCodes)
{
    test::writeText(dir.path / "c55.json", test::kC55v25Description);
    test::writeText(dir.path / "not.json", "{\"firmware\": \"C55 v25 lg91\",");
    test::expectRefusals(
        {
            {"show v25.bin --firmware-file", 1, "usage"},
            {"show v25.bin --firmware-file missing.json", 2, "missing.json: No such file"},
            {"identify v25.bin --firmware-file not.json", 3, "not.json: not JSON"},
            {"apply v25.bin x.lay --firmware-file c55.json --vkp c55.json", 1, "same file as the input"},
            {"export v25.bin --firmware-file c55.json -o c55.json", 1, "same file as the input"},
        },
        dir.path);
    EXPECT_EQ(test::readText(dir.path / "c55.json"), test::kC55v25Description);

    test::writeText(
        folder / "C55_v24_lg91.json",
        R"({"firmware": "C55 v24 lg91", "newGen": true, "hasRus": true, "descriptor": {"EngTab": 4665470,
                        "RusTab": 4666580, "Key10Entry": 4668068, "WapTabU": 0, "WapTabL": 0}})");
    test::writeText(folder / "broken.json", "{");
    const auto run = runCliProcess("show --json v24.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_NE(run.err.find("C55_v24_lg91.json: the built-in table has this firmware"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("broken.json: not JSON"), std::string::npos) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["descriptor"]["EngTab"], 4665462);
}

// Named on the command line, a description replaces the data folder's of the same firmware: one entry, with
// the named file's offsets.
TEST_F(CliDescriptions, AFileNamedReplacesTheFoldersDescription)
{
    test::writeText(folder / "C55_v25_lg91.json", test::kC55v25WithoutWap);
    test::writeText(dir.path / "c55.json", test::kC55v25Description);
    FirmwareCatalog catalog;
    RealFileSystem files;
    std::ostringstream err;
    ASSERT_EQ(cli::loadFirmware(catalog, files, (dir.path / "c55.json").string(), err), 0) << err.str();
    EXPECT_EQ(catalog.descriptions().size(), 1u);
    const auto run = runCli("show --json v25.bin --firmware-file c55.json", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["descriptor"]["WapTabU"], 5791040);
}

// An identity string holding control bytes (a terminal's clipboard-write sequence, a line break) reaches
// no terminal as it is: the text output shows them escaped, --json as JSON escapes, the window and the
// page as U+FFFD.
TEST_F(CliDescriptions, ControlBytesOfAnIdentityReachNoTerminal)
{
    auto bytes = test::readBytes(listed);
    const std::string language = "\x1B]52;c;QQ==\x07\x7F\n"; // in place of "lg91", below the first probe
    std::copy(language.begin(), language.end(), bytes.begin() + 0x7FF60);
    bytes[0x7FF60 + language.size()] = 0;
    test::writeBytes(dir.path / "hostile.bin", bytes);
    const std::string escaped = "C55 v24 \\x1B]52;c;QQ==\\x07\\x7F\\x0A";

    std::string printed;
    const auto run = [&](const std::string& args, int exitCode) {
        const auto r = runCli(args, dir.path);
        EXPECT_EQ(r.exitCode, exitCode) << args << "\n" << r.err;
        printed += r.out + r.err;
        return r;
    };
    EXPECT_EQ(run("identify hostile.bin", 3).out, escaped + "\n");
    run("show hostile.bin", 3);
    EXPECT_NE(run("scan hostile.bin --save", 0).out.find("Firmware:      " + escaped + " (newer"),
              std::string::npos);
    EXPECT_EQ(run("identify hostile.bin", 0).out, escaped + "\n");
    EXPECT_NE(run("firmware", 0).out.find(escaped + " newer ru+en wap  description\n"), std::string::npos);
    EXPECT_NE(run("show hostile.bin", 0).out.find("Firmware: " + escaped + " (newer"), std::string::npos);
    EXPECT_EQ(std::count_if(
                  printed.begin(), printed.end(),
                  [](char c) { return c != '\n' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F); }),
              0);
    EXPECT_EQ(nlohmann::json::parse(runCli("show --json hostile.bin", dir.path).out)["firmware"],
              "C55 v24 " + language);

    std::ostringstream err;
    cli::CliSession session(err);
    ASSERT_EQ(session.loadFirmware(std::nullopt), 0);
    ASSERT_EQ(session.openFullflash((dir.path / "hostile.bin").string(), false), Outcome::Done) << err.str();
    EXPECT_EQ(session.view.panelText(PanelFirmware), u"C55 v24 \uFFFD]52;c;QQ==\uFFFD\uFFFD\uFFFD");
}

} // namespace
} // namespace klavoset
