// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/TableFinder.h"

#include "image/FirmwareCatalog.h"
#include "image/ImageScan.h"
#include "image/KeyTableRules.h"
#include "image/WapTableSearch.h"

#include <vector>

namespace klavoset {
namespace {

constexpr std::size_t kMaxWapHits = 1 << 16;

// The scan's findings: key tables through their rules, WAP-like pointers kept for later.
class Findings : public ScanSink
{
  public:
    explicit Findings(const ImageBytes& image) : rules(image) {}

    void letterEntry(std::int64_t at) override { rules.tryLetterEntry(at); }
    void wapPointer(std::int64_t at) override
    {
        if (wapHits.size() == kMaxWapHits)
            tooManyWapHits = true;
        else
            wapHits.push_back(at);
    }
    [[nodiscard]] bool stopped() const override { return rules.stopped(); }

    KeyTableRules rules;
    std::vector<std::int64_t> wapHits;
    bool tooManyWapHits = false;
};

// The answer: the one place that fits every rule, with its WAP tables where they are certain; nothing
// when no place fits, when two do, or when the image holds tables the rules cannot tell apart.
std::optional<FirmwareRow> decideKeyTables(const ImageBytes& image, const Findings& findings)
{
    const KeyTableRules& rules = findings.rules;
    if (rules.undecidable() || rules.found().size() != 1)
        return std::nullopt;
    const FoundTables& only = rules.found().front();
    FirmwareRow row = only.row;
    if (!findings.tooManyWapHits)
        findWapTables(image, row, only.correction, findings.wapHits);
    return row;
}

} // namespace

std::optional<FirmwareRow> findKeyTables(std::span<const std::uint8_t> image)
{
    if (image.size() > static_cast<std::size_t>(kLargestImage))
        return std::nullopt;
    const ImageBytes bytes(image);
    Findings findings(bytes);
    scanImage(bytes, findings);
    return decideKeyTables(bytes, findings);
}

} // namespace klavoset
