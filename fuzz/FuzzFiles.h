// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"

#include <map>
#include <span>
#include <string>

namespace klavoset::fuzz {

// Files in memory, as the tests' in-memory file layer, but cheap for images of several MiB: a file can
// be lent (the fuzzer's input or a cached image, not copied in), and a written file is held as FileBytes,
// copied with memcpy (which the address sanitizer runs at full speed; its memmove, used by vector copies,
// is a byte loop) into a block that freed files of the same size left for reuse (keepFreedFileMemory).
class FuzzFiles : public FileSystem
{
  public:
    FuzzFiles() = default;
    FuzzFiles(const FuzzFiles&) = delete;
    FuzzFiles& operator=(const FuzzFiles&) = delete;

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
        m_owned[path] = FileBytes(bytes.begin(), bytes.end());
        return std::nullopt;
    }

  private:
    std::map<std::u16string, std::span<const std::uint8_t>> m_lent;
    std::map<std::u16string, FileBytes> m_owned;
};

} // namespace klavoset::fuzz
