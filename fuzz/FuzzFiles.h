// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace klavoset::fuzz {

// Image-sized buffers kept from one run to the next: mapping, zero-filling and unmapping several MiB
// for every copy of an image cost far more than the checks that look at it.
class BufferPool
{
  public:
    // A buffer of `size` bytes whose contents are left over from an earlier run.
    static std::vector<std::uint8_t> take(std::size_t size)
    {
        auto& kept = buffers();
        // Shrinking a buffer is free, growing one fills the new part with zeros: the best is the
        // shortest that is long enough, else the longest that has room.
        auto best = kept.end();
        const auto better = [size](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
            if ((a.size() >= size) != (b.size() >= size))
                return a.size() >= size;
            return a.size() >= size ? a.size() < b.size() : a.size() > b.size();
        };
        for (auto it = kept.begin(); it != kept.end(); ++it)
            if (it->capacity() >= size && (best == kept.end() || better(*it, *best)))
                best = it;
        // Room for the largest image asked for so far, so that a buffer serves every image after it.
        static std::size_t largest = 0;
        largest = std::max(largest, size);
        if (best == kept.end()) {
            std::vector<std::uint8_t> v;
            v.reserve(largest);
            v.resize(size);
            return v;
        }
        std::vector<std::uint8_t> v = std::move(*best);
        kept.erase(best);
        v.resize(size); // within the capacity: nothing is allocated
        return v;
    }
    // Keeps `v` for a later take; small ones are not worth it.
    static void give(std::vector<std::uint8_t>&& v)
    {
        if (v.capacity() < kWorthKeeping)
            return;
        auto& kept = buffers();
        kept.push_back(std::move(v));
        if (kept.size() > kMaxKept)
            kept.erase(kept.begin());
    }

  private:
    static constexpr std::size_t kWorthKeeping = 1 << 16;
    static constexpr std::size_t kMaxKept = 24;
    static std::vector<std::vector<std::uint8_t>>& buffers()
    {
        static std::vector<std::vector<std::uint8_t>> kept;
        return kept;
    }
};

// Files in memory, as the tests' in-memory file layer, but cheap for images of several MiB: a file can
// be lent (the fuzzer's input or a cached image, not copied in), bytes are copied with memcpy, which
// the address sanitizer runs at full speed (its memmove, used by vector copies, is a byte loop), into
// buffers of the pool.
class FuzzFiles : public FileSystem
{
  public:
    FuzzFiles() = default;
    FuzzFiles(const FuzzFiles&) = delete;
    FuzzFiles& operator=(const FuzzFiles&) = delete;
    ~FuzzFiles() override
    {
        for (auto& [path, bytes] : m_owned)
            BufferPool::give(std::move(bytes));
    }

    // The file at `path` reads as `bytes`, which must outlive every read.
    void lend(const std::u16string& path, std::span<const std::uint8_t> bytes)
    {
        m_owned.erase(path);
        m_lent[path] = bytes;
    }

    [[nodiscard]] std::span<const std::uint8_t> bytesOf(const std::u16string& path) const
    {
        if (const auto it = m_owned.find(path); it != m_owned.end())
            return it->second;
        if (const auto it = m_lent.find(path); it != m_lent.end())
            return it->second;
        return {};
    }
    [[nodiscard]] bool exists(const std::u16string& path) const
    {
        return m_owned.count(path) != 0 || m_lent.count(path) != 0;
    }

    Result<FileBytes, FileError> readAll(const std::u16string& path) override
    {
        using R = Result<FileBytes, FileError>;
        if (!exists(path))
            return R::fail({FileError::Stage::Open, "No such file or directory"});
        const auto bytes = bytesOf(path);
        return R::ok(FileBytes(bytes.begin(), bytes.end()));
    }
    bool canRead(const std::u16string& path) override { return exists(path); }
    std::optional<FileError> writeAtomically(const std::u16string& path,
                                             std::span<const std::uint8_t> bytes) override
    {
        m_lent.erase(path);
        auto& file = m_owned[path];
        BufferPool::give(std::move(file));
        file = copy(bytes);
        return std::nullopt;
    }

  private:
    static std::vector<std::uint8_t> copy(std::span<const std::uint8_t> bytes)
    {
        std::vector<std::uint8_t> v = BufferPool::take(bytes.size());
        if (!bytes.empty())
            std::memcpy(v.data(), bytes.data(), bytes.size());
        return v;
    }

    std::map<std::u16string, std::span<const std::uint8_t>> m_lent;
    std::map<std::u16string, std::vector<std::uint8_t>> m_owned;
};

} // namespace klavoset::fuzz
