#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build and its tests, the Debian
# package, then the whole suite again under the address and undefined-behaviour sanitizers, then each
# fuzz target for a bounded time. KLAVOSET_QUICK=1 stops after the package.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"
./scripts/package.sh

if [ "${KLAVOSET_QUICK:-0}" = 1 ]; then
    echo "KLAVOSET_QUICK=1: the sanitizer build and the fuzz runs were skipped"
    exit 0
fi
./scripts/sanitize.sh
./scripts/fuzz.sh
