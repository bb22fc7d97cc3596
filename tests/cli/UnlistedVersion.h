// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

namespace klavoset::test {

inline std::string q(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

inline void writeText(const std::filesystem::path& p, const std::string& text)
{
    std::filesystem::create_directories(p.parent_path());
    writeBytes(p, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// C55 v24 lg91's row under the identity string of a version the table lacks.
inline const std::string kC55v25Description =
    R"({"firmware": "C55 v25 lg91", "newGen": true, "hasRus": true, "descriptor": {"EngTab": 4665462,)"
    R"( "RusTab": 4666580, "Key10Entry": 4668068, "WapTabU": 5791040, "WapTabL": 5791734}})";
// The same, its WAP tables not given: another description of that firmware.
inline const std::string kC55v25WithoutWap =
    R"({"firmware": "C55 v25 lg91", "newGen": true, "hasRus": true, "descriptor": {"EngTab": 4665462,)"
    R"( "RusTab": 4666580, "Key10Entry": 4668068, "WapTabU": 0, "WapTabL": 0}})";

// A demo image of C55 v24 lg91, and the same image calling itself C55 v25 lg91, which the table lacks; the
// private data folder of descriptions empty before and after.
struct UnlistedVersion : ::testing::Test
{
    TempDir dir;
    std::filesystem::path folder = privateDataFolder.descriptions();
    std::filesystem::path listed = dir.path / "v24.bin";
    std::filesystem::path unlisted = dir.path / "v25.bin";

    void SetUp() override
    {
        std::filesystem::remove_all(folder);
        ASSERT_EQ(
            runCli("demo-image --firmware 'C55 v24 lg91' --size 0x800000 -o v24.bin", dir.path).exitCode, 0);
        auto bytes = readBytes(listed);
        bytes[0x7FF50] = 0x25; // the version byte of the identity block below the first probe
        writeBytes(unlisted, bytes);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
};

} // namespace klavoset::test
