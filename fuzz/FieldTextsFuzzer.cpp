// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A valid image of a chosen firmware, loaded; then chosen texts (any code units, any lengths) typed
// into chosen key fields, chosen options, and every save path.
#include "FuzzCheck.h"
#include "FuzzEditor.h"
#include "FuzzInput.h"
#include "ImageEdits.h"
#include "SaveChecks.h"
#include "SyntheticImages.h"

#include <cstddef>
#include <cstdint>

using namespace klavoset;

namespace {

void chooseWap(fuzz::FuzzEditor& e, int choice)
{
    if (choice == 1)
        e.editor.wapFromEnglishCommand();
    else if (choice == 2)
        e.editor.wapFromRussianCommand();
    else
        e.editor.wapUntouchedCommand();
}

fuzz::SyntheticImages images;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::prepareImageRuns(images);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const auto rows = supportedFirmware();
    const FirmwareRow& row = rows[in.byte() % rows.size()];
    // Options: bit 0 KOI8, bits 1-2 the WAP source, bits 3-4 the address correction of the image.
    const std::uint8_t options = in.byte();
    const bool koi = options & 1;
    const std::int32_t correction = fuzz::ImageEdits::kAddressCorrections[(options >> 3) & 3];

    fuzz::FuzzEditor e;
    if (koi)
        e.editor.koi8Command();
    const std::vector<std::uint8_t>& image = images.of(row, correction);
    const Outcome opened = e.open(u"/ff.bin", image);
    KLAVOSET_FUZZ_CHECK(opened == Outcome::Done); // every valid image loads, whatever its pointers
    const FirmwareDescriptor& d = e.editor.firmware();
    if (correction == 0)
        KLAVOSET_FUZZ_CHECK(e.shows(test::sampleLayouts(d.newGeneration, d.hasRussian)));

    // Entries: field (modulo 48), length, units; until the input ends.
    while (!in.empty()) {
        const int field = in.byte() % (4 * kKeys);
        const std::size_t length = in.length();
        e.view.type(kAllLayouts[field / kKeys], field % kKeys, in.units(length));
    }
    chooseWap(e, (options >> 1) & 3);

    fuzz::checkEverySave(e, image);
    return 0;
}
