// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FailingCalls.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace klavoset::test {
namespace {

struct Armed
{
    std::atomic<int> error{0};
    std::atomic<int> countdown{0};
};
Armed g_armed[static_cast<int>(SystemCall::Count)];

// True, with errno set, when this call is the one to fail.
bool failsNow(SystemCall call)
{
    Armed& a = g_armed[static_cast<int>(call)];
    if (a.error.load() == 0 || a.countdown.fetch_sub(1) != 1)
        return false;
    errno = a.error.exchange(0);
    return true;
}

} // namespace

void failCall(SystemCall call, int error, int nth)
{
    Armed& a = g_armed[static_cast<int>(call)];
    a.countdown.store(nth);
    a.error.store(error);
}

} // namespace klavoset::test

using klavoset::test::failsNow;
using klavoset::test::SystemCall;

extern "C" {
int __real_fstat(int fd, struct stat* st);
std::FILE* __real_fdopen(int fd, const char* mode);
void* __real_mmap(void* at, std::size_t size, int protection, int flags, int fd, off_t offset);
int __real_fchmod(int fd, mode_t mode);
int __real_fsync(int fd);
int __real_fclose(std::FILE* file);

int __wrap_fstat(int fd, struct stat* st) { return failsNow(SystemCall::Fstat) ? -1 : __real_fstat(fd, st); }
std::FILE* __wrap_fdopen(int fd, const char* mode)
{
    return failsNow(SystemCall::Fdopen) ? nullptr : __real_fdopen(fd, mode);
}
void* __wrap_mmap(void* at, std::size_t size, int protection, int flags, int fd, off_t offset)
{
    if (fd >= 0 && failsNow(SystemCall::Mmap))
        return MAP_FAILED;
    return __real_mmap(at, size, protection, flags, fd, offset);
}
int __wrap_fchmod(int fd, mode_t mode) { return failsNow(SystemCall::Fchmod) ? -1 : __real_fchmod(fd, mode); }
int __wrap_fsync(int fd) { return failsNow(SystemCall::Fsync) ? -1 : __real_fsync(fd); }
int __wrap_fclose(std::FILE* file)
{
    const int closed = __real_fclose(file);
    return failsNow(SystemCall::Fclose) ? -1 : closed;
}
}
