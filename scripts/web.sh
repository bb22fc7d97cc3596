#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser page: the engine compiled by emscripten, inlined with the page's script and style
# into one file, build-web/klavoset.html, that opens from disk with no network and no server.
set -euo pipefail
cd "$(dirname "$0")/.."

# nlohmann-json is header-only: as for the Windows build, the WebAssembly build gets a copy of its headers
# and CMake files, so that nothing points emscripten at the host's /usr/include.
deps=$PWD/build-web/deps
json_dir=$deps/share/cmake/nlohmann_json
if [ ! -f "$json_dir/nlohmann_jsonConfig.cmake" ]; then
    mkdir -p "$deps/include" "$deps/share/cmake"
    cp -r /usr/include/nlohmann "$deps/include/"
    cp -r /usr/share/cmake/nlohmann_json "$deps/share/cmake/"
fi
# Configured once; again when the cache predates the copy (a build-web/ of an earlier version).
if ! grep -qx "nlohmann_json_DIR:PATH=$json_dir" build-web/CMakeCache.txt 2>/dev/null; then
    emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
        -DKLAVOSET_BUILD_UI=OFF -DKLAVOSET_BUILD_TESTS=OFF -Dnlohmann_json_DIR:PATH="$json_dir" >/dev/null
fi
cmake --build build-web -j "$(nproc)"
echo "build-web/klavoset.html"
