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

#ifdef _WIN32
// "N": the file is not inherited by a program started meanwhile.
std::FILE* openFile(const fs::path& path, const char* mode)
{
    std::wstring wmode(mode, mode + std::strlen(mode));
    wmode += L'N';
    return _wfopen(path.c_str(), wmode.c_str());
}
#endif

std::string systemReason(int err) { return std::error_code(err, std::generic_category()).message(); }

FileError openError(int err) { return {FileError::Stage::Open, systemReason(err)}; }
FileError writeError(int err) { return {FileError::Stage::Transfer, systemReason(err)}; }
FileError tooLargeError(std::uintmax_t size) { return {FileError::Stage::Open, systemReason(EFBIG), size}; }

constexpr const char* kNotRegular = "not a regular file";

// A file open for reading, and its size as the system gave it when it was opened (0: not known).
struct OpenedFile
{
    std::FILE* file = nullptr;
    std::uintmax_t size = 0;
};

// Opens an existing regular file for reading. A FIFO, a device or a socket is refused at once, as read
// failing: the open never waits for a writer to a FIFO, and the type is that of the file opened, not of
// a name looked at before. A folder is refused as a file that cannot be opened.
Result<OpenedFile, FileError> openForReading(const fs::path& p)
{
    using R = Result<OpenedFile, FileError>;
#ifdef _WIN32
    std::error_code ec;
    const auto status = fs::status(p, ec);
    if (fs::is_directory(status))
        return R::fail(openError(EISDIR));
    if (!ec && !fs::is_regular_file(status))
        return R::fail({FileError::Stage::Transfer, kNotRegular});
    std::FILE* file = openFile(p, "rb");
    if (file == nullptr)
        return R::fail(openError(errno));
    const auto size = fs::file_size(p, ec);
    return R::ok({file, ec ? 0 : size});
#else
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return R::fail(openError(errno));
    struct stat st
    {
    };
    std::optional<FileError> refusal;
    if (::fstat(fd, &st) != 0)
        refusal = openError(errno);
    else if (S_ISDIR(st.st_mode))
        refusal = openError(EISDIR);
    else if (!S_ISREG(st.st_mode))
        refusal = FileError{FileError::Stage::Transfer, kNotRegular};
    std::FILE* file = refusal ? nullptr : ::fdopen(fd, "rb");
    if (file == nullptr && !refusal)
        refusal = openError(errno);
    if (refusal) {
        ::close(fd);
        return R::fail(*refusal);
    }
    return R::ok({file, st.st_size > 0 ? static_cast<std::uintmax_t>(st.st_size) : 0});
#endif
}

} // namespace

Result<FileBytes, FileError> FileSystem::readAtMost(const std::u16string& path, std::uintmax_t limit)
{
    auto read = readAll(path);
    if (read.isOk() && read.value().size() > limit)
        return Result<FileBytes, FileError>::fail(tooLargeError(read.value().size()));
    return read;
}

Result<FileBytes, FileError> RealFileSystem::readAll(const std::u16string& path)
{
    return readAtMost(path, kMaxFileSize);
}

Result<FileBytes, FileError> RealFileSystem::readAtMost(const std::u16string& path, std::uintmax_t limit)
{
    using R = Result<FileBytes, FileError>;
    limit = std::min(limit, kMaxFileSize);
    auto opened = openForReading(fs::path(path));
    if (!opened.isOk())
        return R::fail(opened.error());
    std::FILE* const file = opened.value().file;
    const std::uintmax_t size = opened.value().size;
    const auto fail = [file](FileError error) {
        std::fclose(file);
        return R::fail(std::move(error));
    };
    // Told by the file opened, not by its name: nothing of a file too large is read.
    if (size > limit)
        return fail(tooLargeError(size));
    if (m_reading == Reading::Map)
        if (auto mapped = FileBytes::mapFile(fileno(file), kMapFrom)) {
            std::fclose(file);
            if (mapped->size() > limit)
                return R::fail(tooLargeError(mapped->size()));
            return R::ok(std::move(*mapped));
        }

    FileBytes bytes;
    try {
        // One read straight into memory that is not zeroed first, as fast as copying the file; chunks only
        // for what a file that grows meanwhile (or one whose size is unknown) still holds, and never more
        // than one byte past the limit.
        bool more = true;
        if (size > 0) {
            bytes.resize(static_cast<std::size_t>(size));
            const std::size_t got = readBytes(file, bytes);
            // Fewer bytes than the file had when opened: it was shortened meanwhile, and what is left is
            // no longer the image (nor, filled up, anything a save may write back).
            if (got < bytes.size() && std::ferror(file) == 0)
                return fail({FileError::Stage::Transfer, "the file was shortened while it was read"});
            more = got == bytes.size();
        }
        std::uint8_t chunk[1 << 16];
        while (more) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uintmax_t>(sizeof chunk, limit + 1 - bytes.size()));
            const std::size_t got = readBytes(file, std::span(chunk, want));
            bytes.append(chunk, chunk + got);
            if (bytes.size() > limit)
                return fail(tooLargeError(bytes.size()));
            more = got == want;
        }
    } catch (const std::bad_alloc&) {
        return fail(openError(ENOMEM));
    }
    if (std::ferror(file) != 0)
        return fail(writeError(errno != 0 ? errno : EIO));
    std::fclose(file);
    return R::ok(std::move(bytes));
}

std::size_t RealFileSystem::readBytes(std::FILE* file, std::span<std::uint8_t> into)
{
    return std::fread(into.data(), 1, into.size(), file);
}

