#include "web/MemoryFiles.h"

namespace klavoset::web {

void MemoryFiles::put(const std::u16string& path, std::vector<std::uint8_t> bytes)
{
    m_files[path] = std::move(bytes);
}

const std::vector<std::uint8_t>* MemoryFiles::find(const std::u16string& path) const
{
    const auto it = m_files.find(path);
    return it == m_files.end() ? nullptr : &it->second;
}

Result<std::vector<std::uint8_t>, FileError> MemoryFiles::readAll(const std::u16string& path)
{
    const auto it = m_files.find(path);
    if (it == m_files.end())
        return Result<std::vector<std::uint8_t>, FileError>::fail({FileError::Stage::Open, "no such file"});
    return Result<std::vector<std::uint8_t>, FileError>::ok(it->second);
}

std::optional<FileError> MemoryFiles::writeAtomically(const std::u16string& path,
                                                      std::span<const std::uint8_t> bytes)
{
    m_files[path].assign(bytes.begin(), bytes.end());
    m_written = path;
    return std::nullopt;
}

} // namespace klavoset::web
