#include "cli/CliRunner.h"
#include "codec/Budget.h"
#include "core/Utf.h"
#include "support/FlashBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

namespace klavoset {
namespace {

using test::runCli;
using test::TempDir;

std::string q(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

class CliEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

// The JSON of `show` holds exactly what the image stores, shared keys copied into every layout.
TEST_P(CliEveryFirmware, ShowJsonDecodesSyntheticImage)
{
    const FirmwareRow& row = GetParam();
    const FirmwareDescriptor d = completeDescriptor(row);
    const LayoutTexts texts = test::sampleLayouts(d.NewGen, d.HasRus);
    TempDir dir;
    const auto image = dir.path / "ff.bin";
    test::writeBytes(image, test::imageOf(row.id, texts, 0x800000)); // every table lies below 8 MiB
    const auto run = runCli("show " + q(image) + " --json", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["firmware"], std::string(row.id));
    EXPECT_EQ(doc["newGen"], d.NewGen);
    EXPECT_EQ(doc["hasRus"], d.HasRus);
    EXPECT_EQ(doc["descriptor"]["EngData"], d.EngData);
    EXPECT_EQ(doc["descriptor"]["CommonCap"], d.CommonCap);
    const char* names[] = {"eb", "em", "rb", "rm"};
    for (const KeyArray a : kAllArrays)
        for (int key = 0; key < kKeys; ++key)
            EXPECT_EQ(fromUtf8(doc["layouts"][names[static_cast<int>(a)]][key].get<std::string>()),
                      texts.at(a, key))
                << names[static_cast<int>(a)] << key;
    const Budget b = countBudget(texts);
    EXPECT_EQ(doc["budget"]["eng"], nlohmann::json::array({b.EngUsed, 136}));
    EXPECT_EQ(doc["budget"]["common"], nlohmann::json::array({b.CommonUsed, d.CommonCap}));
}

INSTANTIATE_TEST_SUITE_P(AllRows, CliEveryFirmware, ::testing::ValuesIn(supportedFirmware()), 
                         test::RowName());

TEST(Cli, IdentifyPrintsIdentityAndExitCode)
{
    TempDir dir;
    test::writeBytes(dir.path / "ok.bin", test::imageOf("C45 v50 lg1", {}, 0x400000));
    auto run = runCli("identify " + q(dir.path / "ok.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "C45 v50 lg1\n");

    test::writeBytes(dir.path / "other.bin", test::FlashBuilder(0x100000).identity("C45", 0x51, "lg1").build());
    run = runCli("identify " + q(dir.path / "other.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "C45 v51 lg1\n");

    test::writeBytes(dir.path / "empty.bin", {});
    run = runCli("identify " + q(dir.path / "empty.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "\n");

    test::writeBytes(dir.path / "short.bin", test::FlashBuilder(0x100000).identityOf("C55 v24 lg91").build());
    run = runCli("identify " + q(dir.path / "short.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("short.bin"), std::string::npos);
}

TEST(Cli, MissingFileIsExitTwoAndNotCreated)
{
    TempDir dir;
    const auto missing = dir.path / "missing.bin";
    for (const std::string command : {"identify ", "show "}) {
        const auto run = runCli(command + q(missing), dir.path);
        EXPECT_EQ(run.exitCode, 2) << command;
        EXPECT_NE(run.err.find("missing.bin"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(missing));
    }
}

TEST(Cli, ShowRefusesUnsupportedWithOneLine)
{
    TempDir dir;
    test::writeBytes(dir.path / "x.bin", test::FlashBuilder(0x100000).identity("C45", 0x51, "lg1").build());
    const auto run = runCli("show " + q(dir.path / "x.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("Этот фуллфлеш не поддерживается"), std::string::npos);
}

TEST(Cli, ShowKoi8DecodesEnglishLettersAsCyrillic)
{
    TempDir dir;
    LayoutTexts texts;
    texts.at(KeyArray::eb, 2) = u"\u00E9";
    test::writeBytes(dir.path / "k.bin", test::imageOf("C45 v50 lg1", texts, 0x400000));
    auto run = runCli("show " + q(dir.path / "k.bin") + " --json --koi8", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["layouts"]["eb"][2], "И");
    run = runCli("show " + q(dir.path / "k.bin"), dir.path);
    EXPECT_NE(run.out.find("[2] \"é\""), std::string::npos) << run.out;
}

TEST(Cli, UsageErrors)
{
    TempDir dir;
    EXPECT_EQ(runCli("", dir.path).exitCode, 1);
    EXPECT_EQ(runCli("frobnicate", dir.path).exitCode, 1);
    EXPECT_EQ(runCli("show", dir.path).exitCode, 1);
    EXPECT_EQ(runCli("show a b", dir.path).exitCode, 1);
    EXPECT_EQ(runCli("identify --bogus x", dir.path).exitCode, 1);
    const auto help = runCli("--help", dir.path);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
}

TEST(Cli, FirmwareListsEveryRow)
{
    TempDir dir;
    const auto run = runCli("firmware --json", dir.path);
    ASSERT_EQ(run.exitCode, 0);
    const auto list = nlohmann::json::parse(run.out);
    ASSERT_EQ(list.size(), 34u);
    EXPECT_EQ(list[0]["firmware"], "C55 v24 lg91");
    const auto a52 = std::find_if(list.begin(), list.end(), [](const auto& r) { return r["firmware"] == "A52 v7 lg1"; });
    EXPECT_EQ((*a52)["wap"], false);
    EXPECT_EQ(runCli("firmware", dir.path).out.find("C55 v24 lg91"), 0u);
}

} // namespace
} // namespace klavoset
