// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Utf.h"
#include "cli/CliRunner.h"
#include "codec/Budget.h"
#include "support/ImageBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
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
    const LayoutTexts texts = test::sampleLayouts(d.newGeneration, d.hasRussian);
    TempDir dir;
    const auto image = dir.path / "ff.bin";
    test::writeBytes(image, test::imageOf(row.id, texts, 0x800000)); // every table lies below 8 MiB
    const auto run = runCli("show " + q(image) + " --json", dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["firmware"], std::string(row.id));
    EXPECT_EQ(doc["newGen"], d.newGeneration);
    EXPECT_EQ(doc["hasRus"], d.hasRussian);
    EXPECT_EQ(doc["descriptor"]["EngData"], d.englishStorage);
    EXPECT_EQ(doc["descriptor"]["CommonCap"], d.sharedCapacity);
    const char* names[] = {"eb", "em", "rb", "rm"};
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            EXPECT_EQ(fromUtf8(doc["layouts"][names[static_cast<int>(a)]][key].get<std::string>()),
                      texts.at(a, key))
                << names[static_cast<int>(a)] << key;
    const Budget b = countBudget(texts);
    EXPECT_EQ(doc["budget"]["eng"], nlohmann::json::array({b.englishUsed, 136}));
    EXPECT_EQ(doc["budget"]["common"], nlohmann::json::array({b.sharedUsed, d.sharedCapacity}));
}

INSTANTIATE_TEST_SUITE_P(AllRows, CliEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         test::RowName());

// The JSON keys are published (users' scripts read them): a key renamed, added or lost shows here.
TEST(Cli, JsonKeysStayAsPublished)
{
    TempDir dir;
    ASSERT_EQ(runCli("demo-image --size 0x800000 -o demo.bin", dir.path).exitCode, 0);
    using Keys = std::vector<std::string>;
    const auto keysOf = [](const nlohmann::json& object) {
        Keys keys;
        for (const auto& item : object.items())
            keys.push_back(item.key());
        return keys;
    };
    const auto doc = nlohmann::json::parse(runCli("show demo.bin --json", dir.path).out);
    EXPECT_EQ(keysOf(doc), (Keys{"adrFix", "budget", "descriptor", "file", "firmware", "hasRus", "layouts",
                                 "newGen", "otherTables"}));
    EXPECT_EQ(keysOf(doc["descriptor"]), (Keys{"CommonCap", "CommonData", "EngData", "EngTab", "Key10Entry",
                                               "RusData", "RusTab", "WapData", "WapTabL", "WapTabU"}));
    EXPECT_EQ(keysOf(doc["layouts"]), (Keys{"eb", "em", "rb", "rm"}));
    EXPECT_EQ(keysOf(doc["budget"]), (Keys{"common", "eng", "rus"}));
    const auto rows = nlohmann::json::parse(runCli("firmware --json", dir.path).out);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(keysOf(rows[0]), (Keys{"firmware", "hasRus", "newGen", "source", "wap"}));
    EXPECT_EQ(rows[0]["source"], "table");
}

