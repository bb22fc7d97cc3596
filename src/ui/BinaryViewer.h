// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace klavoset {

// Opens a file with the desktop's default program for plain binary data (application/octet-stream),
// found as the desktop's own associations say. That program is never this editor: `selfExecutable`
// and a desktop entry named "klavoset.desktop" count as the editor. Returns false, having started
// nothing, when there is no other such program or it cannot be started. Kept apart from Qt, whose
// keywords clash with GLib's headers.
[[nodiscard]] bool openWithBinaryViewer(const std::string& localPath, const std::string& selfExecutable);

// Whether a desktop program, by its entry's id and its executable, is this editor.
[[nodiscard]] bool isThisEditor(std::string_view desktopId, std::string_view executable,
                                std::string_view selfExecutable);

} // namespace klavoset
