// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A patch applied to the image it was made from, by an applier of the tests' own, gives the image the
// save writes; patches made one after another apply one after another. A patch that compares only the
// firmware's areas has exactly the lines of a comparison of the whole images.
#include "PropertyCase.h"
#include "support/StartedEditor.h"
#include "support/VkpApplier.h"
#include "writers/VkpPatch.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace klavoset {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::PropertyCase;
using test::StartedEditor;

constexpr std::uint32_t kCases = 10;

class PatchOfEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

std::string textOf(const Bytes& file) { return {file.begin(), file.end()}; }

// The first offset where the two differ, for a readable failure.
std::ptrdiff_t firstDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    if (a.size() != b.size())
        return static_cast<std::ptrdiff_t>(std::min(a.size(), b.size()));
    const auto m = std::mismatch(a.begin(), a.end(), b.begin());
    return m.first == a.end() ? -1 : m.first - a.begin();
}

TEST_P(PatchOfEveryFirmware, PatchAppliedToTheImageGivesTheSavedImage)
{
    for (std::uint32_t seed = 0; seed < kCases; ++seed) {
        PropertyCase c(GetParam(), seed);
        SCOPED_TRACE(c.describe());
        StartedEditor e;
        if (c.koi)
            e.editor.koi8Command();
        ASSERT_EQ(e.open(u"/ff.bin", c.image), Outcome::Done);
        e.editor.runCommand(c.wap);

        Bytes patched = c.image;
        for (int round = 0; round < 2; ++round) {
            test::typeTexts(e.view, round == 0 ? c.edited : c.random.fitting(c.d, c.d.hasRussian, c.koi));
            e.view.dialogAnswers.push_back(u"/ff.vkp");
            ASSERT_EQ(e.editor.savePatchAsCommand(), Outcome::Done) << "round " << round;
            const auto problem = test::applyVkp(textOf(e.files.files[u"/ff.vkp"]), patched);
            ASSERT_FALSE(problem) << "round " << round << ": " << *problem;
            ASSERT_EQ(firstDifference(patched, e.editor.image()), -1) << "round " << round;
        }
        ASSERT_EQ(e.files.files[u"/ff.bin"], c.image) << "an export leaves the fullflash alone";
        ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);
        EXPECT_EQ(firstDifference(e.files.files[u"/ff.bin"], patched), -1);
    }
}

TEST_P(PatchOfEveryFirmware, ComparingTheAreasGivesTheLinesOfTheWholeImages)
{
    for (std::uint32_t seed = 0; seed < kCases; ++seed) {
        PropertyCase c(GetParam(), seed, PropertyCase::Fill::Noise);
        SCOPED_TRACE(c.describe());
        StartedEditor e;
        if (c.koi)
            e.editor.koi8Command();
        ASSERT_EQ(e.open(u"/ff.bin", c.image), Outcome::Done);
        e.editor.runCommand(c.wap);
        Bytes before = c.image;
        for (int round = 0; round < 2; ++round) {
            test::typeTexts(e.view, round == 0 ? c.edited : c.random.fitting(c.d, c.d.hasRussian, c.koi));
            e.view.dialogAnswers.push_back(u"/ff.vkp");
            ASSERT_EQ(e.editor.savePatchAsCommand(), Outcome::Done) << "round " << round;
            EXPECT_EQ(textOf(e.files.files[u"/ff.vkp"]),
                      formatVkp(c.d.id, diffBlocks(before, e.editor.image())))
                << "round " << round;
            before.assign(e.editor.image().begin(), e.editor.image().end());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, PatchOfEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         test::RowName());

} // namespace
} // namespace klavoset
