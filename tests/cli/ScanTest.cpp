// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/UnlistedVersion.h"
#include "support/ImageBuilder.h"

#include <nlohmann/json.hpp>

namespace klavoset {
namespace {

using test::runCli;
using CliScan = test::UnlistedVersion;

// What scan finds in a table firmware's image is the table's row, as published, with the demo's Greek table
// at English table + 0x124; the table wins over any description, so none is saved.
TEST_F(CliScan, FindsTheTableRow)
{
    auto run = runCli("scan v24.bin --json", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(R"({"firmware": "C55 v24 lg91",
        "newGen": true, "hasRus": true, "descriptor": {"EngTab": 4665462, "RusTab": 4666580,
        "Key10Entry": 4668068, "WapTabU": 5791040, "WapTabL": 5791734}, "otherTables": [4665754]})"));
    run = runCli("scan v24.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* offset : {"0x473076", "0x4734D4", "0x473AA4", "0x585D40", "0x585FF6"})
        EXPECT_NE(run.out.find(offset), std::string::npos) << offset << "\n" << run.out;

    ASSERT_EQ(runCli("demo-image --firmware 'C45 v50 lg1' -o c45.bin", dir.path).exitCode, 0);
    run = runCli("scan c45.bin --json", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["newGen"], false);
    EXPECT_EQ(nlohmann::json::parse(run.out)["descriptor"],
              nlohmann::json::parse(R"({"EngTab": 2320344, "RusTab": 2321472, "Key10Entry": 0,
                                        "WapTabU": 2422698, "WapTabL": 2423428})"));

    run = runCli("scan v24.bin --save", dir.path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("nothing was saved"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder));
}

// Scanned and saved, a version the table lacks loads with the very layouts of the listed one.
TEST_F(CliScan, SaveThenShow)
{
    auto run = runCli("scan v25.bin --save", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto file = folder / "C55_v25_lg91.json";
    EXPECT_NE(run.out.find(file.string()), std::string::npos) << run.out;
    auto printed = nlohmann::ordered_json::parse(runCli("scan v25.bin --json", dir.path).out);
    printed.erase("otherTables"); // a fact of the image, not of the firmware
    EXPECT_EQ(test::readText(file), printed.dump(2) + "\n");

    run = runCli("show --json v25.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto after = nlohmann::json::parse(run.out);
    const auto before = nlohmann::json::parse(runCli("show --json v24.bin", dir.path).out);
    EXPECT_EQ(after["firmware"], "C55 v25 lg91");
    EXPECT_EQ(after["descriptor"], before["descriptor"]);
    EXPECT_EQ(after["layouts"], before["layouts"]);
}

// One firmware, one description: the file scan --save says it saved is the one the next command uses, and
// another file of the same firmware is skipped, with its line. What is in the way of the name (a link,
// anything but a description of this firmware) is refused and kept, with exit 1.
TEST_F(CliScan, WhatIsSavedIsUsed)
{
    test::writeText(folder / "A.json", test::kC55v25WithoutWap);
    auto run = runCli("scan v25.bin --save", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = runCli("show --json v25.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["descriptor"]["WapTabU"], 5791040);
    EXPECT_NE(run.err.find("A.json: the firmware is described already by"), std::string::npos) << run.err;
    EXPECT_EQ(test::readText(folder / "A.json"), test::kC55v25WithoutWap);

    const auto saved = folder / "C55_v25_lg91.json";
    std::filesystem::remove(saved);
    test::writeText(dir.path / "notes.txt", "the user's notes");
    std::filesystem::create_symlink(dir.path / "notes.txt", saved);
    run = runCli("scan v25.bin --save", dir.path);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is a symbolic link: not replaced"), std::string::npos) << run.err;
    EXPECT_EQ(test::readText(dir.path / "notes.txt"), "the user's notes");
}

TEST_F(CliScan, ExitCodes)
{
    test::writeBytes(dir.path / "zeros.bin", std::vector<std::uint8_t>(0x100000, 0));
    test::writeBytes(dir.path / "bare.bin",
                     test::ImageBuilder(0x100000).identity("C45", 0x51, "lg1").build());
    test::expectRefusals(
        {
            {"scan", 1, "usage"},
            {"scan v25.bin v24.bin", 1, "usage"},
            {"scan --bogus v25.bin", 1, "usage"},
            {"scan missing.bin", 2, "missing.bin: No such file"},
            {"scan zeros.bin", 3, "no identity string"},
            {"scan bare.bin --save", 3, "no key tables found"},
        },
        dir.path);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

} // namespace
} // namespace klavoset
