// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace klavoset {

// How many freed blocks of 256 KiB or more are kept for reuse (2 unless set): a program that reads many
// files of a few sizes over and over keeps more.
void keepFreedFileMemory(std::size_t blocks);

// The bytes of a file as read into memory: a fullflash image, a layout file. A buffer of its own rather
// than a vector with a custom allocator, which would construct, copy and destroy byte by byte (a loop the
// sanitizer builds cannot optimise away); bytes added by growing are left as they are rather than zeroed,
// since the reader writes every byte itself and zeroing first would touch every page once more.
class FileBytes
{
  public:
    using value_type = std::uint8_t;
    using iterator = std::uint8_t*;
    using const_iterator = const std::uint8_t*;

    FileBytes() = default;
    template <std::contiguous_iterator It> FileBytes(It first, It last) { append(first, last); }
    FileBytes(const FileBytes& other) : FileBytes(other.begin(), other.end()) {}
    FileBytes(FileBytes&& other) noexcept { swap(other); }
    FileBytes& operator=(FileBytes other) noexcept
    {
        swap(other);
        return *this;
    }
    ~FileBytes();

    // The regular file open as `fd`, mapped privately instead of copied: a page is read from the system's
    // file cache when it is first read, and a page written is copied for this FileBytes alone, so the file
    // never changes. Nothing for a file under `minimum` bytes, for one that is no regular file or cannot be
    // mapped, and on systems where files are not mapped. Who maps files must guard against a file
    // shortened meanwhile (guardMappedFiles).
    [[nodiscard]] static std::optional<FileBytes> mapFile(int fd, std::size_t minimum);

    [[nodiscard]] std::size_t size() const noexcept { return m_size; }
    [[nodiscard]] bool empty() const noexcept { return m_size == 0; }
    [[nodiscard]] std::uint8_t* data() noexcept { return m_data; }
    [[nodiscard]] const std::uint8_t* data() const noexcept { return m_data; }
    [[nodiscard]] iterator begin() noexcept { return m_data; }
    [[nodiscard]] iterator end() noexcept { return m_data + m_size; }
    [[nodiscard]] const_iterator begin() const noexcept { return m_data; }
    [[nodiscard]] const_iterator end() const noexcept { return m_data + m_size; }
    std::uint8_t& operator[](std::size_t i) noexcept { return m_data[i]; }
    const std::uint8_t& operator[](std::size_t i) const noexcept { return m_data[i]; }

    // Exactly `n` bytes, the first ones kept; new ones are not initialised.
    void resize(std::size_t n);
    // The bytes of [first, last) added at the end.
    template <std::contiguous_iterator It> void append(It first, It last)
    {
        const auto n = static_cast<std::size_t>(std::distance(first, last));
        const std::size_t at = m_size;
        grow(at + n);
        m_size = at + n;
        if (n > 0)
            std::memcpy(m_data + at, std::to_address(first), n);
    }
    void swap(FileBytes& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_fileMapping, other.m_fileMapping);
    }

  private:
    void grow(std::size_t n); // room for at least n bytes, doubling so that appending stays linear
    void release() noexcept;

    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    bool m_fileMapping = false; // m_data maps a file, exactly m_capacity bytes of it
};

// Same length and the same bytes.
[[nodiscard]] bool operator==(const FileBytes& a, std::span<const std::uint8_t> b) noexcept;
[[nodiscard]] inline bool operator==(const FileBytes& a, const FileBytes& b) noexcept
{
    return a == std::span<const std::uint8_t>(b.data(), b.size());
}
[[nodiscard]] inline bool operator==(const FileBytes& a, const std::vector<std::uint8_t>& b) noexcept
{
    return a == std::span<const std::uint8_t>(b);
}

} // namespace klavoset
