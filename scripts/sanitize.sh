#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ (or
# $ASAN_BUILD_DIR) and runs every test there; any sanitizer report (an error, undefined behaviour or a
# leak) ends its program with a failure, so the test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build_dir=${ASAN_BUILD_DIR:-build-asan}
BUILD_DIR=$build_dir BUILD_TYPE=Debug ./scripts/build.sh -DKLAVOSET_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
