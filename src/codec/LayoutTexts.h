#pragma once

#include "core/EditorView.h"

#include <array>
#include <string>

namespace klavoset {

// A snapshot of the 48 key fields, for the writers, which must not read the window while they work.
struct LayoutTexts
{
    std::array<std::array<std::u16string, kKeys>, 4> keys;

    [[nodiscard]] const std::u16string& at(KeyArray a, int key) const
    {
        return keys[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)];
    }
    [[nodiscard]] std::u16string& at(KeyArray a, int key)
    {
        return keys[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)];
    }
    bool operator==(const LayoutTexts&) const = default;
};

[[nodiscard]] inline LayoutTexts snapshotFields(const EditorView& view)
{
    LayoutTexts t;
    for (const KeyArray a : kAllArrays)
        for (int key = 0; key < kKeys; ++key)
            t.at(a, key) = view.fieldText(a, key);
    return t;
}

} // namespace klavoset
