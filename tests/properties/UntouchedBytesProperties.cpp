// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A save changes no byte outside the firmware's areas, in images whose other bytes are random.
#include "PropertyCase.h"
#include "support/StartedEditor.h"
#include "support/WritableBytes.h"

#include <cstring>
#include <gtest/gtest.h>

namespace klavoset {
namespace {

using test::PropertyCase;
using test::StartedEditor;

constexpr std::uint32_t kCases = 6;

class UntouchedBytesOfEveryFirmware : public ::testing::TestWithParam<FirmwareRow>
{
};

TEST_P(UntouchedBytesOfEveryFirmware, SaveChangesNothingOutsideTheAreas)
{
    for (std::uint32_t seed = 0; seed < kCases; ++seed) {
        const PropertyCase c(GetParam(), seed, PropertyCase::Fill::Noise);
        SCOPED_TRACE(c.describe());
        StartedEditor e;
        if (c.koi)
            e.editor.koi8Command();
        ASSERT_EQ(e.open(u"/ff.bin", c.image), Outcome::Done);
        test::typeTexts(e.view, c.edited);
        e.editor.runCommand(c.wap);
        ASSERT_EQ(e.editor.saveFullflashCommand(), Outcome::Done);

        const auto& saved = e.files.files[u"/ff.bin"];
        ASSERT_EQ(saved.size(), c.image.size());
        const std::vector<bool> writable =
            test::writableBytes(c.d, c.d.hasRussian, c.writesWap(), saved.size());
        std::size_t outside = 0, first = 0;
        constexpr std::size_t kChunk = 4096; // only chunks that differ are looked into byte by byte
        for (std::size_t at = 0; at < saved.size(); at += kChunk) {
            const std::size_t n = std::min(kChunk, saved.size() - at);
            if (std::memcmp(saved.data() + at, c.image.data() + at, n) == 0)
                continue;
            for (std::size_t k = at; k < at + n; ++k)
                if (saved[k] != c.image[k] && !writable[k] && outside++ == 0)
                    first = k;
        }
        EXPECT_EQ(outside, 0u) << "the first at 0x" << std::hex << first;
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, UntouchedBytesOfEveryFirmware, ::testing::ValuesIn(supportedFirmware()),
                         test::RowName());

} // namespace
} // namespace klavoset
