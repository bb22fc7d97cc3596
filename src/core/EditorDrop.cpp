// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

namespace klavoset {

namespace {

enum class DroppedKind { Other, Fullflash, Layout };

DroppedKind kindOf(const std::u16string& path)
{
    const std::size_t name = path.find_last_of(u"/\\");
    const std::size_t dot = path.find_last_of(u'.');
    if (dot == std::u16string::npos || (name != std::u16string::npos && dot < name))
        return DroppedKind::Other;
    std::u16string ext = path.substr(dot + 1);
    for (char16_t& c : ext)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    if (ext == u"bin" || ext == u"fls")
        return DroppedKind::Fullflash;
    if (ext == u"lay")
        return DroppedKind::Layout;
    return DroppedKind::Other;
}

} // namespace

bool Editor::canOpenDropped(const std::u16string& path) { return kindOf(path) != DroppedKind::Other; }

bool Editor::namesLayoutFile(const std::u16string& path) { return kindOf(path) == DroppedKind::Layout; }

Outcome Editor::openDropped(const std::u16string& path)
{
    const DroppedKind kind = kindOf(path);
    if (kind == DroppedKind::Other)
        return Outcome::Declined;
    if (userKeepsChanges())
        return Outcome::Declined;
    return (kind == DroppedKind::Fullflash ? openFullflash(path) : openLayoutFile(path)).outcome;
}

} // namespace klavoset