bool RealFileSystem::canRead(const std::u16string& path)
{
    if (path.empty())
        return false;
    const auto opened = openForReading(fs::path(path));
    if (opened.isOk())
        std::fclose(opened.value().file);
    return opened.isOk();
}

bool RealFileSystem::flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

bool RealFileSystem::writeBytes(std::FILE* file, std::span<const std::uint8_t> bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

namespace {

// The temporary file's name: the target's, cut short where the two would pass the systems' limit on a
// name, so that a file with a long name can still be saved. Counted in UTF-8 bytes everywhere: 255 of them
// on Linux, and never more than the 255 UTF-16 units of Windows (nor than Wine's Linux name).
fs::path temporaryName(const fs::path& target, const std::string& suffix)
{
    constexpr std::size_t kNameMax = 255;
    std::u8string name = target.filename().u8string();
    if (name.size() + suffix.size() > kNameMax) {
        std::size_t keep = kNameMax - suffix.size();
        while (keep > 0 && (name[keep] & 0xC0) == 0x80) // never inside a character
            --keep;
        name.resize(keep);
    }
    name.append(suffix.begin(), suffix.end());
    return target.parent_path() / fs::path(name);
}

// A new, empty file beside the target, under a name nobody uses: a name left behind by an interrupted
// save, or taken by another program, is skipped for another, as mkstemp does. Only its owner may read it
// (on Windows, as any new file), so a private image is never readable while it is being written.
std::FILE* createTemporaryBeside(const fs::path& target, fs::path& tmp)
{
    static std::atomic<unsigned> counter{0};
    static std::mt19937 random{std::random_device{}()};
    constexpr int kTries = 100;
    for (int i = 0; i < kTries; ++i) {
        tmp = temporaryName(target, ".klavoset-" + std::to_string(random() % 1000000u) + "-" +
                                        std::to_string(counter++) + ".tmp");
#ifdef _WIN32
        if (std::FILE* file = openFile(tmp, "wbx"))
            return file;
#else
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (std::FILE* file = ::fdopen(fd, "wb"))
                return file;
            const int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            errno = err;
            return nullptr;
        }
#endif
        if (errno != EEXIST)
            return nullptr;
    }
    errno = EEXIST;
    return nullptr;
}

#ifndef _WIN32
fs::path folderOf(const fs::path& path)
{
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

// The file a symbolic link leads to (through any chain of links), so that a save replaces that file and
// keeps the link; a path that is no link is its own target. A link is followed only when the user who
// saves or the owner of its folder made it: in a folder others may write to (/tmp), a link planted by a
// third user would otherwise make the save replace a file of the saver's own elsewhere.
std::optional<int> followLinks(fs::path& target)
{
    constexpr int kMaxLinks = 40; // as the system's own limit on a chain of links
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat link
        {
        };
        if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return std::nullopt;
        struct stat folder
        {
        };
        if (::stat(folderOf(target).c_str(), &folder) != 0)
            return errno;
        if (link.st_uid != ::geteuid() && link.st_uid != folder.st_uid)
            return EACCES;
        std::error_code ec;
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

// The permissions a file created now would get from the process's umask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0); // the only way to read it; set back at once
    ::umask(mask);
    return 0666 & ~mask;
}

// The new file gets the permissions and, where allowed, the owner of the one it replaces, or those of a
// file created anew. Set once the content is written, so that it is private until then.
bool setKeptMode(std::FILE* file, const std::optional<struct stat>& old)
{
    const int fd = fileno(file);
    if (!old)
        return ::fchmod(fd, newFileMode()) == 0;
    // Only root may give the file away; anyone may keep a group they belong to. Neither is vital.
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid())
        if (::fchown(fd, old->st_uid, old->st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0)
            errno = 0;
    return ::fchmod(fd, old->st_mode & 07777) == 0;
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

std::optional<std::string> sharedFolderFault([[maybe_unused]] const std::u16string& path)
{
#ifndef _WIN32
    struct stat st
    {
    };
    if (::stat(fs::path(path).c_str(), &st) != 0)
        return std::nullopt;
    // As root's own folders are trusted by everyone, they are here.
    if (st.st_uid != ::geteuid() && st.st_uid != 0)
        return "the folder belongs to another user";
    if ((st.st_mode & S_IWOTH) != 0 && (st.st_mode & S_ISVTX) == 0)
        return "others may write to the folder";
#endif
    return std::nullopt;
}

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
    struct stat st
    {
    };
    std::optional<struct stat> old;
    if (::stat(target.c_str(), &st) == 0)
        old = st;
    // Only a regular file is replaced: a device or a FIFO in its place would become a file of that name.
    if (old && S_ISDIR(old->st_mode))
        return openError(EISDIR);
    if (old && !S_ISREG(old->st_mode))
        return FileError{FileError::Stage::Open, kNotRegular};
    // A read-only file, or one in a read-only folder, is refused as opening it for writing would be.
    if (const int err = old ? writeRefusal(target) : 0)
        return openError(err);
    if (const int err = writeRefusal(folderOf(target)))
        return openError(err);
#else
    const auto status = fs::status(target, ec);
    if (fs::is_directory(status))
        return openError(EISDIR);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return FileError{FileError::Stage::Open, kNotRegular};
    // Windows replaces a file marked read-only on rename; the mark is the owner's "do not write".
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
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
    for (std::size_t at = 0; ok && at < bytes.size(); at += kChunk)
        ok = writeBytes(file, bytes.subspan(at, std::min(kChunk, bytes.size() - at)));
#ifndef _WIN32
    if (ok)
        ok = setKeptMode(file, old);
#endif
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
    flushFolder(folderOf(target));
#endif
    return std::nullopt;
}

} // namespace klavoset
