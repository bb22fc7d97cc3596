// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FuzzFiles.h"
#include "support/EditorFixture.h"

#include <cstddef>

namespace klavoset::fuzz {

// Freed image buffers kept for reuse: enough for the editors of a run over images of every size class,
// so that the runs do not map and fault in fresh memory for every image they open.
constexpr std::size_t kKeptImageBlocks = 16;

// A started editor over an in-memory window and the fuzzers' in-memory files.
struct FuzzEditor : test::EditorOn<FuzzFiles>
{
    // The next file dialog chooses `path`; an answer a refused command left unused is dropped first.
    void answerDialog(const std::u16string& path) { view.dialogAnswers.assign({path}); }

    // Opens the image lent under `path` through the menu command, discarding unsaved changes if asked.
    Outcome open(const std::u16string& path, std::span<const std::uint8_t> image)
    {
        files.lend(path, image);
        view.boxAnswers.assign({AnswerYes});
        answerDialog(path);
        const Outcome outcome = editor.openFullflashCommand();
        view.boxAnswers.clear();
        return outcome;
    }
    [[nodiscard]] LayoutTexts texts() const { return snapshotFields(view); }
    // Whether the fields hold `texts`, compared in place: a snapshot copies 48 strings.
    [[nodiscard]] bool shows(const LayoutTexts& texts)
    {
        for (const Layout a : kAllLayouts)
            for (int key = 0; key < kKeys; ++key)
                if (view.field(a, key).text != texts.at(a, key))
                    return false;
        return true;
    }
};

} // namespace klavoset::fuzz
