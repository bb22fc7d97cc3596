// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a layout file, opened before any fullflash or over a valid image of one of three kinds,
// then saved; saving what was loaded from a saved file must give the same file again.
#include "FuzzCheck.h"
#include "FuzzEditor.h"
#include "FuzzInput.h"
#include "SyntheticImages.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace klavoset;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    keepFreedFileMemory(fuzz::kKeptImageBlocks);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The editor the file is opened in, by the first byte: before any fullflash, or over a fullflash of
    // the newer generation, the older one, or one whose Russian layouts fail the load's sanity test
    // (all the layout file commands look at). Small images keep the runs fast.
    static fuzz::SyntheticImages images;
    static const std::vector<std::uint8_t> newer = images.of(*findFirmware("S55 v20 lg91"), 0);
    static const std::vector<std::uint8_t> older = images.of(*findFirmware("S45i v4 lg3"), 0);
    static const std::vector<std::uint8_t> noRussian = [] {
        std::vector<std::uint8_t> image = older;
        image[static_cast<std::size_t>(test::descriptorOf("S45i v4 lg3").russianTable) + 1] = 1;
        return image;
    }();
    static const std::vector<std::uint8_t>* const kImages[] = {nullptr, &newer, &older, &noRussian};

    fuzz::FuzzEditor e;
    if (const auto* image = kImages[data[0] % 4]) {
        KLAVOSET_FUZZ_CHECK(e.open(u"/ff.bin", *image) == Outcome::Done);
        KLAVOSET_FUZZ_CHECK(e.editor.hasRussian() == (image != &noRussian));
    }
    e.files.lend(u"/in.lay", {data + 1, size - 1});

    e.view.boxAnswers.assign({AnswerYes}); // a layout file may be opened over unsaved changes
    e.answerDialog(u"/in.lay");
    if (e.editor.openLayoutFileCommand() != Outcome::Done)
        return 0;
    const LayoutTexts loaded = e.texts();

    e.answerDialog(u"/first.lay");
    const Outcome saved = e.editor.saveLayoutFileAsCommand();
    if (saved != Outcome::Done)
        return 0;
    KLAVOSET_FUZZ_CHECK(e.shows(loaded)); // saving changes no field

    e.answerDialog(u"/first.lay");
    KLAVOSET_FUZZ_CHECK(e.editor.openLayoutFileCommand() == Outcome::Done);
    KLAVOSET_FUZZ_CHECK(e.shows(loaded));
    e.answerDialog(u"/second.lay");
    KLAVOSET_FUZZ_CHECK(e.editor.saveLayoutFileAsCommand() == Outcome::Done);
    const auto first = e.files.bytesOf(u"/first.lay"), second = e.files.bytesOf(u"/second.lay");
    KLAVOSET_FUZZ_CHECK(std::equal(first.begin(), first.end(), second.begin(), second.end()));
    return 0;
}
