// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/VkpApplier.h"

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

std::optional<std::string> readVkp(std::string_view text, std::vector<VkpLine>& lines)
{
    lines.clear();
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
        auto before = hexBytes(line.substr(colon + 2, space - colon - 2));
        auto after = hexBytes(line.substr(space + 1));
        if (!before || !after || before->size() != after->size())
            return where + "the old and the new bytes are not two hex strings of one length";
        lines.push_back({number, offset, std::move(*before), std::move(*after)});
    }
    return std::nullopt;
}

std::optional<std::string> applyVkpLines(std::span<const VkpLine> lines, std::span<std::uint8_t> image,
                                         bool undo)
{
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const VkpLine& line = lines[undo ? lines.size() - 1 - n : n];
        // Written only for a line that fails: the fuzz targets apply every patch they save.
        const auto where = [&line] { return "line " + std::to_string(line.number) + ": "; };
        const std::vector<std::uint8_t>& found = undo ? line.after : line.before;
        const std::vector<std::uint8_t>& put = undo ? line.before : line.after;
        if (line.offset + found.size() > image.size())
            return where() + "reaches past the end of the image";
        for (std::size_t i = 0; i < found.size(); ++i)
            if (image[line.offset + i] != found[i])
                return where() + (undo ? "the new bytes are not those of the image"
                                       : "the old bytes are not those of the image");
        for (std::size_t i = 0; i < put.size(); ++i)
            image[line.offset + i] = put[i];
    }
    return std::nullopt;
}

std::optional<std::string> applyVkp(std::string_view text, std::span<std::uint8_t> image)
{
    std::vector<VkpLine> lines;
    if (auto problem = readVkp(text, lines))
        return problem;
    return applyVkpLines(lines, image);
}

} // namespace klavoset::test
