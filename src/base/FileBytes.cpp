// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileBytes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#define KLAVOSET_HUGE_PAGES 1
#include <sys/mman.h>
#endif

namespace klavoset {

#ifdef KLAVOSET_HUGE_PAGES
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t hugeRounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

} // namespace
#endif

void* allocateFileMemory(std::size_t bytes)
{
#ifdef KLAVOSET_HUGE_PAGES
    if (bytes >= kHugePage && bytes <= static_cast<std::size_t>(-1) - 2 * kHugePage) {
        // One huge page more than needed, then the unaligned head and the tail given back.
        const std::size_t size = hugeRounded(bytes);
        void* mapped =
            ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        auto* const start = static_cast<std::uint8_t*>(mapped);
        const auto address = reinterpret_cast<std::uintptr_t>(start);
        const std::size_t head = (kHugePage - address % kHugePage) % kHugePage;
        if (head > 0)
            ::munmap(start, head);
        ::munmap(start + head + size, kHugePage - head);
        ::madvise(start + head, size, MADV_HUGEPAGE); // only advice: without it the pages are small
        return start + head;
    }
#endif
    return ::operator new(std::max<std::size_t>(bytes, 1));
}

void freeFileMemory(void* memory,
                    [[maybe_unused]] std::size_t bytes) noexcept // unused where pages are not mapped
{
    if (memory == nullptr)
        return;
#ifdef KLAVOSET_HUGE_PAGES
    if (bytes >= kHugePage && bytes <= static_cast<std::size_t>(-1) - 2 * kHugePage) {
        ::munmap(memory, hugeRounded(bytes));
        return;
    }
#endif
    ::operator delete(memory);
}

void FileBytes::grow(std::size_t n)
{
    if (n <= m_capacity)
        return;
    const std::size_t capacity = std::max(n, m_size > static_cast<std::size_t>(-1) / 4 ? n : 2 * m_size);
    auto* const bigger = static_cast<std::uint8_t*>(allocateFileMemory(capacity));
    if (m_size > 0)
        std::memcpy(bigger, m_data, m_size);
    freeFileMemory(m_data, m_capacity);
    m_data = bigger;
    m_capacity = capacity;
}

void FileBytes::resize(std::size_t n)
{
    grow(n);
    m_size = n;
}

bool operator==(const FileBytes& a, std::span<const std::uint8_t> b) noexcept
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

} // namespace klavoset
