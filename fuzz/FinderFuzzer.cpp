// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any fullflash, described as for the fullflash target: a valid image of any firmware (its strings as a phone
// keeps them or as a save leaves them), or one of 0xFF bytes, of any length, with any bytes written near the
// places the editor reads. Whatever the key-table finder reports must be a row the table could hold, with
// every area inside the image and every key the decoder reads leading to a string close to the tables; an
// untouched image of a firmware is found as its row.
#include "FuzzCheck.h"
#include "ImageEdits.h"
#include "SyntheticImages.h"
#include "image/FirmwareCatalog.h"
#include "image/Identify.h"
#include "image/TableFinder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace klavoset;

namespace {

fuzz::SyntheticImages images;
fuzz::ImageWork work; // the image of the current run

// A key the load decodes: its entry, and the newer generation's key-10 slot that must send the load there.
struct DecodedKey
{
    std::int64_t entry;
    std::int64_t slot;
};

// The keys a load decodes, in its order.
std::vector<DecodedKey> decodedKeys(const FirmwareRow& row)
{
    std::vector<DecodedKey> keys;
    for (int key = 0; key < 12; ++key) {
        if (row.newGeneration && key == 11)
            break;
        for (int layout = 0; layout < (row.hasRussian ? 4 : 2); ++layout) {
            const std::int64_t table = layout < 2 ? row.englishTable : row.russianTable;
            const std::int64_t entry = table + 72 * (layout % 2) + 6 * key;
            const bool key10 = row.newGeneration && key == 10;
            keys.push_back({key10 ? row.key10Entry : entry, key10 ? entry : -1});
        }
    }
    return keys;
}

// Each key's string, read the decoder's way (the correction settled on the first key that needs one, then
// the same for every key), lies inside the image close to the key tables, wherever the strings are kept.
bool keysNearTheirTables(std::span<const std::uint8_t> image, const FirmwareRow& row)
{
    constexpr std::int64_t kNear = 0x2000;
    const auto size = static_cast<std::int64_t>(image.size());
    const auto stringAt = [&](std::int64_t entry, std::int64_t correction) {
        const auto at = [&](std::int64_t i) {
            return std::int64_t{image[static_cast<std::size_t>(entry + i)]};
        };
        return ((at(5) << 8 | at(4)) * 0x4000 + ((at(3) << 8 | at(2)) & 0x3FFF)) - 0x1000000 + size +
               correction;
    };
    std::int64_t correction = 0;
    const std::vector<DecodedKey> keys = decodedKeys(row);
    const auto byte = [&](std::int64_t at) { return image[static_cast<std::size_t>(at)]; };
    for (const DecodedKey& key : keys) {
        if (key.entry < 0 || key.entry + 6 > size || byte(key.entry + 5) >= 0x80)
            return false;
        if (key.slot >= 0 && (key.slot + 6 > size || byte(key.slot) != 0 || byte(key.slot + 2) != 0))
            return false;
        if (stringAt(key.entry, correction) < 0)
            correction = stringAt(key.entry, 0x200000) >= 0 ? 0x200000 : 0x400000;
    }
    for (const DecodedKey& key : keys) {
        const std::int64_t at = stringAt(key.entry, correction);
        const std::int64_t end = at + 2 * std::int64_t{byte(key.entry)};
        if (at < 0 || end > size || at < row.englishTable - kNear || end > row.englishTable + kNear)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::prepareImageRuns(images);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input{data, size};
    const std::span<const std::uint8_t> image = fuzz::ImageEdits::build(input, images, work);
    const std::optional<FirmwareRow> found = findKeyTables(image);

    // An image of a firmware as built, with its pointers written for no correction, is found as its row.
    const auto rows = supportedFirmware();
    const std::size_t base = size > 1 ? data[1] % (rows.size() + 1) : 0;
    const bool untouched = size <= fuzz::ImageEdits::kHeader && size > 5 && base < rows.size() &&
                           fuzz::ImageEdits::kAddressCorrections[data[2] & 3] == 0 && data[3] == 0 &&
                           data[4] == 0 && data[5] == 0;
    if (untouched) {
        KLAVOSET_FUZZ_CHECK(found.has_value());
        const FirmwareRow& row = rows[base];
        KLAVOSET_FUZZ_CHECK(found->newGeneration == row.newGeneration &&
                            found->hasRussian == row.hasRussian && found->englishTable == row.englishTable &&
                            found->russianTable == row.russianTable && found->key10Entry == row.key10Entry);
    }
    if (!found)
        return 0;
    KLAVOSET_FUZZ_CHECK(found->id.empty());
    KLAVOSET_FUZZ_CHECK(!descriptionFault(*found));
    const FirmwareDescriptor d = completeDescriptor(*found);
    KLAVOSET_FUZZ_CHECK(descriptorFitsImage(d, static_cast<std::int32_t>(image.size())));
    KLAVOSET_FUZZ_CHECK(found->wapUpperTable == 0 ? found->wapLowerTable == 0 : d.wapAvailable);
    KLAVOSET_FUZZ_CHECK(keysNearTheirTables(image, *found));
    return 0;
}
