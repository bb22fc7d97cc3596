// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the bench image and a layout file with a dozen edits: `bench_files DIR` gives DIR/image.bin and
// DIR/edits.lay, the input of the command-line tool whose peak memory scripts/bench.sh measures; and two
// data folders to start the programs with, DIR/many-descriptions holding 20,000 firmware descriptions and
// DIR/no-descriptions none.
#include "BenchImage.h"
#include "descriptions/DescriptionFolder.h"
#include "support/LayoutFileBuilder.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    using namespace klavoset;
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_files DIR\n");
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    test::writeBytes(dir / "image.bin", bench::imageWith(bench::originalLayouts()));
    test::writeBytes(dir / "edits.lay",
                     test::LayoutFileBuilder().layouts(bench::editedLayouts(), true).build());

    // Unlisted versions of the bench image's firmware, each in the file named after it.
    const auto folder = dir / "many-descriptions" / "klavoset" / "firmware";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(dir / "no-descriptions");
    const FirmwareRow row = *findFirmware("C55 v24 lg91");
    for (int i = 0; i < 20000; ++i) {
        const std::string id = "D" + std::to_string(i) + " v01 lg1";
        const std::string text = descriptionText(id, row);
        test::writeBytes(folder / descriptionFileName(id), {text.begin(), text.end()});
    }
    return 0;
}
