// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"

#include <map>
#include <set>
#include <string>

namespace klavoset::test {

// Files in a map, with switches that make opening or writing fail.
class MemoryFileSystem : public FileSystem
{
  public:
    std::map<std::u16string, std::vector<std::uint8_t>> files;
    std::set<std::u16string> unopenable; // opening fails
    std::set<std::u16string> unwritable; // writing fails after opening
    int writes = 0;

    Result<FileBytes, FileError> readAll(const std::u16string& path) override
    {
        using R = Result<FileBytes, FileError>;
        const auto it = files.find(path);
        if (it == files.end() || unopenable.count(path))
            return R::fail({FileError::Stage::Open, "No such file or directory"});
        return R::ok(FileBytes(it->second.begin(), it->second.end()));
    }
    bool canRead(const std::u16string& path) override { return files.count(path) && !unopenable.count(path); }
    std::optional<FileError> writeAtomically(const std::u16string& path,
                                             std::span<const std::uint8_t> bytes) override
    {
        if (unopenable.count(path))
            return FileError{FileError::Stage::Open, "Permission denied"};
        if (unwritable.count(path))
            return FileError{FileError::Stage::Transfer, "No space left on device"};
        ++writes;
        files[path].assign(bytes.begin(), bytes.end());
        return std::nullopt;
    }
};

} // namespace klavoset::test
