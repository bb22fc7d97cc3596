// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/UnlistedVersion.h"
#include "support/ImageBuilder.h"
#include "support/LayoutFileBuilder.h"

#include <nlohmann/json.hpp>

namespace klavoset {
namespace {

using test::runCli;

// C55 v24 lg91 with a further table at English table + 0x158 = 0x4731CE, the last 72 bytes of its English
// storage, which the sample layouts leave alone; and the same image as the unlisted C55 v25 lg91.
TEST(CliOtherLayouts, ListedByScanAndShowAndWarnedAboutByApply)
{
    test::TempDir dir;
    const FirmwareDescriptor d = test::descriptorOf("C55 v24 lg91");
    LayoutTexts texts = test::sampleLayouts(true, true);
    auto image = test::ImageBuilder(0x800000)
                     .identityOf("C55 v24 lg91")
                     .layouts(d, texts)
                     .otherTable(d, 0x4731CE, 0x600000)
                     .build();
    test::writeBytes(dir.path / "greek.bin", image);
    image[0x7FF50] = 0x25;
    test::writeBytes(dir.path / "greek25.bin", image);

    auto run = runCli("show --json greek.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["otherTables"], nlohmann::json::parse("[4665806]"));
    run = runCli("scan --json greek25.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["otherTables"], nlohmann::json::parse("[4665806]"));
    test::writeText(dir.path / "c55v25.json", run.out); // what scan prints loads as a description
    EXPECT_EQ(runCli("show greek25.bin --firmware-file c55v25.json", dir.path).exitCode, 0);

    test::writeBytes(dir.path / "same.lay", test::LayoutFileBuilder().layouts(texts, true).build());
    run = runCli("apply greek.bin same.lay -o same.bin", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");

    texts.at(Layout::englishLower, 9) += u"ÄÆÅÇÀÁÂÃÈÉÊËÌÍÎÏÐ"; // 17 more letters: two bytes into the table
    test::writeBytes(dir.path / "long.lay", test::LayoutFileBuilder().layouts(texts, true).build());
    for (const char* out : {"-o long.bin", "--vkp long.vkp"}) {
        run = runCli(std::string("apply greek.bin long.lay ") + out, dir.path);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err,
                  "klavoset-cli: warning: greek.bin: written over another layout of the phone, which "
                  "will stop working: its key table at 0x4731CE\n");
    }
    EXPECT_NE(test::readBytes(dir.path / "long.bin"), test::readBytes(dir.path / "greek.bin"));
}

} // namespace
} // namespace klavoset
