#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser page: the engine compiled by emscripten, inlined with the page's script and style
# into one file, build-web/klavoset.html, that opens from disk with no network and no server.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -f build-web/CMakeCache.txt ]; then
    emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
        -DKLAVOSET_BUILD_UI=OFF -DKLAVOSET_BUILD_TESTS=OFF >/dev/null
fi
cmake --build build-web -j "$(nproc)"
echo "build-web/klavoset.html"
