// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/DemoImage.h"

#include "core/WindowDesign.h"
#include "image/FirmwareTable.h"
#include "image/Identify.h"
#include "writers/LayoutWriter.h"

#include <charconv>

namespace klavoset {
namespace {

using R = Result<std::vector<std::uint8_t>, std::string>;

// Model, version byte and language of an identity string "C55 v24 lg91".
struct IdentityParts
{
    std::string_view model;
    std::uint8_t version = 0;
    std::string_view language;
};

bool splitIdentity(std::string_view id, IdentityParts& parts)
{
    const auto v = id.find(" v");
    const auto blank = v == std::string_view::npos ? v : id.find(' ', v + 2);
    if (blank == std::string_view::npos)
        return false;
    unsigned version = 0;
    const auto [end, ec] = std::from_chars(id.data() + v + 2, id.data() + blank, version, 16);
    if (ec != std::errc() || end != id.data() + blank || version > 0xFF)
        return false;
    parts = {id.substr(0, v), static_cast<std::uint8_t>(version), id.substr(blank + 1)};
    return true;
}

void putString(std::vector<std::uint8_t>& image, std::int32_t at, std::string_view text)
{
    for (const char c : text)
        image[static_cast<std::size_t>(at++)] = static_cast<std::uint8_t>(c);
    image[static_cast<std::size_t>(at)] = 0;
}

LayoutTexts demoTexts(const FirmwareDescriptor& d)
{
    LayoutTexts t;
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key) {
            const bool russian = a == Layout::russianUpper || a == Layout::russianLower;
            if ((d.newGeneration && key == 11) || (russian && !d.hasRussian))
                continue;
            t.at(a, key) = std::u16string(design::sampleText(a, key));
        }
    return t;
}

} // namespace

R makeDemoImage(std::string_view fwId, std::int32_t size)
{
    const FirmwareRow* row = findFirmware(fwId);
    IdentityParts parts;
    if (row == nullptr || !splitIdentity(row->id, parts))
        return R::fail("unknown firmware: " + std::string(fwId));
    const FirmwareDescriptor d = completeDescriptor(*row);
    const std::int32_t probe = kProbes[0];
    const std::int32_t identityEnd = probe + 8; // "SIEMENS" and its terminator
    if (size < identityEnd || !descriptorFitsImage(d, size))
        return R::fail("an image of " + std::to_string(size) + " bytes is too small for " + d.id);

    std::vector<std::uint8_t> image(static_cast<std::size_t>(size), 0xFF);
    const std::int32_t base = probe - 0x80;
    image[static_cast<std::size_t>(base + 0x50)] = parts.version;
    putString(image, base + 0x60, parts.language);
    putString(image, base + 0x70, parts.model);
    putString(image, probe, "SIEMENS");

    // Newer firmware keeps key 10 in its own entry; the tables' key-10 slots hold zeros, which is what
    // sends the reader there.
    if (d.newGeneration)
        for (const std::int32_t table :
             {d.englishTable, d.englishTable + 72, d.russianTable, d.russianTable + 72})
            for (std::int32_t k = 0; k < kEntryBytes; ++k)
                image[static_cast<std::size_t>(table + 60 + k)] = 0;

    WriteOptions options;
    options.wap = d.wapAvailable ? WapSource::English : WapSource::Untouched;
    if (writeLayouts(image, d, d.hasRussian, 0, demoTexts(d), options))
        return R::fail("the layouts of " + d.id + " cannot be mapped into an image of " +
                       std::to_string(size) + " bytes");
    return R::ok(std::move(image));
}

} // namespace klavoset