TEST(Cli, IdentifyPrintsIdentityAndExitCode)
{
    TempDir dir;
    test::writeBytes(dir.path / "ok.bin", test::imageOf("C45 v50 lg1", {}, 0x400000));
    auto run = runCli("identify " + q(dir.path / "ok.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "C45 v50 lg1\n");

    test::writeBytes(dir.path / "other.bin",
                     test::ImageBuilder(0x100000).identity("C45", 0x51, "lg1").build());
    run = runCli("identify " + q(dir.path / "other.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "C45 v51 lg1\n");

    test::writeBytes(dir.path / "empty.bin", {});
    run = runCli("identify " + q(dir.path / "empty.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "\n");

    test::writeBytes(dir.path / "short.bin", test::ImageBuilder(0x100000).identityOf("C55 v24 lg91").build());
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
    test::writeBytes(dir.path / "x.bin", test::ImageBuilder(0x100000).identity("C45", 0x51, "lg1").build());
    const auto run = test::runCliProcess("show " + q(dir.path / "x.bin"), dir.path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("Этот фуллфлеш не поддерживается"), std::string::npos);
}

TEST(Cli, ShowKoi8DecodesEnglishLettersAsCyrillic)
{
    TempDir dir;
    LayoutTexts texts;
    texts.at(Layout::englishUpper, 2) = u"\u00E9";
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
    EXPECT_EQ(test::runCliProcess("", dir.path).exitCode, 1);
    EXPECT_EQ(test::runCliProcess("frobnicate", dir.path).exitCode, 1);
    EXPECT_EQ(test::runCliProcess("show", dir.path).exitCode, 1);
    EXPECT_EQ(test::runCliProcess("show a b", dir.path).exitCode, 1);
    EXPECT_EQ(test::runCliProcess("identify --bogus x", dir.path).exitCode, 1);
    const auto help = test::runCliProcess("--help", dir.path);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
}

// Output the system could not take is an error of its own, never a success.
TEST(Cli, OutputOntoAFullDiskFails)
{
    TempDir dir;
    const auto err = dir.path / "err.txt";
    for (const std::string args : {"--version", "firmware"}) {
        const std::string command =
            std::string("'") + KLAVOSET_CLI + "' " + args + " >/dev/full 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
        EXPECT_NE(test::readText(err).find("cannot write the output"), std::string::npos) << args;
    }
}

TEST(Cli, FirmwareListsEveryRow)
{
    TempDir dir;
    const auto run = runCli("firmware --json", dir.path);
    ASSERT_EQ(run.exitCode, 0);
    const auto list = nlohmann::json::parse(run.out);
    ASSERT_EQ(list.size(), 34u);
    EXPECT_EQ(list[0]["firmware"], "C55 v24 lg91");
    const auto a52 =
        std::find_if(list.begin(), list.end(), [](const auto& r) { return r["firmware"] == "A52 v7 lg1"; });
    EXPECT_EQ((*a52)["wap"], false);
    EXPECT_EQ(runCli("firmware", dir.path).out.find("C55 v24 lg91"), 0u);
}

} // namespace
} // namespace klavoset

namespace klavoset {
namespace {

using test::runCli;
using test::TempDir;

std::string quote(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

class CliDemoEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

// A demo image of every firmware loads and exports; its layouts applied back move its strings to where a
// save keeps them and show the same, and applied again change no byte: a patch of nothing.
TEST_P(CliDemoEveryFirmware, DemoExportApplyRoundTrip)
{
    TempDir dir;
    const std::string id(GetParam().id);
    const auto demo = dir.path / "demo.bin";
    const auto out = dir.path / "out.bin";
    ASSERT_EQ(
        runCli("demo-image --firmware '" + id + "' --size 0x800000 -o " + quote(demo), dir.path).exitCode, 0);
    auto run = runCli("show --json " + quote(demo), dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["layouts"]["eb"][2], "ABC2АБВГ");
    ASSERT_EQ(runCli("export " + quote(demo) + " -o " + quote(dir.path / "d.lay"), dir.path).exitCode, 0);
    run = runCli("apply " + quote(demo) + " " + quote(dir.path / "d.lay") + " -o " + quote(out), dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(runCli("export " + quote(out) + " -o " + quote(dir.path / "out.lay"), dir.path).exitCode, 0);
    EXPECT_EQ(test::readBytes(dir.path / "out.lay"), test::readBytes(dir.path / "d.lay"));
    run = runCli("apply " + quote(out) + " " + quote(dir.path / "d.lay") + " -o " +
                     quote(dir.path / "again.bin"),
                 dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::readBytes(dir.path / "again.bin"), test::readBytes(out));
    run = runCli("apply " + quote(out) + " " + quote(dir.path / "d.lay") + " --vkp " +
                     quote(dir.path / "p.vkp"),
                 dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string vkp = test::readText(dir.path / "p.vkp");
    EXPECT_EQ(std::count(vkp.begin(), vkp.end(), '\n'), 2) << "nothing changed: the two comment lines only";
}

INSTANTIATE_TEST_SUITE_P(AllRows, CliDemoEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         test::RowName());

struct DemoFixture : ::testing::Test
{
    TempDir dir;
    std::filesystem::path demo = dir.path / "demo.bin";
    std::filesystem::path layout = dir.path / "edit.lay";
    void SetUp() override
    {
        ASSERT_EQ(runCli("demo-image --size 0x800000 -o " + quote(demo), dir.path).exitCode, 0);
        ASSERT_EQ(runCli("export " + quote(demo) + " -o " + quote(layout), dir.path).exitCode, 0);
        // Saved once, so that its strings lie where every later save keeps them and an edit is one byte.
        ASSERT_EQ(
            runCli("apply " + quote(demo) + " " + quote(layout) + " -o " + quote(demo), dir.path).exitCode,
            0);
    }
    // The layout file with the first unit of englishUpper's key-2 field replaced.
    void editFirstLetter(char16_t c)
    {
        auto bytes = test::readBytes(layout);
        const std::size_t key2 =
            std::u16string_view(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2)
                    .find(u'\t') *
                2 +
            2;
        bytes[key2] = static_cast<std::uint8_t>(c & 0xFF);
        bytes[key2 + 1] = static_cast<std::uint8_t>(c >> 8);
        test::writeBytes(layout, bytes);
    }
};

TEST_F(DemoFixture, ApplyWritesPatchOfTheEditAndLeavesImage)
{
    editFirstLetter(u'Q');
    const auto before = test::readBytes(demo);
    const auto run = runCli(
        "apply " + quote(demo) + " " + quote(layout) + " --vkp " + quote(dir.path / "p.vkp"), dir.path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string vkp = test::readText(dir.path / "p.vkp");
    ASSERT_EQ(std::count(vkp.begin(), vkp.end(), '\n'), 3) << vkp;
    // the data line: "OFFSET: OLD NEW", the halves differing in the one byte 'A' (41) that became 'Q' (51)
    const std::string line = vkp.substr(vkp.rfind(": ", vkp.size() - 3) + 2, 65);
    const std::string oldHalf = line.substr(0, 32), newHalf = line.substr(33, 32);
    int differing = 0;
    for (std::size_t k = 0; k < 32; k += 2)
        if (oldHalf.substr(k, 2) != newHalf.substr(k, 2)) {
            ++differing;
            EXPECT_EQ(oldHalf.substr(k, 2), "41");
            EXPECT_EQ(newHalf.substr(k, 2), "51");
        }
    EXPECT_EQ(differing, 1) << line;
    EXPECT_EQ(test::readBytes(demo), before);
}

TEST_F(DemoFixture, ApplyOntoTheImageItself)
{
    editFirstLetter(u'Q');
    ASSERT_EQ(runCli("apply " + quote(demo) + " " + quote(layout) + " -o " + quote(demo), dir.path).exitCode,
              0);
    const auto run = runCli("show --json " + quote(demo), dir.path);
    EXPECT_EQ(nlohmann::json::parse(run.out)["layouts"]["eb"][2], "QBC2АБВГ");
}

TEST_F(DemoFixture, ExitCodesOfApply)
{
    const std::string base = "apply " + quote(demo) + " " + quote(layout);
    EXPECT_EQ(runCli(base, dir.path).exitCode, 1) << "no output chosen";
    EXPECT_EQ(runCli(base + " -o a --vkp b", dir.path).exitCode, 1);
    EXPECT_EQ(runCli(base + " --wap maybe -o x.bin", dir.path).exitCode, 1);
    EXPECT_EQ(runCli("apply " + quote(demo) + " " + quote(dir.path / "none.lay") + " -o " +
                         quote(dir.path / "x.bin"),
                     dir.path)
                  .exitCode,
              2);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "none.lay"));
    std::filesystem::create_directory(dir.path / "adir");
    const auto toDir = runCli(base + " -o " + quote(dir.path / "adir"), dir.path);
    EXPECT_EQ(toDir.exitCode, 2);
    EXPECT_NE(toDir.err.find("adir"), std::string::npos);
    EXPECT_NE(toDir.err.find("Is a directory"), std::string::npos) << toDir.err;
    EXPECT_EQ(runCli(base + " --wap en -o " + quote(dir.path / "w.bin"), dir.path).exitCode, 0);

    editFirstLetter(u'\x8000');
    const auto unstorable = runCli(base + " -o " + quote(dir.path / "u.bin"), dir.path);
    EXPECT_EQ(unstorable.exitCode, 4);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "u.bin"));
}

// No output may be one of the command's inputs, under any name: the image would become the file made from
// it. Refused before anything is written; rewriting the image in place with -o stays what -o is for.
TEST_F(DemoFixture, AnOutputThatIsAnInputIsRefused)
{
    std::filesystem::create_symlink(demo, dir.path / "link.bin");
    std::filesystem::create_hard_link(layout, dir.path / "hard.lay");
    const auto image = test::readBytes(demo);
    const auto lay = test::readBytes(layout);
    const std::string apply = "apply " + quote(demo) + " " + quote(layout);
    for (const std::string& args :
         {"export " + quote(demo) + " -o " + quote(demo), "export " + quote(demo) + " -o ./link.bin",
          apply + " --vkp " + quote(demo), apply + " --vkp demo.bin", apply + " --vkp hard.lay",
          apply + " -o " + quote(layout)}) {
        const auto run = test::runCliProcess(args, dir.path);
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_NE(run.err.find("is the same file as the input"), std::string::npos) << args << run.err;
    }
    EXPECT_EQ(test::readBytes(demo), image);
    EXPECT_EQ(test::readBytes(layout), lay);
}

// A FIFO is neither read nor replaced, and nothing waits for it; a save that fails says why.
TEST_F(DemoFixture, OnlyRegularFilesAreReadOrReplaced)
{
    ASSERT_EQ(::mkfifo((dir.path / "fifo").c_str(), 0600), 0);
    ::alarm(60); // a command that waits ends the test
    for (const std::string& args :
         {std::string("identify fifo"), std::string("show fifo"), std::string("identify /dev/zero"),
          "export " + quote(demo) + " -o fifo"}) {
        const auto run = test::runCliProcess(args, dir.path);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << args << run.err;
    }
    ::alarm(0);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path / "fifo"));
    const auto run = test::runCliProcess("export " + quote(demo) + " -o no/such.lay", dir.path);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;
}

TEST(CliDemo, WapChoicesTheFirmwareCannotTake)
{
    TempDir dir;
    const auto a52 = dir.path / "a52.bin";
    const auto slik = dir.path / "slik.bin";
    ASSERT_EQ(
        runCli("demo-image --firmware 'A52 v7 lg1' --size 0x400000 -o " + quote(a52), dir.path).exitCode, 0);
    ASSERT_EQ(
        runCli("demo-image --firmware 'SLIK v56 lg1' --size 0x800000 -o " + quote(slik), dir.path).exitCode,
        0);
    ASSERT_EQ(runCli("export " + quote(a52) + " -o " + quote(dir.path / "a.lay"), dir.path).exitCode, 0);
    ASSERT_EQ(runCli("export " + quote(slik) + " -o " + quote(dir.path / "s.lay"), dir.path).exitCode, 0);
    EXPECT_EQ(runCli("apply " + quote(a52) + " " + quote(dir.path / "a.lay") + " --wap en -o x.bin", dir.path)
                  .exitCode,
              3);
    const auto ru =
        runCli("apply " + quote(slik) + " " + quote(dir.path / "s.lay") + " --wap ru -o x.bin", dir.path);
    EXPECT_EQ(ru.exitCode, 3);
    EXPECT_NE(ru.err.find("только одну раскладку"), std::string::npos);
    EXPECT_EQ(runCli("demo-image --firmware 'X1 v1 lg1' -o x.bin", dir.path).exitCode, 3);
    EXPECT_EQ(runCli("demo-image --size 1000 -o x.bin", dir.path).exitCode, 3);
    EXPECT_EQ(runCli("demo-image --size many -o x.bin", dir.path).exitCode, 1);
}

} // namespace
} // namespace klavoset
