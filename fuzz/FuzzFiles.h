#pragma once

#include "base/FileSystem.h"

#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace klavoset::fuzz {

// Files in memory, as the tests' in-memory file layer, but cheap for images of several MiB: a file can
// be lent (the fuzzer's input or a cached image, not copied in), and bytes are copied with memcpy, which
// the address sanitizer runs at full speed (its memmove, used by vector copies, is a byte loop).
class FuzzFiles : public FileSystem
{
  public:
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

    Result<std::vector<std::uint8_t>, FileError> readAll(const std::u16string& path) override
    {
        using R = Result<std::vector<std::uint8_t>, FileError>;
        if (!exists(path))
            return R::fail({FileError::Stage::Open, "No such file or directory"});
        return R::ok(copy(bytesOf(path)));
    }
    bool canRead(const std::u16string& path) override { return exists(path); }
    std::optional<FileError> writeAtomically(const std::u16string& path,
                                             std::span<const std::uint8_t> bytes) override
    {
        m_lent.erase(path);
        m_owned[path] = copy(bytes);
        return std::nullopt;
    }

  private:
    static std::vector<std::uint8_t> copy(std::span<const std::uint8_t> bytes)
    {
        std::vector<std::uint8_t> v(bytes.size());
        if (!bytes.empty())
            std::memcpy(v.data(), bytes.data(), bytes.size());
        return v;
    }

    std::map<std::u16string, std::span<const std::uint8_t>> m_lent;
    std::map<std::u16string, std::vector<std::uint8_t>> m_owned;
};

} // namespace klavoset::fuzz
