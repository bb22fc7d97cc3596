// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/MappedFiles.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#ifdef KLAVOSET_MAPPED_FILES
#include <csignal>
#include <unistd.h>
#endif

namespace klavoset {

#ifdef KLAVOSET_MAPPED_FILES
namespace {

// Plain atomics in fixed storage: the handler may read nothing else.
struct Mapping
{
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::size_t> size{0};
};
Mapping g_mappings[8];
constexpr std::uintptr_t kClaimed = 1; // a slot being filled: its size may not be there yet

char g_pending[4096];
std::atomic<bool> g_hasPending{false};

char g_message[512];
std::size_t g_messageLength = 0;
int g_exitCode = 1;

bool inMappedFile(std::uintptr_t at)
{
    for (const Mapping& m : g_mappings) {
        const std::uintptr_t start = m.start.load();
        if (start > kClaimed && at >= start && at - start < m.size.load())
            return true;
    }
    return false;
}

void onBusError(int, siginfo_t* info, void*)
{
    if (!inMappedFile(reinterpret_cast<std::uintptr_t>(info->si_addr))) {
        // Not ours: the system's own action, once this handler returns.
        ::signal(SIGBUS, SIG_DFL);
        ::raise(SIGBUS);
        return;
    }
    if (g_hasPending.load())
        ::unlink(g_pending);
    for (std::size_t done = 0; done < g_messageLength;) {
        const ssize_t n = ::write(STDERR_FILENO, g_message + done, g_messageLength - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::_exit(g_exitCode);
}

} // namespace

void guardMappedFiles(std::string_view message, int exitCode)
{
    g_messageLength = std::min(message.size(), sizeof g_message);
    std::copy_n(message.begin(), g_messageLength, g_message);
    g_exitCode = exitCode;
    struct sigaction action
    {
    };
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, nullptr);
}

void noteMappedFile(const void* start, std::size_t size) noexcept
{
    for (Mapping& m : g_mappings) {
        std::uintptr_t empty = 0;
        if (m.start.compare_exchange_strong(empty, kClaimed)) {
            m.size.store(size);
            m.start.store(reinterpret_cast<std::uintptr_t>(start));
            return;
        }
    }
}

void forgetMappedFile(const void* start) noexcept
{
    for (Mapping& m : g_mappings) {
        auto at = reinterpret_cast<std::uintptr_t>(start);
        if (m.start.compare_exchange_strong(at, 0))
            return;
    }
}

void notePendingFile(std::string_view path) noexcept
{
    g_hasPending.store(false);
    if (path.size() >= sizeof g_pending)
        return;
    std::copy(path.begin(), path.end(), g_pending);
    g_pending[path.size()] = '\0';
    g_hasPending.store(true);
}

void forgetPendingFile() noexcept { g_hasPending.store(false); }

#else

void guardMappedFiles(std::string_view, int) {}
void noteMappedFile(const void*, std::size_t) noexcept {}
void forgetMappedFile(const void*) noexcept {}
void notePendingFile(std::string_view) noexcept {}
void forgetPendingFile() noexcept {}

#endif

} // namespace klavoset
