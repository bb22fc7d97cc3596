// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Layouts that fit come back unchanged: saved into the fullflash and loaded again, or saved as a layout
// file and opened again, for random cases of every firmware (Unicode, and KOI8 where the English layouts
// can keep their characters).
#include "PropertyCase.h"
#include "support/StartedEditor.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::PropertyCase;
using test::StartedEditor;

constexpr std::uint32_t kCases = 10;

class SaveLoadOfEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

// A started editor with the case's options and image loaded.
struct Opened : StartedEditor
{
    explicit Opened(const PropertyCase& c, std::u16string path = u"/ff.bin")
    {
        if (c.koi)
            editor.koi8Command();
        ok = open(path, c.image) == Outcome::Done;
    }
    bool ok = false;
};

TEST_P(SaveLoadOfEveryFirmware, SavedLayoutsLoadUnchanged)
{
    for (std::uint32_t seed = 0; seed < kCases; ++seed) {
        const PropertyCase c(GetParam(), seed);
        SCOPED_TRACE(c.describe());
        Opened e(c);
        ASSERT_TRUE(e.ok);
        ASSERT_EQ(test::firstDifference(e.texts(), c.loaded), "");
        test::typeTexts(e.view, c.edited);
        e.editor.runCommand(c.wap);
        ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);

        StartedEditor again;
        if (c.koi)
            again.editor.koi8Command();
        ASSERT_EQ(again.open(u"/ff.bin", e.files.files[u"/ff.bin"]), Outcome::Done);
        EXPECT_EQ(again.editor.hasRussian(), c.d.hasRussian);
        EXPECT_EQ(test::firstDifference(again.texts(), c.edited), "");
    }
}

TEST_P(SaveLoadOfEveryFirmware, LayoutFileOpensUnchanged)
{
    for (std::uint32_t seed = 0; seed < kCases; ++seed) {
        const PropertyCase c(GetParam(), seed);
        SCOPED_TRACE(c.describe());
        Opened e(c);
        ASSERT_TRUE(e.ok);
        test::typeTexts(e.view, c.edited);
        e.view.dialogAnswers.push_back(u"/ff.lay");
        ASSERT_EQ(e.editor.saveLayoutFileAsCommand(), Outcome::Done);

        // into another editor over the same image, which shows the loaded layouts until then
        Opened other(c);
        ASSERT_TRUE(other.ok);
        other.files.files[u"/ff.lay"] = e.files.files[u"/ff.lay"];
        other.view.dialogAnswers.push_back(u"/ff.lay");
        ASSERT_EQ(other.editor.openLayoutFileCommand(), Outcome::Done);
        EXPECT_EQ(test::firstDifference(other.texts(), c.edited), "");
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, SaveLoadOfEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         test::RowName());

} // namespace
} // namespace klavoset
