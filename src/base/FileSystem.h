// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileBytes.h"
#include "base/Result.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace klavoset {

struct FileError
{
    enum class Stage {
        Open,     // the file could not be opened or created at all
        Transfer, // it was opened, but reading, writing, flushing or replacing it failed
    };
    Stage stage = Stage::Open;
    std::string reason; // the system's words, for a message box
    // A file refused for holding more than it was read under (readAtMost): its size, or the bytes found.
    std::uintmax_t tooLarge = 0;
};

// The only way the engine touches files, so that a test can swap in a file layer that fails on purpose.
class FileSystem
{
  public:
    virtual ~FileSystem() = default;

    // Reads the whole file. Opens read-only and never creates anything; a directory is refused. Anything
    // but a regular file (a FIFO, a device) is refused at once, without waiting, and so is a file that
    // yields fewer bytes than its size said (it was shortened meanwhile): both as reading failed.
    [[nodiscard]] virtual Result<FileBytes, FileError> readAll(const std::u16string& path) = 0;

    // Reads the file as readAll does when it holds at most `limit` bytes; a larger one is refused as too
    // large (FileError::tooLarge), having read no more than limit + 1 bytes of it.
    [[nodiscard]] virtual Result<FileBytes, FileError> readAtMost(const std::u16string& path,
                                                                  std::uintmax_t limit);

    // True when the file can be opened for reading as readAll would.
    [[nodiscard]] virtual bool canRead(const std::u16string& path) = 0;

    // Replaces the file with exactly `bytes`: written to a temporary file beside it, flushed to disk, then
    // renamed over it. On failure the old file is untouched and the temporary file is gone. Only a regular
    // file is replaced; a symbolic link is followed only when the saver or its folder's owner made it.
    [[nodiscard]] virtual std::optional<FileError> writeAtomically(const std::u16string& path,
                                                                   std::span<const std::uint8_t> bytes) = 0;
};

// Why the folder `path` is no place for the user's own files, or nothing: one owned by another user, or
// one that others may write to without the sticky bit, lets them swap its files for theirs. Nothing on
// Windows, and nothing for a folder that cannot be looked at (whoever writes there is told then).
[[nodiscard]] std::optional<std::string> sharedFolderFault(const std::u16string& path);

class RealFileSystem : public FileSystem
{
  public:
    // Fullflash images are a few MiB; anything past this is not one and is not read into memory.
    static constexpr std::uintmax_t kMaxFileSize = 1u << 30;

    // How readAll holds a file. A copy is the editor's own whatever happens to the file later. A map costs
    // only the pages read, but shows what another program writes into the file meanwhile and ends the
    // process if it shortens it (guardMappedFiles): for a command that is over in milliseconds. Files
    // under kMapFrom bytes, and any file the system cannot map, are copied.
    enum class Reading { Copy, Map };
    static constexpr std::size_t kMapFrom = std::size_t{1} << 20;

    explicit RealFileSystem(Reading reading = Reading::Copy) : m_reading(reading) {}

    Result<FileBytes, FileError> readAll(const std::u16string& path) override;
    Result<FileBytes, FileError> readAtMost(const std::u16string& path, std::uintmax_t limit) override;
    bool canRead(const std::u16string& path) override;
    std::optional<FileError> writeAtomically(const std::u16string& path,
                                             std::span<const std::uint8_t> bytes) override;

  protected:
    // One read into `into`, the bytes it got; a test subclass makes it come up short.
    [[nodiscard]] virtual std::size_t readBytes(std::FILE* file, std::span<std::uint8_t> into);
    // One write of the temporary file; a test subclass makes it fail to simulate a full disk.
    [[nodiscard]] virtual bool writeBytes(std::FILE* file, std::span<const std::uint8_t> bytes);
    // Flushes the temporary file to the disk; a test subclass makes it fail as a failing disk does.
    [[nodiscard]] virtual bool flushToDisk(std::FILE* file);

  private:
    Reading m_reading;
};

} // namespace klavoset
