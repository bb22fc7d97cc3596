// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileBytes.h"

#include "base/MappedFiles.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h> // a no-op unless the address sanitizer is on
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#define KLAVOSET_HUGE_PAGES 1
#include <sys/mman.h>
#endif
#ifdef KLAVOSET_MAPPED_FILES
#include <sys/mman.h>
#include <sys/stat.h>
#endif

namespace klavoset {

namespace {

#ifdef KLAVOSET_HUGE_PAGES
constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool mapped(std::size_t bytes)
{
    return bytes >= kHugePage && bytes <= static_cast<std::size_t>(-1) - 2 * kHugePage;
}
std::size_t hugeRounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
#endif

// Freed blocks this large are kept for reuse; their sizes are rounded up to a step, so that files of
// nearly the same length share them.
constexpr std::size_t kWorthKeeping = std::size_t{256} << 10;
constexpr std::size_t kKeptStep = std::size_t{64} << 10;

// What a block of `bytes` really occupies: blocks of the same footprint can stand in for each other.
std::size_t footprint(std::size_t bytes)
{
#ifdef KLAVOSET_HUGE_PAGES
    if (mapped(bytes))
        return hugeRounded(bytes);
#endif
    if (bytes < kWorthKeeping || bytes > static_cast<std::size_t>(-1) - kKeptStep)
        return bytes;
    const std::size_t rounded = (bytes + kKeptStep - 1) / kKeptStep * kKeptStep;
#ifdef KLAVOSET_HUGE_PAGES
    if (mapped(rounded))
        return bytes; // stays below the mapped sizes, so that it is freed the way it was allocated
#endif
    return rounded;
}

// The last large blocks given back, kept for the next file of the same footprint (an image opened again,
// a saved image loaded back): their pages are already faulted in, and getting and faulting fresh ones
// costs more than reading the file. Two by default, so little memory stays held.
class KeptBlocks
{
  public:
    struct Block
    {
        void* memory = nullptr;
        std::size_t size = 0;
    };

    KeptBlocks() { m_blocks.reserve(m_limit); }

    // The smallest kept block that holds `size` bytes without being twice as large.
    std::optional<Block> take(std::size_t size)
    {
        const std::lock_guard lock(m_mutex);
        auto best = m_blocks.end();
        for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it)
            if (it->size >= size && it->size / 2 <= size && (best == m_blocks.end() || it->size < best->size))
                best = it;
        if (best == m_blocks.end())
            return std::nullopt;
        const Block b = *best;
        m_blocks.erase(best);
        ASAN_UNPOISON_MEMORY_REGION(b.memory, b.size);
        return b;
    }
    // Keeps `b` as the newest; gives back what no longer fits (the oldest, or `b` itself) to be freed.
    std::optional<Block> keep(Block b)
    {
        const std::lock_guard lock(m_mutex);
        if (m_limit == 0)
            return b;
        ASAN_POISON_MEMORY_REGION(b.memory, b.size); // a kept block is still freed memory to its users
        if (m_blocks.size() == m_limit) {
            const Block oldest = m_blocks.front();
            m_blocks.erase(m_blocks.begin());
            m_blocks.push_back(b);
            ASAN_UNPOISON_MEMORY_REGION(oldest.memory, oldest.size);
            return oldest;
        }
        m_blocks.push_back(b);
        return std::nullopt;
    }
    // Blocks beyond the new limit are given back.
    std::vector<Block> setLimit(std::size_t limit)
    {
        const std::lock_guard lock(m_mutex);
        m_blocks.reserve(limit);
        m_limit = limit;
        std::vector<Block> dropped;
        while (m_blocks.size() > m_limit) {
            dropped.push_back(m_blocks.front());
            ASAN_UNPOISON_MEMORY_REGION(dropped.back().memory, dropped.back().size);
            m_blocks.erase(m_blocks.begin());
        }
        return dropped;
    }

