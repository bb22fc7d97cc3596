#include "base/FileSystem.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace klavoset {
namespace fs = std::filesystem;

namespace {

std::FILE* openFile(const fs::path& path, const char* mode)
{
#ifdef _WIN32
    const std::wstring wmode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

std::string systemReason(int err) { return std::error_code(err, std::generic_category()).message(); }

FileError openError(int err) { return {FileError::Stage::Open, systemReason(err)}; }
FileError writeError(int err) { return {FileError::Stage::Write, systemReason(err)}; }

// A name beside the target that no other save of this process uses.
fs::path temporaryBeside(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    fs::path tmp = target;
    tmp += ".klavoset-" + std::to_string(counter++) + ".tmp";
    return tmp;
}

} // namespace

Result<std::vector<std::uint8_t>, FileError> RealFileSystem::readAll(const std::u16string& path)
{
    using R = Result<std::vector<std::uint8_t>, FileError>;
    const fs::path p(path);
    std::error_code ec;
    if (fs::is_directory(p, ec))
        return R::fail(openError(EISDIR));
    std::FILE* file = openFile(p, "rb");
    if (file == nullptr)
        return R::fail(openError(errno));

    std::vector<std::uint8_t> bytes;
    const auto size = fs::file_size(p, ec);
    if (!ec && size > kMaxFileSize) {
        std::fclose(file);
        return R::fail(openError(EFBIG));
    }
    // One read straight into the result, as fast as copying the file; chunks only for what a file that
    // grows meanwhile (or one whose size is unknown) still holds.
    bool more = true;
    if (!ec && size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        more = got == bytes.size();
        bytes.resize(got);
    }
    std::uint8_t chunk[1 << 16];
    while (more) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > kMaxFileSize) {
            std::fclose(file);
            return R::fail(openError(EFBIG));
        }
        more = got == sizeof chunk;
    }
    const bool failed = std::ferror(file) != 0;
    const int err = errno;
    std::fclose(file);
    if (failed)
        return R::fail(writeError(err));
    return R::ok(std::move(bytes));
}

bool RealFileSystem::canRead(const std::u16string& path)
{
    const fs::path p(path);
    std::error_code ec;
    if (path.empty() || fs::is_directory(p, ec))
        return false;
    std::FILE* file = openFile(p, "rb");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

bool RealFileSystem::writeBytes(std::FILE* file, std::span<const std::uint8_t> bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

std::optional<FileError> RealFileSystem::writeAtomically(const std::u16string& path,
                                                         std::span<const std::uint8_t> bytes)
{
    const fs::path target(path);
    std::error_code ec;
    if (path.empty())
        return openError(ENOENT);
    if (fs::is_directory(target, ec))
        return openError(EISDIR);

    const fs::path tmp = temporaryBeside(target);
    std::FILE* file = openFile(tmp, "wbx");
    if (file == nullptr)
        return openError(errno);

    constexpr std::size_t kChunk = 1 << 20;
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += kChunk)
        ok = writeBytes(file, bytes.subspan(at, std::min(kChunk, bytes.size() - at)));
    if (ok)
        ok = flushToDisk(file);
    int err = ok ? 0 : (errno != 0 ? errno : EIO);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok) {
        fs::rename(tmp, target, ec);
        if (ec) {
            ok = false;
            err = ec.value();
        }
    }
    if (!ok) {
        fs::remove(tmp, ec);
        return writeError(err);
    }
    return std::nullopt;
}

} // namespace klavoset
