// A valid image of a chosen firmware, loaded; then chosen texts (any code units, any lengths) typed
// into chosen key fields, chosen options, and every save path.
#include "FuzzCheck.h"
#include "FuzzEditor.h"
#include "FuzzInput.h"
#include "SyntheticImages.h"

#include <cstddef>
#include <cstdint>

using namespace klavoset;

namespace {

constexpr std::int32_t kAdrFixes[] = {0, 0x200000, 0x400000, 0};

void chooseWap(fuzz::FuzzEditor& e, int choice)
{
    if (choice == 1)
        e.form.WAP_E_Click();
    else if (choice == 2)
        e.form.WAP_R_Click();
    else
        e.form.WAP_No_Click();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::SyntheticImages images;
    fuzz::FuzzInput in(data, size);
    const auto rows = supportedFirmware();
    const FirmwareRow& row = rows[in.byte() % rows.size()];
    // Options: bit 0 KOI8, bits 1-2 the WAP source, bits 3-4 the address correction of the image.
    const std::uint8_t options = in.byte();
    const bool koi = options & 1;
    const std::int32_t adrFix = kAdrFixes[(options >> 3) & 3];

    fuzz::FuzzEditor e;
    if (koi)
        e.form.Koi_Click();
    const Outcome opened = e.open(u"/ff.bin", images.of(row, adrFix));
    KLAVOSET_FUZZ_CHECK(opened == Outcome::Done); // every valid image loads, whatever its pointers
    const FirmwareDescriptor& d = e.form.fw;
    if (adrFix == 0)
        KLAVOSET_FUZZ_CHECK(e.texts() == test::sampleLayouts(d.NewGen, d.HasRus));

    // Entries: field (modulo 48), length, units; until the input ends.
    while (!in.empty()) {
        const int field = in.byte() % (4 * kKeys);
        const std::size_t length = in.length();
        e.view.type(kAllArrays[field / kKeys], field % kKeys, in.units(length));
    }
    chooseWap(e, (options >> 1) & 3);

    const std::vector<std::uint8_t> before = e.form.Flash;
    e.form.Save1_Click();
    KLAVOSET_FUZZ_CHECK(e.form.Flash.size() == before.size()); // a save never resizes the image
    e.view.dialogAnswers.push_back(u"/ff.vkp");
    e.form.SaveAsVKP_Click();
    KLAVOSET_FUZZ_CHECK(e.form.Flash.size() == before.size());
    e.view.dialogAnswers.push_back(u"/ff.lay");
    e.form.Save2As_Click();
    return 0;
}
