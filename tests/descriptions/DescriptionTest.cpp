// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Utf.h"
#include "descriptions/DescriptionFolder.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace klavoset {
namespace {

using test::TempDir;

// C55 v24 lg91's offsets under an identity the table does not list; then with the offsets the rules derive.
const std::string kC55v25 =
    "{\"firmware\": \"C55 v25 lg91\", \"newGen\": true, \"hasRus\": true, \"descriptor\": "
    "{\"EngTab\": 4665462, \"RusTab\": 4666580, \"Key10Entry\": 4668068, "
    "\"WapTabU\": 5791040, \"WapTabL\": 5791734}}";
const std::string kC55v25Derived =
    "{\"firmware\": \"C55 v25 lg91\", \"newGen\": true, \"hasRus\": true, \"descriptor\": "
    "{\"EngTab\": 4665462, \"RusTab\": 4666580, \"Key10Entry\": 4668068, \"WapTabU\": 5791040, "
    "\"WapTabL\": 5791734, \"EngData\": 4665606, \"RusData\": 4666304, \"CommonData\": 4665280, "
    "\"WapData\": 4666724, \"CommonCap\": 91}}";

// An older firmware: no key-10 entry, its own derived offsets.
const std::string kC45v51 =
    "{\"firmware\": \"C45 v51 lg1\", \"newGen\": false, \"hasRus\": true, \"descriptor\": "
    "{\"EngTab\": 2320344, \"RusTab\": 2321472, \"Key10Entry\": 0, \"WapTabU\": 2422698, "
    "\"WapTabL\": 2423428, \"EngData\": 2320072, \"CommonData\": 2321104, \"CommonCap\": 46}}";

std::string replaced(std::string text, const std::string& what, const std::string& with)
{
    return text.replace(text.find(what), what.size(), with);
}

void writeText(const std::filesystem::path& p, const std::string& text)
{
    test::writeBytes(p, std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(Description, TextRoundTrip)
{
    const auto parsed = parseDescription(kC55v25Derived);
    ASSERT_TRUE(parsed.isOk()) << parsed.error();
    const FirmwareDescription& d = parsed.value();
    EXPECT_EQ(d.id, "C55 v25 lg91");
    EXPECT_TRUE(d.row.newGeneration);
    EXPECT_TRUE(d.row.hasRussian);
    EXPECT_EQ(d.row.englishTable, 0x473076);
    EXPECT_EQ(d.row.russianTable, 0x4734D4);
    EXPECT_EQ(d.row.key10Entry, 0x473AA4);
    EXPECT_EQ(d.row.wapUpperTable, 0x585D40);
    EXPECT_EQ(d.row.wapLowerTable, 0x585FF6);
    EXPECT_TRUE(d.row.id.empty());

    const std::string text = descriptionText(d.id, d.row);
    EXPECT_NE(text.find("\"EngTab\": 4665462"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
    const auto again = parseDescription(text);
    ASSERT_TRUE(again.isOk()) << again.error();
    EXPECT_EQ(again.value().id, d.id);
    EXPECT_TRUE(sameLayoutPlaces(again.value().row, d.row));
    EXPECT_EQ(descriptionText(again.value().id, again.value().row), text);

    // An older firmware with Russian layouts keeps both flags as the file gives them.
    const auto older = parseDescription(kC45v51);
    ASSERT_TRUE(older.isOk()) << older.error();
    EXPECT_FALSE(older.value().row.newGeneration);
    EXPECT_TRUE(older.value().row.hasRussian);
    ASSERT_TRUE(parseDescription(kC55v25).isOk());

    // The image spells identities in Windows-1251 ("С" here is Cyrillic); the file holds UTF-8.
    const std::string cyrillic = "\xD1"
                                 "55 v25 lg91";
    const std::string cyrillicText = descriptionText(cyrillic, d.row);
    EXPECT_NE(cyrillicText.find("\"С55 v25 lg91\""), std::string::npos) << cyrillicText;
    const auto back = parseDescription(cyrillicText);
    ASSERT_TRUE(back.isOk()) << back.error();
    EXPECT_EQ(back.value().id, cyrillic);
}

TEST(Description, BadTextsSayWhy)
{
    const std::string& good = kC55v25;
    const std::string& derived = kC55v25Derived;
    const std::pair<std::string, std::string> cases[] = {
        {"{\"firmware\": ", "not JSON"},
        {"", "not JSON"},
        {"[1, 2]", "not a JSON object"},
        {replaced(good, "\"EngTab\": 4665462, ", ""), "\"EngTab\" is missing"},
        {replaced(good, "\"hasRus\": true, ", ""), "\"hasRus\" is missing"},
        {replaced(good, "\"firmware\": \"C55 v25 lg91\"", "\"firmware\": 55"),
         "\"firmware\" is not a string"},
        {replaced(good, "\"newGen\": true", "\"newGen\": \"yes\""), "\"newGen\" is not true or false"},
        {replaced(good, "4665462", "4665462.0"), "\"EngTab\" is not a whole number"},
        {replaced(good, "4665462", "\"0x473076\""), "\"EngTab\" is not a whole number"},
        {replaced(good, "4665462", "4294967296"), "\"EngTab\" is out of range"},
        {replaced(derived, "\"CommonCap\"", "\"CommonCapacity\""), "unknown key \"CommonCapacity\""},
        {replaced(good, "\"newGen\"", "\"comment\": \"x\", \"newGen\""), "unknown key \"comment\""},
        // offsets outside any image of these phones
        {replaced(good, "4665462", "84665462"), "outside any image"},
        {replaced(good, "\"Key10Entry\": 4668068", "\"Key10Entry\": -6"), "negative"},
        {replaced(good, "4665462", "2147483647"), "outside any image"},
        // areas that would spoil the image
        {replaced(good, "4668068", "524160"), "the identity block"}, // the key-10 entry on "SIEMENS"
        {replaced(good, "4668068", "4665468"), "two areas overlap"}, // ... in the English table
        {replaced(good, "\"descriptor\"", "\"otherTables\": [1, \"2\"], \"descriptor\""),
         "\"otherTables\" is not a list of offsets"},
        // a derived offset the rules do not give
        {replaced(derived, "4665606", "4665607"), "\"EngData\" is 4665607, but the offsets give 4665606"},
        {replaced(derived, "\"CommonCap\": 91", "\"CommonCap\": 46"), "\"CommonCap\" is 46"},
        // the table's firmware, even with the table's own offsets
        {replaced(derived, "v25", "v24"), "built-in table"},
        {replaced(good, "C55 v25 lg91", ""), "empty"},
        {replaced(good, "C55 v25 lg91", "C55 v25 lg91 ☃"), "a character that no identity string can"},
        // a hand-edited key given twice, however it is spelt
        {replaced(good, "\"WapTabL\"", "\"EngTab\": 4665470, \"WapTabL\""), "\"EngTab\" is given twice"},
        {replaced(good, "\"newGen\"", "\"firmware\": \"C55 v25 lg92\", \"newGen\""),
         "\"firmware\" is given twice"},
        {replaced(good, "\"WapTabL\"", "\"\\u0045ngTab\": 4665462, \"WapTabL\""),
         "\"EngTab\" is given twice"},
    };
    for (const auto& [text, why] : cases) {
        const auto parsed = parseDescription(text);
        ASSERT_FALSE(parsed.isOk()) << text;
        EXPECT_NE(parsed.error().find(why), std::string::npos) << text << "\n  said: " << parsed.error();
    }
}

TEST(DescriptionFolder, FileNamesAreSafeAndDistinct)
{
    EXPECT_EQ(descriptionFileName("C55 v25 lg91"), "C55_v25_lg91.json");
    EXPECT_EQ(descriptionFileName("A-1 v1 lg1"), "A-1_v1_lg1.json");
    EXPECT_EQ(descriptionFileName("../x/y"), "%2E%2E%2Fx%2Fy.json");
    EXPECT_EQ(descriptionFileName("a\\b:c*?\"<>|%"), "a%5Cb%3Ac%2A%3F%22%3C%3E%7C%25.json");
    EXPECT_EQ(descriptionFileName("\xD1"
                                  "55"),
              "%D155.json");
    EXPECT_NE(descriptionFileName("a b"), descriptionFileName("a_b"));
    EXPECT_EQ(descriptionFileName("NUL"), "NU%4C.json"); // Windows reserves it in every folder
    EXPECT_EQ(descriptionFileName("com1"), "com%31.json");
    EXPECT_EQ(descriptionFileName("COM"), "COM.json");
    EXPECT_EQ(descriptionFileName(""), "");
    EXPECT_EQ(descriptionFileName(std::string(81, 'x')), "");
    EXPECT_EQ(descriptionFileName(std::string(80, '/')).size(), 80u * 3 + 5);
}

TEST(DescriptionFolder, BadFilesAreSkippedOneLineEachAndTheTableWins)
{
    TempDir dir;
    const std::string& good = kC55v25;
    writeText(dir.path / "C55_v25_lg91.json", kC55v25Derived);
    writeText(dir.path / "C45_v51_lg1.json", kC45v51);
    writeText(dir.path / "a-not-json.json", "firmware = C55");
    writeText(dir.path / "b-missing.json", replaced(good, ", \"WapTabL\": 5791734", ""));
    writeText(dir.path / "c-outside.json", replaced(good, "4665462", "84665462"));
    writeText(dir.path / "d-derived.json", replaced(kC55v25Derived, "4666724", "4666725"));
    // The table's C55 v24 lg91, with other offsets: the table's row must stay.
    writeText(dir.path / "e-clash.json", replaced(replaced(good, "v25", "v24"), "4665462", "4665470"));
    // The same firmware as C55_v25_lg91.json, with other offsets, before and after it: the file named after
    // the firmware wins wherever it sorts.
    writeText(dir.path / "A-again.json", replaced(good, "4665462", "4665470"));
    writeText(dir.path / "f-again.json", replaced(good, "4665462", "4665470"));
    writeText(dir.path / "notes.txt", "not a description, not read");
    std::filesystem::create_directory(dir.path / "g-folder.json");

    RealFileSystem files;
    FirmwareCatalog catalog;
    const auto skipped = loadDescriptions(files, dir.path.u16string(), catalog);

    std::vector<std::string> names;
    for (const SkippedDescription& s : skipped) {
        names.push_back(std::filesystem::path(s.path).filename().string());
        EXPECT_FALSE(s.reason.empty());
        EXPECT_EQ(s.reason.find('\n'), std::string::npos) << s.reason;
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"A-again.json", "a-not-json.json", "b-missing.json", "c-outside.json",
                                        "d-derived.json", "e-clash.json", "f-again.json", "g-folder.json"}));
    ASSERT_EQ(skipped.size(), 8u);
    EXPECT_NE(skipped[0].reason.find("C55_v25_lg91.json"), std::string::npos) << skipped[0].reason;
    EXPECT_NE(skipped[5].reason.find("built-in table"), std::string::npos) << skipped[5].reason;
    EXPECT_NE(skipped[6].reason.find("C55_v25_lg91.json"), std::string::npos) << skipped[6].reason;

    ASSERT_EQ(catalog.descriptions().size(), 2u);
    const FirmwareRow* c55 = catalog.find("C55 v25 lg91");
    ASSERT_NE(c55, nullptr);
    EXPECT_EQ(c55->englishTable, 0x473076);
    EXPECT_EQ(catalog.find("C55 v24 lg91")->englishTable, 0x473076);
    EXPECT_EQ(catalog.find("C55 v24 lg91"), findFirmware("C55 v24 lg91")) << "the table wins";
    ASSERT_NE(catalog.find("C45 v51 lg1"), nullptr);

    EXPECT_TRUE(loadDescriptions(files, (dir.path / "none").u16string(), catalog).empty());
}

TEST(DescriptionFolder, SaveMakesTheFolderAndReplacesOnlyItsOwnFirmware)
{
    TempDir dir;
    RealFileSystem files;
    const auto folder = dir.path / "data" / "klavoset" / "firmware";
    FirmwareRow row = parseDescription(kC55v25).value().row;

    auto saved = saveDescription(files, folder.u16string(), "C55 v25 lg91", row);
    ASSERT_TRUE(saved.isOk()) << saved.error().reason;
    EXPECT_EQ(std::filesystem::path(saved.value()), folder / "C55_v25_lg91.json");
    row.wapUpperTable = 0;
    row.wapLowerTable = 0;
    saved = saveDescription(files, folder.u16string(), "C55 v25 lg91", row);
    ASSERT_TRUE(saved.isOk()) << saved.error().reason;
    FirmwareCatalog catalog;
    EXPECT_TRUE(loadDescriptions(files, folder.u16string(), catalog).empty());
    ASSERT_EQ(catalog.descriptions().size(), 1u);
    EXPECT_EQ(catalog.find("C55 v25 lg91")->wapUpperTable, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

    // The table's firmware is never written; nor is a file that holds another firmware replaced, as a
    // system that ignores the case of names would have it.
    const auto table = saveDescription(files, folder.u16string(), "C55 v24 lg91", row);
    ASSERT_FALSE(table.isOk());
    EXPECT_NE(table.error().reason.find("built-in table"), std::string::npos) << table.error().reason;
    EXPECT_FALSE(std::filesystem::exists(folder / "C55_v24_lg91.json"));
    const std::string other = replaced(kC55v25, "C55 v25 lg91", "c55 v25 lg91");
    writeText(folder / "C55_v25_lg91.json", other);
    const auto clash = saveDescription(files, folder.u16string(), "C55 v25 lg91", row);
    ASSERT_FALSE(clash.isOk());
    EXPECT_NE(clash.error().reason.find("holds the description of c55 v25 lg91"), std::string::npos)
        << clash.error().reason;
    EXPECT_EQ(test::readText(folder / "C55_v25_lg91.json"), other);

    EXPECT_FALSE(saveDescription(files, u"", "C55 v25 lg91", row).isOk());
    writeText(dir.path / "file", "");
    EXPECT_FALSE(saveDescription(files, (dir.path / "file" / "sub").u16string(), "C55 v25 lg91", row).isOk());
}

#ifndef _WIN32
// Only the user's own regular file describing this very firmware is replaced, in a folder nobody else may
// swap files in; whatever else is in the way stays as it was, and the reason is said.
TEST(DescriptionFolder, SaveRefusesWhatIsNotTheUsersOwnDescription)
{
    namespace fs = std::filesystem;
    TempDir dir;
    RealFileSystem files;
    const auto folder = dir.path / "firmware";
    const auto target = folder / "C55_v25_lg91.json";
    const FirmwareRow row = parseDescription(kC55v25).value().row;
    const auto refusal = [&] {
        const auto saved = saveDescription(files, folder.u16string(), "C55 v25 lg91", row);
        EXPECT_FALSE(saved.isOk());
        return saved.isOk() ? std::string() : saved.error().reason;
    };
    fs::create_directories(folder);
    writeText(dir.path / "elsewhere.txt", "the user's own notes");

    fs::create_symlink(dir.path / "elsewhere.txt", target);
    EXPECT_NE(refusal().find("symbolic link"), std::string::npos);
    EXPECT_EQ(test::readText(dir.path / "elsewhere.txt"), "the user's own notes");
    fs::remove(target);
    fs::create_symlink(dir.path / "nowhere.json", target); // dangling
    EXPECT_NE(refusal().find("symbolic link"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path / "nowhere.json"));
    fs::remove(target);
    writeText(target, "firmware notes, not JSON");
    EXPECT_NE(refusal().find("holds no firmware description"), std::string::npos);
    EXPECT_EQ(test::readText(target), "firmware notes, not JSON");
    fs::remove(target);
    fs::create_directory(target);
    EXPECT_NE(refusal().find("not a regular file"), std::string::npos);
    fs::remove(target);

    fs::permissions(folder, fs::perms::all);
    EXPECT_NE(refusal().find("others may write to the folder"), std::string::npos);
    fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
    ASSERT_TRUE(saveDescription(files, folder.u16string(), "C55 v25 lg91", row).isOk());
    fs::permissions(folder, fs::perms::owner_all);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        EXPECT_NE(refusal().find("belongs to another user"), std::string::npos);
    }
    EXPECT_EQ(test::readText(target), descriptionText("C55 v25 lg91", row));
}
#endif

// Reads that come up with the bytes they were given, counted.
class CountingReads : public RealFileSystem
{
  public:
    std::size_t bytesRead = 0;

  protected:
    std::size_t readBytes(std::FILE* file, std::span<std::uint8_t> into) override
    {
        const std::size_t got = RealFileSystem::readBytes(file, into);
        bytesRead += got;
        return got;
    }
};

// A file far larger than any description is refused by its size, on the load and the save alike, without
// being read: a sparse gigabyte would otherwise cost every command seconds and its size in memory.
TEST(DescriptionFolder, LargeFilesAreRefusedUnread)
{
    TempDir dir;
    const auto folder = dir.path / "firmware";
    std::filesystem::create_directories(folder);
    writeText(folder / "huge.json", "");
    std::filesystem::resize_file(folder / "huge.json", std::uintmax_t{1} << 30);
    writeText(folder / "C55_v25_lg91.json", std::string(10'000'000, '['));

    CountingReads files;
    FirmwareCatalog catalog;
    const auto skipped = loadDescriptions(files, folder.u16string(), catalog);
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_NE(skipped[1].reason.find("too large for a firmware description (1073741824 bytes)"),
              std::string::npos)
        << skipped[1].reason;
    const auto saved =
        saveDescription(files, folder.u16string(), "C55 v25 lg91", parseDescription(kC55v25).value().row);
    ASSERT_FALSE(saved.isOk());
    EXPECT_NE(saved.error().reason.find("holds no firmware description"), std::string::npos);
    EXPECT_EQ(files.bytesRead, 0u);
    EXPECT_EQ(std::filesystem::file_size(folder / "C55_v25_lg91.json"), 10'000'000u);
}

#ifndef _WIN32
// Only names are made here: nothing is looked at or written, so the user's own folders stay untouched.
TEST(DescriptionFolder, FolderFollowsTheEnvironment)
{
    const auto kept = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr ? std::optional<std::string>() : std::string(value);
    };
    const auto dataHome = kept("XDG_DATA_HOME"), home = kept("HOME");
    const auto set = [](const char* name, const char* value) {
        if (value == nullptr)
            ::unsetenv(name);
        else
            ::setenv(name, value, 1);
    };

    set("XDG_DATA_HOME", "/x/data");
    set("HOME", "/h");
    EXPECT_EQ(descriptionFolder(), u"/x/data/klavoset/firmware");
    set("XDG_DATA_HOME", "relative/data"); // to be ignored
    EXPECT_EQ(descriptionFolder(), u"/h/.local/share/klavoset/firmware");
    set("XDG_DATA_HOME", "");
    EXPECT_EQ(descriptionFolder(), u"/h/.local/share/klavoset/firmware");
    set("XDG_DATA_HOME", nullptr);
    set("HOME", nullptr);
    EXPECT_EQ(descriptionFolder(), u"");

    set("XDG_DATA_HOME", dataHome ? dataHome->c_str() : nullptr);
    set("HOME", home ? home->c_str() : nullptr);
}
#else
TEST(DescriptionFolder, FolderFollowsTheEnvironment)
{
    EXPECT_TRUE(descriptionFolder().ends_with(u"\\Klavoset\\firmware")) << toUtf8(descriptionFolder());
}
#endif

} // namespace
} // namespace klavoset
