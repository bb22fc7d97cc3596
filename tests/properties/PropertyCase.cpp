// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PropertyCase.h"

#include "support/ImageBuilder.h"
#include "support/ImageSizes.h"

#include <cstdio>
#include <sstream>

namespace klavoset::test {

PropertyCase::PropertyCase(const FirmwareRow& row, std::uint32_t s, Fill fill)
    : d(completeDescriptor(row)), seed(s), random(s * 2654435761u + 1)
{
    // Sizes: the smallest the firmware allows, a whole 16 MiB image, or a short image whose pointers
    // need the address correction (where the shared storage lies low enough for the load to settle it).
    size = smallestImageSize(d);
    const int kind = random.below(10);
    if (kind < 1) {
        size = 0x1000000;
    } else if (kind < 4 && d.sharedStorage < 0x200000 && size <= 0x400000) {
        size = size <= 0x200000 && random.chance(50) ? 0x200000 : 0x400000;
        correction = random.chance(50) ? 0x200000 : 0x400000;
    }
    koi = random.chance(30);
    loaded = random.fitting(d, d.hasRussian, koi);
    edited = random.fitting(d, d.hasRussian, koi);

    // A WAP copy only where the firmware has usable tables and room for the strings.
    const bool english = d.wapAvailable && RandomLayouts::wapBytes(edited, Layout::englishUpper,
                                                                   Layout::englishLower) <= d.wapCapacity;
    const bool russian =
        d.wapAvailable && d.hasRussian &&
        RandomLayouts::wapBytes(edited, Layout::russianUpper, Layout::russianLower) <= d.wapCapacity;
    const int w = random.below(3);
    wap = w == 1 && english ? "WAP_E" : w == 2 && russian ? "WAP_R" : "WAP_No";

    ImageBuilder builder(size);
    if (fill == Fill::Noise) {
        std::uint64_t x = random.engine()(); // splitmix64: eight random bytes a step, for 16 MiB fast
        for (std::size_t at = 0; at < builder.raw().size(); at += 8) {
            std::uint64_t z = (x += 0x9E3779B97F4A7C15u);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
            z ^= z >> 31;
            for (std::size_t k = 0; k < 8 && at + k < builder.raw().size(); ++k)
                builder.raw()[at + k] = static_cast<std::uint8_t>(z >> (8 * k));
        }
    }
    image = builder.identityOf(row.id).layouts(d, loaded, correction).build();
}

std::string PropertyCase::describe() const
{
    std::ostringstream s;
    s << d.id << ", seed " << seed << ", size 0x" << std::hex << size << ", address correction 0x"
      << correction << std::dec << (koi ? ", KOI8" : ", Unicode") << ", " << wap;
    return s.str();
}

namespace {

// Printable ASCII as it is, every other code unit as <XXXX>, so that controls and lone surrogates show.
std::string units(const std::u16string& text)
{
    std::string s = "\"";
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            s += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%04X>", static_cast<unsigned>(c));
            s += hex;
        }
    }
    return s + '"';
}

} // namespace

std::string firstDifference(const LayoutTexts& got, const LayoutTexts& want)
{
    static const char* const kNames[] = {"eb", "em", "rb", "rm"};
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            if (got.at(a, key) != want.at(a, key))
                return std::string(kNames[static_cast<int>(a)]) + " key " + std::to_string(key) + ": " +
                       units(got.at(a, key)) + " instead of " + units(want.at(a, key));
    return {};
}

void typeTexts(MemoryView& view, const LayoutTexts& texts)
{
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            if (view.fieldText(a, key) != texts.at(a, key))
                view.type(a, key, texts.at(a, key));
}

} // namespace klavoset::test
