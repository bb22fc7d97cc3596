// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/FileSystem.h"

#include "base/MappedFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
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

// A new, empty file beside the target, under a name nobody uses: a name left behind by an interrupted
// save, or taken by another program, is skipped for another, as mkstemp does.
std::FILE* createTemporaryBeside(const fs::path& target, fs::path& tmp)
{
    static std::atomic<unsigned> counter{0};
    static std::mt19937 random{std::random_device{}()};
    constexpr int kTries = 100;
    for (int i = 0; i < kTries; ++i) {
        tmp = target;
        tmp += ".klavoset-" + std::to_string(random() % 1000000u) + "-" + std::to_string(counter++) + ".tmp";
        if (std::FILE* file = openFile(tmp, "wbx"))
            return file;
        if (errno != EEXIST)
            return nullptr;
    }
    errno = EEXIST;
    return nullptr;
}

} // namespace

Result<FileBytes, FileError> RealFileSystem::readAll(const std::u16string& path)
{
    using R = Result<FileBytes, FileError>;
    const fs::path p(path);
    std::error_code ec;
    if (fs::is_directory(p, ec))
        return R::fail(openError(EISDIR));
    std::FILE* file = openFile(p, "rb");
    if (file == nullptr)
        return R::fail(openError(errno));

    FileBytes bytes;
    const auto size = fs::file_size(p, ec);
    if (!ec && size > kMaxFileSize) {
        std::fclose(file);
        return R::fail(openError(EFBIG));
    }
    if (m_reading == Reading::Map)
        if (auto mapped = FileBytes::mapFile(fileno(file), kMapFrom)) {
            std::fclose(file);
            if (mapped->size() > kMaxFileSize)
                return R::fail(openError(EFBIG));
            return R::ok(std::move(*mapped));
        }
    try {
        // One read straight into memory that is not zeroed first, as fast as copying the file; chunks only
        // for what a file that grows meanwhile (or one whose size is unknown) still holds.
        bool more = true;
        if (!ec && size > 0) {
            bytes.resize(static_cast<std::size_t>(size));
            const std::size_t got = readBytes(file, bytes);
            std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(got), bytes.end(), std::uint8_t{0});
            more = got == bytes.size();
        }
        std::uint8_t chunk[1 << 16];
        while (more) {
            const std::size_t got = readBytes(file, chunk);
            bytes.append(chunk, chunk + got);
            if (bytes.size() > kMaxFileSize) {
                std::fclose(file);
                return R::fail(openError(EFBIG));
            }
            more = got == sizeof chunk;
        }
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        return R::fail(openError(ENOMEM));
    }
    const bool failed = std::ferror(file) != 0;
    const int err = errno;
    std::fclose(file);
    if (failed)
        return R::fail(writeError(err));
    return R::ok(std::move(bytes));
}

std::size_t RealFileSystem::readBytes(std::FILE* file, std::span<std::uint8_t> into)
{
    return std::fread(into.data(), 1, into.size(), file);
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

namespace {

#ifndef _WIN32
// The file a symbolic link leads to (through any chain of links), so that a save replaces that file and
// keeps the link; a path that is no link is its own target.
std::optional<int> followLinks(fs::path& target)
{
    constexpr int kMaxLinks = 40; // as the system's own limit on a chain of links
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec))
            return std::nullopt;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            return ec.value();
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ELOOP;
}

// Why writing is not permitted (0 when it is). Root passes the system's own check on any file, so a file
// or folder its owner made read-only would be replaced without a word; root's saves look at the mode bits.
int writeRefusal(const fs::path& path)
{
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES || errno == EROFS || errno == EPERM ? errno : 0;
    struct stat st
    {
    };
    if (::geteuid() == 0 && ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
        return EACCES;
    return 0;
}

// Flushes the folder's entries, so that a power cut right after the rename brings back neither the old
// file nor loses both. Some file systems cannot flush a folder; the file itself is on disk by then.
void flushFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::fsync(fd) != 0)
        errno = 0;
    ::close(fd);
}
#endif

} // namespace

std::optional<FileError> RealFileSystem::writeAtomically(const std::u16string& path,
                                                         std::span<const std::uint8_t> bytes)
{
    fs::path target(path);
    std::error_code ec;
    if (path.empty())
        return openError(ENOENT);
#ifndef _WIN32
    if (const auto err = followLinks(target))
        return openError(*err);
#endif
    if (fs::is_directory(target, ec))
        return openError(EISDIR);
    [[maybe_unused]] const bool replacing = fs::exists(target, ec);
#ifndef _WIN32
    // A read-only file, or one in a read-only folder, is refused as opening it for writing would be.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (const int err = replacing ? writeRefusal(target) : 0)
        return openError(err);
    if (const int err = writeRefusal(folder))
        return openError(err);
    struct stat old
    {
    };
    const bool keepMode = replacing && ::stat(target.c_str(), &old) == 0;
#else
    // Windows replaces a file marked read-only on rename; the mark is the owner's "do not write".
    if (replacing && (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
        return openError(EACCES);
#endif

    fs::path tmp;
    std::FILE* file = createTemporaryBeside(target, tmp);
    if (file == nullptr)
        return openError(errno);
#ifndef _WIN32
    notePendingFile(tmp.native()); // removed if a mapped source proves shortened while it is written
#endif

    constexpr std::size_t kChunk = 1 << 20;
    bool ok = true;
#ifndef _WIN32
    // The new file keeps the permissions and, where allowed, the owner of the one it replaces.
    if (keepMode) {
        const int fd = fileno(file);
        // Only root may give the file away; anyone may keep a group they belong to. Neither is vital.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
                ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
                errno = 0;
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
#endif
    for (std::size_t at = 0; ok && at < bytes.size(); at += kChunk)
        ok = writeBytes(file, bytes.subspan(at, std::min(kChunk, bytes.size() - at)));
    if (ok)
        ok = flushToDisk(file);
    int err = ok ? 0 : (errno != 0 ? errno : EIO);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        err = errno;
    }
    forgetPendingFile(); // from here on its name may be the target's
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
#ifndef _WIN32
    flushFolder(folder);
#endif
    return std::nullopt;
}

} // namespace klavoset
