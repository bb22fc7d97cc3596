// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Editor.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"

namespace klavoset::test {

// A started editor over an in-memory window and no outside programs, working on the files of `Files`:
// the tests' in-memory ones, the fuzzers' lent ones or the real ones of the benchmark.
template <class Files> struct EditorOn
{
    MemoryView view;
    Files files;
    NoSystemServices system;
    Editor editor{view, files, system};

    EditorOn() { editor.start(); }
    EditorOn(const EditorOn&) = delete;
    EditorOn& operator=(const EditorOn&) = delete;
};

} // namespace klavoset::test
