// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/MemoryFiles.h"

namespace klavoset::web {

void MemoryFiles::put(const std::u16string& path, std::vector<std::uint8_t> bytes)
{
    if (path == m_lent)
        m_lent.clear();
    m_files[path] = std::move(bytes);
}

void MemoryFiles::lend(const std::u16string& path, std::vector<std::uint8_t> bytes)
{
    m_files[path] = std::move(bytes);
    m_lent = path;
}

void MemoryFiles::erase(const std::u16string& path)
{
    if (path == m_lent)
        m_lent.clear();
    m_files.erase(path);
}

const std::vector<std::uint8_t>* MemoryFiles::find(const std::u16string& path) const
{
    const auto it = m_files.find(path);
    return it == m_files.end() ? nullptr : &it->second;
}

Result<FileBytes, FileError> MemoryFiles::readAll(const std::u16string& path)
{
    const auto it = m_files.find(path);
    if (it == m_files.end())
        return Result<FileBytes, FileError>::fail({FileError::Stage::Open, "no such file"});
    FileBytes bytes(it->second.begin(), it->second.end());
    if (path == m_lent) {
        m_lent.clear();
        m_files.erase(it);
    }
    return Result<FileBytes, FileError>::ok(std::move(bytes));
}

std::optional<FileError> MemoryFiles::writeAtomically(const std::u16string& path,
                                                      std::span<const std::uint8_t> bytes)
{
    if (path == m_lent)
        m_lent.clear();
    m_files[path].assign(bytes.begin(), bytes.end());
    m_written = path;
    return std::nullopt;
}

} // namespace klavoset::web
