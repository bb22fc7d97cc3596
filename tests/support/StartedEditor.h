// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/EditorFixture.h"
#include "support/ImageBuilder.h"
#include "support/MemoryFileSystem.h"

namespace klavoset::test {

// A started editor over an in-memory window and in-memory files.
struct StartedEditor : EditorOn<MemoryFileSystem>
{
    // Puts the image under `path` and opens it through the menu command.
    Outcome open(const std::u16string& path, std::vector<std::uint8_t> image)
    {
        files.files[path] = std::move(image);
        view.dialogAnswers.push_back(path);
        return editor.openFullflashCommand();
    }
    [[nodiscard]] std::u16string text(Layout a, int key) const { return view.fieldText(a, key); }
    [[nodiscard]] LayoutTexts texts() const { return snapshotFields(view); }
};

} // namespace klavoset::test
