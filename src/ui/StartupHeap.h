// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace klavoset {

// Grows the heap once, before Qt starts, into memory the kernel may back with 2 MiB pages, and lets the
// large blocks of start-up (the window's backing store, images) come from it. The first frame writes a
// few MiB of fresh memory; faulting that in 4 KiB at a time costs more than drawing it where page faults
// are dear (virtual machines). Linux with glibc only; elsewhere it does nothing.
void prepareStartupHeap();

} // namespace klavoset
