// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"

#include <filesystem>
#include <future>
#include <optional>
#include <string>

namespace klavoset {

// The real file system, which starts reading one file at once, on a thread of its own: the fullflash
// named on the command line is read while the window is being built. The first readAll of that path takes
// the bytes if the file is still as it was when the read began (same size and modification time); a file
// changed meanwhile, a failed read and any other path are read then, as always.
class ReadAheadFileSystem : public RealFileSystem
{
  public:
    explicit ReadAheadFileSystem(std::u16string path);
    ~ReadAheadFileSystem() override;

    Result<FileBytes, FileError> readAll(const std::u16string& path) override;

  private:
    struct Stamp
    {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written;
        bool operator==(const Stamp&) const = default;
    };
    struct Ahead
    {
        std::optional<Stamp> before;
        Result<FileBytes, FileError> bytes;
    };
    [[nodiscard]] static std::optional<Stamp> stampOf(const std::u16string& path);

    std::u16string m_path;
    std::future<Ahead> m_ahead;
};

} // namespace klavoset
