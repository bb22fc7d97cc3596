// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace klavoset::test {

inline std::string readText(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& p)
{
    const std::string text = readText(p);
    return {text.begin(), text.end()};
}

inline void writeBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh, empty folder for one test, removed afterwards.
struct TempDir
{
    std::filesystem::path path;
    TempDir()
    {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("klavoset-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        remove(path);
        std::filesystem::create_directories(path);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() { remove(path); }

    // Windows deletes no read-only file, and a destructor must not throw: everything is made writable
    // first, and what still cannot go is left behind.
    static void remove(const std::filesystem::path& dir)
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::recursive_directory_iterator it(dir, ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            std::error_code ignored;
            if (!it->is_symlink(ignored)) // a link's target may lie outside
                fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        }
        fs::remove_all(dir, ec);
    }
};

} // namespace klavoset::test
