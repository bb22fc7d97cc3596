// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace klavoset::test {

// System calls of the file layer that a test makes fail where the engine makes them: the test program is
// linked with -Wl,--wrap for each, so the real code path runs up to the call, not an override of it.
enum class SystemCall { Fstat, Fdopen, Mmap, Fchmod, Fsync, Fclose, Count };

// The `nth` next call of `call` fails with `error`, once (the stream still closed, for fclose). Of mmap,
// only mappings of a file count: anonymous memory is left alone.
void failCall(SystemCall call, int error, int nth = 1);

} // namespace klavoset::test
