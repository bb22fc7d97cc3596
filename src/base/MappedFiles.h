// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>

// Files are mapped on Unix systems; Windows and the browser page read every file into memory.
#if defined(__unix__) && !defined(__EMSCRIPTEN__)
#define KLAVOSET_MAPPED_FILES 1
#endif

namespace klavoset {

// A file read by mapping it, rather than copying it, is only as long as the file: another program that
// shortens it meanwhile makes the next read of a page past its new end raise SIGBUS, as does a page the
// system fails to read (a disk or network error). A program that maps files calls this once; such a fault
// then prints `message` to stderr, removes the temporary file of a save in progress and ends the process
// with `exitCode`. Any other fault is left to the system. A no-op where files are not mapped.
void guardMappedFiles(std::string_view message, int exitCode);

// The places the guard answers for: a mapping while it lives (up to eight at a time), the temporary file
// of a save while it is written (one at a time; a path too long to be held is simply not removed).
void noteMappedFile(const void* start, std::size_t size) noexcept;
void forgetMappedFile(const void* start) noexcept;
void notePendingFile(std::string_view path) noexcept;
void forgetPendingFile() noexcept;

} // namespace klavoset
