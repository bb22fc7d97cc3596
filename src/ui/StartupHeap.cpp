// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/StartupHeap.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace klavoset {

void prepareStartupHeap()
{
#if defined(__linux__) && defined(__GLIBC__)
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    // The window uses about 4 MiB of heap up to its first frame: room for that in whole huge pages.
    constexpr std::size_t kReserve = std::size_t{10} << 20;
    // Blocks below the reserve come from the heap rather than from mappings of their own, and freeing
    // does not give the reserve back at once.
    if (mallopt(M_MMAP_THRESHOLD, static_cast<int>(kReserve)) == 0 ||
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kReserve)) == 0)
        return;
    void* const start = sbrk(0);
    if (start == reinterpret_cast<void*>(-1))
        return;
    const auto before = reinterpret_cast<std::uintptr_t>(start);
    void* volatile block = std::malloc(kReserve - 4096); // volatile: kept, not folded away
    std::free(block);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = (before + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t to = after & ~(kHugePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE); // only a hint: no error to mind
#endif
}

} // namespace klavoset