  private:
    std::mutex m_mutex;
    std::size_t m_limit = 2;
    std::vector<Block> m_blocks;
};

KeptBlocks& keptBlocks()
{
    static KeptBlocks* const kept = new KeptBlocks; // never destroyed: blocks may be freed at exit
    return *kept;
}

// Memory for at least `bytes` bytes; `bytes` becomes how many the block holds. On Linux a block of 2 MiB
// or more is mapped straight from the system, 2 MiB aligned and marked for huge pages, so that reading a
// fullflash into it faults a handful of large pages instead of thousands of small ones; elsewhere, and
// for smaller blocks, it is ordinary memory.
void* allocateFileMemory(std::size_t& bytes)
{
    const std::size_t size = footprint(bytes);
    if (size >= kWorthKeeping)
        if (const auto kept = keptBlocks().take(size)) {
            bytes = kept->size;
            return kept->memory;
        }
#ifdef KLAVOSET_HUGE_PAGES
    if (mapped(bytes)) {
        // Recent kernels place a mapping of whole huge pages on a huge page boundary themselves; where
        // one does not, a huge page more is mapped and the unaligned head and the tail given back.
        void* exact = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (exact != MAP_FAILED && reinterpret_cast<std::uintptr_t>(exact) % kHugePage == 0) {
            ::madvise(exact, size, MADV_HUGEPAGE); // only advice: without it the pages are small
            bytes = size;
            return exact;
        }
        if (exact != MAP_FAILED)
            ::munmap(exact, size);
        void* block =
            ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        auto* const start = static_cast<std::uint8_t*>(block);
        const auto address = reinterpret_cast<std::uintptr_t>(start);
        const std::size_t head = (kHugePage - address % kHugePage) % kHugePage;
        if (head > 0)
            ::munmap(start, head);
        ::munmap(start + head + size, kHugePage - head);
        ::madvise(start + head, size, MADV_HUGEPAGE); // only advice: without it the pages are small
        bytes = size;
        return start + head;
    }
#endif
    bytes = size;
    return ::operator new(std::max<std::size_t>(size, 1));
}

void release(void* memory, [[maybe_unused]] std::size_t bytes) noexcept // unused where nothing is mapped
{
#ifdef KLAVOSET_HUGE_PAGES
    if (mapped(bytes)) {
        ::munmap(memory, footprint(bytes));
        return;
    }
#endif
    ::operator delete(memory);
}

void freeFileMemory(void* memory, std::size_t bytes) noexcept
{
    if (memory == nullptr)
        return;
    const std::size_t size = footprint(bytes);
    if (size < kWorthKeeping) {
        release(memory, bytes);
        return;
    }
    // A kept block is recorded by its footprint, which frees it the same way as its own size would.
    if (const auto dropped = keptBlocks().keep({memory, size}))
        release(dropped->memory, dropped->size);
}

} // namespace

void keepFreedFileMemory(std::size_t blocks)
{
    for (const auto& b : keptBlocks().setLimit(blocks))
        release(b.memory, b.size);
}

FileBytes::~FileBytes() { release(); }

void FileBytes::release() noexcept
{
#ifdef KLAVOSET_MAPPED_FILES
    if (m_fileMapping) {
        forgetMappedFile(m_data);
        ::munmap(m_data, m_capacity);
        return;
    }
#endif
    freeFileMemory(m_data, m_capacity);
}

std::optional<FileBytes> FileBytes::mapFile([[maybe_unused]] int fd, [[maybe_unused]] std::size_t minimum)
{
#ifdef KLAVOSET_MAPPED_FILES
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<std::uintmax_t>(st.st_size) < minimum ||
        static_cast<std::uintmax_t>(st.st_size) > static_cast<std::size_t>(-1) / 2)
        return std::nullopt;
    const auto size = static_cast<std::size_t>(st.st_size);
    void* const map = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED)
        return std::nullopt;
    noteMappedFile(map, size);
    FileBytes bytes;
    bytes.m_data = static_cast<std::uint8_t*>(map);
    bytes.m_size = size;
    bytes.m_capacity = size;
    bytes.m_fileMapping = true;
    return bytes;
#else
    return std::nullopt;
#endif
}

void FileBytes::grow(std::size_t n)
{
    if (n <= m_capacity)
        return;
    std::size_t capacity = std::max(n, m_size > static_cast<std::size_t>(-1) / 4 ? n : 2 * m_size);
    auto* const bigger = static_cast<std::uint8_t*>(allocateFileMemory(capacity));
    if (m_size > 0)
        std::memcpy(bigger, m_data, m_size);
    release();
    m_data = bigger;
    m_capacity = capacity;
    m_fileMapping = false;
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
