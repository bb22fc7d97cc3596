// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/VkpApplier.h"

#include <vector>

namespace klavoset::test {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F') // the writer uses upper case only
        return c - 'A' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> hexBytes(std::string_view hex)
{
    if (hex.empty() || hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

} // namespace

std::optional<std::string> applyVkp(std::string_view text, std::span<std::uint8_t> image)
{
    int number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos)
            return "line " + std::to_string(number) + " does not end with CR LF";
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line.starts_with(';'))
            continue;

        const auto colon = line.find(": ");
        const auto space = line.find(' ', colon + 2);
        if (colon == std::string_view::npos || colon == 0 || space == std::string_view::npos)
            return where + "not OFFSET: OLD NEW";
        std::uint64_t offset = 0;
        for (const char c : line.substr(0, colon)) {
            const int d = hexDigit(c);
            if (d < 0 || offset > 0xFFFFFFFFu)
                return where + "bad offset";
            offset = offset * 16 + static_cast<std::uint64_t>(d);
        }
        const auto before = hexBytes(line.substr(colon + 2, space - colon - 2));
        const auto after = hexBytes(line.substr(space + 1));
        if (!before || !after || before->size() != after->size())
            return where + "the old and the new bytes are not two hex strings of one length";
        if (offset + before->size() > image.size())
            return where + "reaches past the end of the image";
        for (std::size_t i = 0; i < before->size(); ++i)
            if (image[offset + i] != (*before)[i])
                return where + "the old bytes are not those of the image";
        for (std::size_t i = 0; i < after->size(); ++i)
            image[offset + i] = (*after)[i];
    }
    return std::nullopt;
}

} // namespace klavoset::test
