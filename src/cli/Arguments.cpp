// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/Arguments.h"

#include <algorithm>

namespace klavoset::cli {

bool Arguments::flag(std::string_view name)
{
    const auto it = std::find(m_args.begin(), m_args.end(), name);
    if (it == m_args.end())
        return false;
    m_args.erase(it);
    return true;
}

std::optional<std::string> Arguments::option(std::string_view name)
{
    const auto it = std::find(m_args.begin(), m_args.end(), name);
    if (it == m_args.end())
        return std::nullopt;
    if (it + 1 == m_args.end()) {
        m_missingValue = true;
        m_args.erase(it);
        return std::nullopt;
    }
    std::string value = *(it + 1);
    m_args.erase(it, it + 2);
    return value;
}

bool Arguments::hasUnknownOption() const
{
    return std::any_of(m_args.begin(), m_args.end(),
                       [](const std::string& a) { return a.size() > 1 && a[0] == '-'; });
}

} // namespace klavoset::cli
