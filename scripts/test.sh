#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds, and runs every test: the normal build and its tests, the Debian
# package, the licence check, then the Windows build under Wine, the page, the whole suite again under the
# address and undefined-behaviour sanitizers, then the fuzz regression runs (KLAVOSET_QUICK=1 skips these).
# The include layers are checked first and the formatting last. Prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."

timings=()
stage() {
    local name=$1 start=$SECONDS
    shift
    echo "== $name"
    "$@"
    timings+=("$(printf '%-10s %5d s' "$name" $((SECONDS - start)))")
}
report() {
    echo "== stage times"
    printf '  %s\n' "${timings[@]}"
    echo "  total      $(printf '%5d' "$SECONDS") s"
}
trap report EXIT

stage deps ./scripts/deps.sh
stage layers ./scripts/check-layers.sh
stage build ./scripts/build.sh
stage tests env QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
stage package ./scripts/package.sh
stage reuse ./scripts/reuse-lint.sh

if [ "${KLAVOSET_QUICK:-0}" = 1 ]; then
    echo "KLAVOSET_QUICK=1: the Windows build, the page, the sanitizer build and the fuzz runs were skipped"
else
    stage windows ./scripts/windows.sh
    stage web ./scripts/web-test.sh
    stage sanitize ./scripts/sanitize.sh
    stage fuzz ./scripts/fuzz.sh
fi
# Last, so that an unformatted line does not keep the tests from running.
stage format ./scripts/format.sh --check
