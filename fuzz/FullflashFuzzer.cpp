// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any fullflash: a valid image of any firmware, or one of 0xFF bytes, of any length, with any bytes
// written near the places the editor reads. The open command reads, identifies and decodes it and counts
// the budget; an image it accepts then goes through every save path.
#include "FuzzCheck.h"
#include "FuzzEditor.h"
#include "ImageEdits.h"
#include "SaveChecks.h"
#include "SyntheticImages.h"

#include <cstddef>
#include <cstdint>

using namespace klavoset;

namespace {

fuzz::SyntheticImages images;
fuzz::ImageWork work; // the image of the current run

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::prepareImageRuns(images);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> image = fuzz::ImageEdits::build({data, size}, images, work);
    fuzz::FuzzEditor e;
    // The options come from the input's first byte, so that one input always runs the same way.
    const std::uint8_t options = size > 0 ? data[0] : 0;
    if (options & 1)
        e.editor.koi8Command();

    const Outcome opened = e.open(u"/ff.bin", image);
    if (opened != Outcome::Done) {
        KLAVOSET_FUZZ_CHECK(e.editor.fullflashPath().empty()); // a refused image never becomes the loaded one
        return 0;
    }
    KLAVOSET_FUZZ_CHECK(e.editor.image().size() == image.size());
    KLAVOSET_FUZZ_CHECK(e.view.panelText(6).empty());
    const int wap = (options >> 1) & 3; // a WAP copy the firmware may not have room or tables for
    if (wap == 1)
        e.editor.wapFromEnglishCommand();
    else if (wap == 2)
        e.editor.wapFromRussianCommand();
    fuzz::checkEverySave(e, image);
    return 0;
}
