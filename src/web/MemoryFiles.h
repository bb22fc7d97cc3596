// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace klavoset::web {

// Files held in memory under plain names: what the user handed to the page goes in, what a command
// writes comes out as a download. Nothing reaches a disk.
class MemoryFiles : public FileSystem
{
  public:
    void put(const std::u16string& path, std::vector<std::uint8_t> bytes);
    // A file handed over for one command: its first read copies the bytes into the editor's buffer and
    // lets them go, so a large image is held twice only for that moment.
    void lend(const std::u16string& path, std::vector<std::uint8_t> bytes);
    void erase(const std::u16string& path);

    // The path of the file written last, if any was written since the last call.
    [[nodiscard]] std::optional<std::u16string> takeWritten() { return std::exchange(m_written, {}); }
    [[nodiscard]] const std::vector<std::uint8_t>* find(const std::u16string& path) const;

    Result<FileBytes, FileError> readAll(const std::u16string& path) override;
    bool canRead(const std::u16string& path) override { return m_files.contains(path); }
    std::optional<FileError> writeAtomically(const std::u16string& path,
                                             std::span<const std::uint8_t> bytes) override;

  private:
    std::map<std::u16string, std::vector<std::uint8_t>> m_files;
    std::u16string m_lent;
    std::optional<std::u16string> m_written;
};

} // namespace klavoset::web
