// Any bytes as a fullflash: the open command reads, identifies and decodes them and counts the budget;
// an image it accepts then goes through every save path.
#include "FuzzCheck.h"
#include "FuzzEditor.h"

#include <cstddef>
#include <cstdint>

using namespace klavoset;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzEditor e;
    // The options come from the image's first byte, so that one input always runs the same way.
    const std::uint8_t options = size > 0 ? data[0] : 0;
    if (options & 1)
        e.form.Koi_Click();

    const Outcome opened = e.open(u"/ff.bin", {data, size});
    if (opened != Outcome::Done) {
        KLAVOSET_FUZZ_CHECK(e.form.FlashFile.empty()); // a refused image never becomes the loaded one
        return 0;
    }
    KLAVOSET_FUZZ_CHECK(e.form.Flash.size() == (size == 0 ? 1 : size));
    KLAVOSET_FUZZ_CHECK(e.view.panelText(6).empty());
    return 0;
}
