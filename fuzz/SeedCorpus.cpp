// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the seed corpora of the fuzz targets, all built in memory: `fuzz_seeds DIR` fills DIR/fullflash,
// DIR/layoutfile, DIR/fieldtexts and DIR/finder. Nothing binary is kept in the repository.
#include "ImageEdits.h"
#include "SyntheticImages.h"
#include "image/Identify.h"
#include "support/ImageBuilder.h"
#include "support/ImageSizes.h"
#include "support/LayoutFileBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using namespace klavoset;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put(const fs::path& dir, const std::string& name, const Bytes& bytes)
{
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string fileName(std::string_view id)
{
    std::string name;
    for (const char c : id)
        name += c == ' ' ? '_' : c;
    return name;
}

std::uint8_t rowIndex(std::string_view id)
{
    const auto rows = supportedFirmware();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return static_cast<std::uint8_t>(i);
    return 0;
}

void fullflashSeeds(const fs::path& dir)
{
    // Every firmware's image as it is, as a save leaves it and as a phone keeps it, with the options
    // cycling as in the field-texts seeds.
    fuzz::SyntheticImages images;
    const auto rows = supportedFirmware();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto options = static_cast<std::uint8_t>((i & 1) | ((i % 3) << 1));
        put(dir, fileName(rows[i].id),
            fuzz::ImageEdits::describe(options, i, 0, images.of(rows[i], 0), images));
        put(dir, fileName(rows[i].id) + "_phone",
            fuzz::ImageEdits::describe(options, i, fuzz::ImageEdits::kPhoneKept, images.of(rows[i], 0, true),
                                       images));
    }
    // The identity at a later probe, pointers that need the address correction, and refusals.
    const std::uint8_t s45i = rowIndex("S45i v4 lg3"), c55 = rowIndex("C55 v24 lg91");
    const FirmwareDescriptor s45 = test::descriptorOf("S45i v4 lg3");
    const LayoutTexts texts = test::sampleLayouts(false, true);
    put(dir, "later_probe",
        fuzz::ImageEdits::describe(
            0, s45i, 0,
            test::ImageBuilder(0x280000).identityOf("S45i v4 lg3", kProbes[1]).layouts(s45, texts).build(),
            images));
    put(dir, "adrfix", fuzz::ImageEdits::describe(0, s45i, 2, images.of(rows[s45i], 0x400000), images));
    const std::size_t blank = rows.size();
    put(dir, "unknown",
        fuzz::ImageEdits::describe(
            0, blank, 0, test::ImageBuilder(0x80000).identity("S45i", 0x99, "lg3").build(), images));
    const auto& c55Image = images.of(rows[c55], 0);
    put(dir, "too_short", fuzz::ImageEdits::describe(0, c55, 0, std::span(c55Image).first(0x7FF90), images));
    put(dir, "tiny", fuzz::ImageEdits::describe(0, blank, 0, Bytes{0}, images));
}

Bytes prefixed(std::initializer_list<std::uint8_t> head, const Bytes& rest)
{
    Bytes bytes(head);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

void layoutFileSeeds(const fs::path& dir)
{
    // First byte: 0 no fullflash, 1 newer generation, 2 older, 3 without Russian layouts.
    using test::LayoutFileBuilder;
    const LayoutTexts t = test::sampleLayouts(false, true);
    const Bytes four = LayoutFileBuilder().layouts(t, true).build();
    put(dir, "no_image", prefixed({0}, four));
    put(dir, "newer", prefixed({1}, four));
    put(dir, "older", prefixed({2}, four));
    put(dir, "no_russian", prefixed({3}, LayoutFileBuilder().layouts(t, false).build()));
    put(dir, "empty_fields", prefixed({0}, LayoutFileBuilder().layouts(LayoutTexts{}, true).build()));
    put(dir, "odd_cr_lf",
        prefixed({0}, LayoutFileBuilder()
                          .line(u"a\rb\nc\t\t\t\t\t\t\t\t\t\t\t\t\td")
                          .line(u"\r")
                          .line(u"x\r")
                          .build()));
    put(dir, "odd_length", prefixed({0}, LayoutFileBuilder().line(u"abc").bytes({0x41}).build()));
    put(dir, "empty", Bytes{0});
}

// An entry of the field-texts target: field, length, units.
void entry(Bytes& bytes, int field, const std::u16string& text)
{
    bytes.push_back(static_cast<std::uint8_t>(field));
    std::size_t n = text.size();
    bytes.push_back(static_cast<std::uint8_t>(n >= 255 ? 255 : n));
    if (n >= 255)
        bytes.push_back(static_cast<std::uint8_t>(n - 255));
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

void fieldTextsSeeds(const fs::path& dir)
{
    const auto rows = supportedFirmware();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FirmwareDescriptor d = completeDescriptor(rows[i]);
        // Options: KOI8 on odd rows, the WAP source cycling through no, English and Russian.
        const auto options = static_cast<std::uint8_t>((i & 1) | ((i % 3) << 1));
        Bytes bytes{static_cast<std::uint8_t>(i), options};
        const LayoutTexts t = test::sampleLayouts(d.newGeneration, d.hasRussian);
        entry(bytes, 2, t.at(Layout::englishUpper, 2) + u"ЯяЁё");
        entry(bytes, kKeys + 3, u"\x7F" + t.at(Layout::englishLower, 3));
        entry(bytes, 2 * kKeys + 4, u"ЖЗИЙ€");
        entry(bytes, 0, u"");
        put(dir, fileName(rows[i].id), bytes);
    }
    const std::uint8_t c55 = rowIndex("C55 v24 lg91");
    Bytes overflow{c55, 0};
    entry(overflow, 5, std::u16string(300, u'x'));
    put(dir, "overflow", overflow);
    Bytes unstorable{c55, 0};
    entry(unstorable, 6, u"a\xD800\xFFFF");
    put(dir, "unstorable", unstorable);
    Bytes correction{rowIndex("S45i v4 lg3"), 1 << 3};
    entry(correction, 7, u"pqr");
    put(dir, "adrfix", correction);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 1;
    }
    const fs::path root = argv[1];
    fullflashSeeds(root / "fullflash");
    layoutFileSeeds(root / "layoutfile");
    fieldTextsSeeds(root / "fieldtexts");
    fullflashSeeds(root / "finder"); // the finder takes the same descriptions of images
    return 0;
}
