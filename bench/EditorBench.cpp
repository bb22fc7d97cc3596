// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Each editor operation beside the plain operation it is measured against, on one 16 MiB image, in one
// run; the ratios of the medians are printed at the end, and the program fails when one misses its limit.
#include "BenchImage.h"
#include "RatioReporter.h"
#include "base/FileSystem.h"
#include "core/Editor.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"
#include "image/FirmwareTable.h"
#include "image/TableFinder.h"
#include "support/EditorFixture.h"
#include "support/ImageBuilder.h"
#include "writers/LayoutWriter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace klavoset::bench {
namespace {

// An editor over the real file layer, as the programs run it, with the bench image loaded.
struct LoadedEditor : test::EditorOn<RealFileSystem>
{
    [[nodiscard]] bool open(const std::filesystem::path& path)
    {
        return editor.openFullflash(path.u16string()).outcome == Outcome::Done;
    }
    void type(const LayoutTexts& texts)
    {
        for (const Layout a : kAllLayouts)
            for (int key = 0; key < kKeys; ++key)
                if (view.field(a, key).enabled)
                    view.type(a, key, texts.at(a, key));
    }
};

struct FreeMemory
{
    void operator()(std::uint8_t* p) const { std::free(p); }
};
using PlainBuffer = std::unique_ptr<std::uint8_t, FreeMemory>;

// The fastest plain way to have a whole file in memory, which the editor's open is measured against: one
// read into a fresh buffer that is not zeroed first, 2 MiB aligned and open to huge pages.
PlainBuffer plainRead(const std::filesystem::path& path)
{
    constexpr std::size_t kAlign = 2 << 20;
    constexpr auto size = static_cast<std::size_t>(kImageSize);
    PlainBuffer bytes(static_cast<std::uint8_t*>(std::aligned_alloc(kAlign, size)));
    ::madvise(bytes.get(), size, MADV_HUGEPAGE);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    const std::size_t got = std::fread(bytes.get(), 1, size, file);
    std::fclose(file);
    benchmark::DoNotOptimize(got);
    return bytes;
}

void ReadFileIntoMemory(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    for (auto _ : state) {
        PlainBuffer bytes = plainRead(image.imagePath);
        benchmark::DoNotOptimize(bytes.get());
    }
}

// Reading the next image while the previous one is still held, as any loader does that keeps the open
// document until the new one is accepted.
void ReadKeepingPrevious(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    PlainBuffer previous;
    for (auto _ : state)
        previous = plainRead(image.imagePath);
}

// The first image of a session: a started editor without an image opens it.
void OpenIdentifyDecode(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    auto e = std::make_unique<LoadedEditor>();
    for (auto _ : state) {
        if (!e->open(image.imagePath))
            return state.SkipWithError("the image does not open");
        state.PauseTiming();
        e = std::make_unique<LoadedEditor>();
        state.ResumeTiming();
    }
}

// A further image: the editor keeps the loaded one until the new one is accepted.
void OpenOverLoadedImage(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    LoadedEditor e;
    for (auto _ : state)
        if (!e.open(image.imagePath))
            return state.SkipWithError("the image does not open");
}

void PlainWriteFlushRename(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    const auto target = image.dir.path / "plain.bin";
    for (auto _ : state)
        plainReplace(target, image.originalBytes);
}

void SafeWrite(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    RealFileSystem files;
    const auto target = (image.dir.path / "safe.bin").u16string();
    for (auto _ : state)
        if (files.writeAtomically(target, image.originalBytes))
            state.SkipWithError("the file layer cannot write");
}

// The editor's whole save: encoding the layouts, then the safe write of the image.
void SafeSave(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    LoadedEditor e;
    if (!e.open(image.imagePath))
        return state.SkipWithError("the image does not open");
    e.view.dialogAnswers.push_back((image.dir.path / "saved.bin").u16string());
    if (e.editor.saveFullflashAsCommand() != Outcome::Done)
        return state.SkipWithError("saving into the fullflash is not available");
    for (auto _ : state)
        if (e.editor.saveFullflashCommand() != Outcome::Done)
            state.SkipWithError("the save failed");
}

// What a patch export has to do at least: keep the blocks of the areas the encoding may change, find the
// changed ones among them with memcmp afterwards, and write their lines the plain way.
void MemcmpAndWriteLines(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    const std::uint8_t* after = image.editedBytes.data();
    const auto target = image.dir.path / "plain.vkp";
    std::vector<std::pair<std::size_t, std::size_t>> blocks; // whole 16-byte blocks of every area
    for (const ImageArea& a : writtenAreas(completeDescriptor(*findFirmware(kFirmware))))
        if (a.size > 0)
            blocks.emplace_back(static_cast<std::size_t>(a.offset) / 16 * 16,
                                (static_cast<std::size_t>(a.offset + a.size) + 15) / 16 * 16);
    std::sort(blocks.begin(), blocks.end());
    static const char* const kHex = "0123456789ABCDEF";
    for (auto _ : state) {
        std::vector<std::vector<std::uint8_t>> kept;
        for (const auto& [from, to] : blocks)
            kept.emplace_back(image.originalBytes.begin() + static_cast<std::ptrdiff_t>(from),
                              image.originalBytes.begin() + static_cast<std::ptrdiff_t>(to));
        std::string text = "; " + std::string(kFirmware) + " - header\r\n; second header line\r\n";
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const std::size_t from = blocks[i].first;
            if (std::memcmp(kept[i].data(), after + from, kept[i].size()) == 0)
                continue;
            for (std::size_t at = from; at < blocks[i].second; at += 16) {
                const std::uint8_t* before = kept[i].data() + (at - from);
                if (std::memcmp(before, after + at, 16) == 0)
                    continue;
                char offset[24];
                std::snprintf(offset, sizeof offset, "%zX: ", at);
                text += offset;
                for (const std::uint8_t* half : {before, after + at}) {
                    for (int k = 0; k < 16; ++k) {
                        text += kHex[half[k] >> 4];
                        text += kHex[half[k] & 15];
                    }
                    text += ' ';
                }
                text.back() = '\r';
                text += '\n';
            }
        }
        plainReplace(target, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
}

// A patch export with a dozen edits: the texts switch between the original and the edited layouts,
// so every export finds the dozen changed blocks.
void VkpExport(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    LoadedEditor e;
    if (!e.open(image.imagePath))
        return state.SkipWithError("the image does not open");
    const auto patch = (image.dir.path / "patch.vkp").u16string();
    e.type(image.edited);
    e.view.dialogAnswers.push_back(patch);
    if (e.editor.savePatchAsCommand() != Outcome::Done)
        return state.SkipWithError("the patch export is not available");
    bool edited = true;
    for (auto _ : state) {
        state.PauseTiming();
        edited = !edited;
        e.type(edited ? image.edited : image.original);
        e.view.dialogAnswers.push_back(patch);
        state.ResumeTiming();
        if (e.editor.savePatchAsCommand() != Outcome::Done)
            return state.SkipWithError("the patch export is not available");
    }
}

// What `cat IMAGE >/dev/null` does, without starting a process: the file read through a 128 KiB buffer.
void CatImage(benchmark::State& state)
{
    const BenchImage& image = BenchImage::get();
    std::vector<char> buffer(128 << 10);
    for (auto _ : state) {
        const int fd = ::open(image.imagePath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return state.SkipWithError("the image cannot be opened");
        while (::read(fd, buffer.data(), buffer.size()) > 0)
            benchmark::DoNotOptimize(buffer.data());
        ::close(fd);
    }
}

void findIn(benchmark::State& state, const std::vector<std::uint8_t>& image)
{
    for (auto _ : state) {
        const auto found = findKeyTables(image);
        if (!found)
            return state.SkipWithError("the key tables are not found");
        benchmark::DoNotOptimize(found->englishTable);
    }
}

// The key-table finder over the bench image in memory (erased bytes around the tables)...
void FindKeyTables(benchmark::State& state) { findIn(state, BenchImage::get().originalBytes); }

// ...and over the same tables, their strings as a phone keeps them, amid 4 KiB blocks of what firmware
// holds (zeros, erased bytes, random bytes, text, small 16-bit numbers), where most probes have to be
// looked at closer.
void FindKeyTablesInMixedBytes(benchmark::State& state)
{
    static const std::vector<std::uint8_t> image = [] {
        test::ImageBuilder builder(kImageSize);
        std::mt19937 random(1);
        std::vector<std::uint8_t>& bytes = builder.raw();
        for (std::size_t block = 0; block < bytes.size(); block += 4096) {
            const auto kind = random() % 5;
            for (std::size_t i = block; i < block + 4096; ++i) {
                const auto r = static_cast<std::uint8_t>(random());
                bytes[i] = kind == 0    ? 0
                           : kind == 1  ? 0xFF
                           : kind == 2  ? r
                           : kind == 3  ? static_cast<std::uint8_t>(0x20 + r % 95)
                           : i % 2 == 0 ? r % 8
                                        : 0;
            }
        }
        return builder.identityOf(kFirmware)
            .firmwareLayouts(test::descriptorOf(kFirmware), originalLayouts())
            .build();
    }();
    findIn(state, image);
}

constexpr double kMinTime = 0.5;
BENCHMARK(ReadFileIntoMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(OpenIdentifyDecode)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(ReadKeepingPrevious)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(OpenOverLoadedImage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(PlainWriteFlushRename)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(SafeWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(SafeSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(MemcmpAndWriteLines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(VkpExport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(CatImage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(FindKeyTables)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);
BENCHMARK(FindKeyTablesInMixedBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinTime);

} // namespace
} // namespace klavoset::bench

int main(int argc, char** argv)
{
    using klavoset::bench::RatioReporter;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = reporter.printRatios(
        {
            {"open + identify + decode / read the file into memory", "OpenIdentifyDecode",
             "ReadFileIntoMemory", 1.3},
            {"open over a loaded image / read keeping the previous one", "OpenOverLoadedImage",
             "ReadKeepingPrevious", 1.3},
            {"safe write of the file layer / plain write+flush+rename", "SafeWrite", "PlainWriteFlushRename",
             1.5},
            {"safe save (encode + write) / plain write+flush+rename", "SafeSave", "PlainWriteFlushRename",
             1.5},
            {"patch export, 12 edits / memcmp of the areas + the lines", "VkpExport", "MemcmpAndWriteLines",
             2.0},
            {"key-table finder / cat IMAGE >/dev/null", "FindKeyTables", "CatImage", 5.0},
            {"key-table finder in mixed bytes / cat IMAGE >/dev/null", "FindKeyTablesInMixedBytes",
             "CatImage", 5.0},
        },
        std::cout);
    benchmark::Shutdown();
    return met ? 0 : 1;
}
