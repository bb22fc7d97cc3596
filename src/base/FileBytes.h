// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace klavoset {

// Memory for the bytes of a whole file. On Linux a block of 2 MiB or more is mapped straight from the
// system, 2 MiB aligned and marked for huge pages, so that reading a fullflash into it faults a handful of
// large pages instead of thousands of small ones; elsewhere, and for smaller blocks, it is ordinary memory.
[[nodiscard]] void* allocateFileMemory(std::size_t bytes);
void freeFileMemory(void* memory, std::size_t bytes) noexcept;

// Allocator of FileBytes. An element added without a value (resize) is left as it is rather than zeroed:
// the reader writes every byte itself, and zeroing first would touch every page once more.
template <typename T> struct FileAllocator
{
    using value_type = T;

    FileAllocator() = default;
    template <typename U> FileAllocator(const FileAllocator<U>&) noexcept {}

    [[nodiscard]] T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(allocateFileMemory(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { freeFileMemory(p, n * sizeof(T)); }

    template <typename U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <typename U> bool operator==(const FileAllocator<U>&) const noexcept { return true; }
};

// The bytes of a file as read into memory: a fullflash image, a layout file.
using FileBytes = std::vector<std::uint8_t, FileAllocator<std::uint8_t>>;

// Same length and the same bytes.
[[nodiscard]] bool operator==(const FileBytes& a, const std::vector<std::uint8_t>& b) noexcept;

} // namespace klavoset
