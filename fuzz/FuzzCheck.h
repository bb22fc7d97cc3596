// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdio>
#include <cstdlib>

namespace klavoset::fuzz {

[[noreturn]] inline void checkFailed(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort(); // libFuzzer reports the abort as a crash and keeps the input
}

} // namespace klavoset::fuzz

// An invariant of the editor; a broken one is a finding like a crash.
#define KLAVOSET_FUZZ_CHECK(cond) ((cond) ? void() : ::klavoset::fuzz::checkFailed(#cond, __FILE__, __LINE__))
