// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ReadAhead.h"

#include <system_error>

namespace klavoset {

ReadAheadFileSystem::ReadAheadFileSystem(std::u16string path) : m_path(std::move(path))
{
    if (m_path.empty())
        return;
    try {
        m_ahead = std::async(std::launch::async, [path = m_path] {
            // A file system of its own: nothing is shared with the thread that builds the window.
            RealFileSystem files;
            std::optional<Stamp> before = stampOf(path);
            return Ahead{before, files.readAll(path)};
        });
    } catch (const std::system_error&) {
        // no thread to spare: the file is read when it is asked for
    }
}

ReadAheadFileSystem::~ReadAheadFileSystem()
{
    if (m_ahead.valid())
        m_ahead.wait();
}

std::optional<ReadAheadFileSystem::Stamp> ReadAheadFileSystem::stampOf(const std::u16string& path)
{
    const std::filesystem::path p(path);
    std::error_code size, time;
    Stamp stamp{std::filesystem::file_size(p, size), std::filesystem::last_write_time(p, time)};
    if (size || time)
        return std::nullopt;
    return stamp;
}

Result<FileBytes, FileError> ReadAheadFileSystem::readAll(const std::u16string& path)
{
    if (path == m_path && m_ahead.valid()) {
        Ahead ahead = m_ahead.get();
        if (ahead.bytes.isOk() && ahead.before && ahead.before == stampOf(path))
            return std::move(ahead.bytes);
    }
    return RealFileSystem::readAll(path);
}

} // namespace klavoset
