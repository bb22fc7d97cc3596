// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "image/FirmwareTable.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace klavoset {

// The largest image a description may place its areas in: well past any of these phones' flash.
inline constexpr std::int32_t kLargestImage = 0x4000000;

// Why a firmware description cannot be used, or nothing when it can: every area its descriptor locates
// must lie within kLargestImage, apart from the others and from the identity blocks, and its WAP tables,
// when it gives them, must be usable.
[[nodiscard]] std::optional<std::string> descriptionFault(const FirmwareRow& row);

// The firmware the editor can load: the built-in table, then the descriptions kept beside it (found in an
// image, or written by hand). The table wins over a description of the same identity string.
class FirmwareCatalog
{
  public:
    struct Description
    {
        std::string id;
        FirmwareRow row; // its id views the string above
    };

    FirmwareCatalog() = default;
    FirmwareCatalog(const FirmwareCatalog& other) { *this = other; }
    FirmwareCatalog& operator=(const FirmwareCatalog& other);

    // Adds or replaces the description of `id`. Refused, with the reason, when the table has `id` or the
    // row fails descriptionFault.
    std::optional<std::string> add(std::string id, const FirmwareRow& row);

    // The table's row of `id`, else the description's, else nothing. Valid until the next add.
    [[nodiscard]] const FirmwareRow* find(std::string_view id) const;
    [[nodiscard]] const std::deque<Description>& descriptions() const;

    // Descriptions read only when first wanted: `read` adds them, once, before the first look at a firmware
    // the table lacks, at the descriptions, or the first add. An image of the table's firmware then never
    // waits for thousands of them.
    void deferDescriptions(std::function<void(FirmwareCatalog&)> read) { m_deferred = std::move(read); }

  private:
    void readDeferred() const;

    mutable std::function<void(FirmwareCatalog&)> m_deferred;
    std::deque<Description> m_descriptions; // a deque: rows keep their address as more are added
    std::map<std::string, std::size_t, std::less<>> m_byId; // their places, so thousands load in n log n
};

} // namespace klavoset
