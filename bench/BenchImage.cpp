// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BenchImage.h"

#include "support/ImageBuilder.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace klavoset::bench {

LayoutTexts originalLayouts()
{
    const FirmwareDescriptor d = test::descriptorOf(kFirmware);
    return test::sampleLayouts(d.newGeneration, d.hasRussian);
}

LayoutTexts editedLayouts()
{
    LayoutTexts edited = originalLayouts();
    int changed = 0; // a dozen characters, each in a key of its own
    for (const Layout a : kAllLayouts)
        for (int key = 2; key <= 9 && changed < 12; key += 2, ++changed)
            edited.at(a, key).front() = u'#';
    return edited;
}

std::vector<std::uint8_t> imageWith(const LayoutTexts& texts)
{
    return test::ImageBuilder(kImageSize)
        .identityOf(kFirmware)
        .layouts(test::descriptorOf(kFirmware), texts)
        .build();
}

BenchImage::BenchImage()
    : original(originalLayouts()), edited(editedLayouts()), originalBytes(imageWith(original)),
      editedBytes(imageWith(edited))
{
    imagePath = dir.path / "image.bin";
    test::writeBytes(imagePath, originalBytes);
}

const BenchImage& BenchImage::get()
{
    static const BenchImage image;
    return image;
}

void plainReplace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    std::FILE* file = std::fopen(tmp.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fflush(file) != 0 || ::fsync(fileno(file)) != 0 || std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + tmp.string());
    std::filesystem::rename(tmp, path);
}

} // namespace klavoset::bench
