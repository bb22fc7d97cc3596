// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the bench image and a layout file with a dozen edits: `bench_files DIR` gives DIR/image.bin and
// DIR/edits.lay, the input of the command-line tool whose peak memory scripts/bench.sh measures.
#include "BenchImage.h"
#include "support/LayoutFileBuilder.h"

#include <cstdio>
#include <filesystem>

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
    return 0;
}
