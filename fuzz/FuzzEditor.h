#pragma once

#include "FuzzFiles.h"
#include "core/Form1.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"

namespace klavoset::fuzz {

// A started editor over an in-memory window and the fuzzers' in-memory files.
struct FuzzEditor
{
    MemoryView view;
    FuzzFiles files;
    NoSystemServices system;
    Form1 form{view, files, system};

    FuzzEditor() { form.Form_Activate(); }

    // Opens the image lent under `path` through the menu command.
    Outcome open(const std::u16string& path, std::span<const std::uint8_t> image)
    {
        files.lend(path, image);
        view.boxAnswers.push_back(AnswerYes); // discard unsaved changes, if asked
        view.dialogAnswers.push_back(path);
        return form.Open1_Click();
    }
    [[nodiscard]] LayoutTexts texts() const { return snapshotFields(view); }
};

} // namespace klavoset::fuzz
