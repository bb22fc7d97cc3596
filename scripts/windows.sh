#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Cross-builds the engine, klavoset-cli.exe and the engine's unit tests for 64-bit Windows with MinGW-w64
# into build-win/, runs the tests and a short session of the tool under Wine, compares every file the tool
# wrote with what the Linux build writes, and packs build-win/klavoset-cli-VERSION-win64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-win
deps=$out/deps
toolchain=$root/cmake/mingw-w64-x86_64.cmake
mkdir -p "$out"

# Wine keeps its Windows in a prefix of our own, made once; no Mono or Gecko installer, no debug chatter.
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
wine_run() { timeout --kill-after=10 "${WINE_TIMEOUT:-600}" wine "$@"; }
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # The first start builds the prefix; a half-made one from an interrupted run is started over.
    rm -rf "$WINEPREFIX"
    if ! WINE_TIMEOUT=300 wine_run wineboot --init >"$out/wineboot.log" 2>&1 || ! wineserver -w; then
        cat "$out/wineboot.log" >&2
        echo "windows: wine could not set up $WINEPREFIX" >&2
        exit 1
    fi
fi

# nlohmann-json is header-only: the cross build gets a copy of its headers and CMake files, so that
# nothing points it at the host's /usr/include. GoogleTest is built from Debian's sources.
json_cmake=/usr/share/cmake/nlohmann_json
if [ ! -f "$deps/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" ]; then
    mkdir -p "$deps/include" "$deps/share/cmake"
    cp -r /usr/include/nlohmann "$deps/include/"
    cp -r "$json_cmake" "$deps/share/cmake/"
fi
if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$out/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=ON >/dev/null
    cmake --build "$out/googletest" -j "$(nproc)" >/dev/null
    cmake --install "$out/googletest" >/dev/null
fi

tests=(test_base test_core test_image test_codec test_writers test_layoutfile test_descriptions)
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DKLAVOSET_BUILD_UI=OFF -DKLAVOSET_WERROR=ON \
    -Dnlohmann_json_DIR="$deps/share/cmake/nlohmann_json" -DGTest_DIR="$deps/lib/cmake/GTest" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$out" -j "$(nproc)" --target klavoset-cli "${tests[@]}"
exe=$out/bin/klavoset-cli.exe

failed=0
# Statically linked: it may import from Windows' own DLLs only.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p')
if grep -viE '^(kernel32|msvcrt|user32|advapi32|shell32|ws2_32)\.dll$' <<<"$dlls"; then
    echo "windows: klavoset-cli.exe needs DLLs a bare Windows lacks" >&2
    failed=1
fi

for t in "${tests[@]}"; do
    echo "windows: $t"
    if ! (cd "$out/bin" && wine_run "./$t.exe" --gtest_brief=1); then
        echo "windows: $t failed under wine" >&2
        failed=1
    fi
done

# The same session with both builds: a demo image, its layouts exported, an edited layout file applied
# over an existing copy of the image, and as a patch. Every file must be byte for byte the same.
linux_cli=$root/build/bin/klavoset-cli
if [ ! -x "$linux_cli" ]; then
    cmake -S . -B build -DKLAVOSET_BUILD_UI=OFF >/dev/null
    cmake --build build -j "$(nproc)" --target klavoset-cli
fi
session() { # RUNNER DIR; in a subshell, each step stops it on failure
    local run=$1 dir=$2
    rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" &&
        $run demo-image -o demo.bin &&
        $run export demo.bin -o demo.lay &&
        # The edit: key 2 of the first layout becomes "XYZ2" (UTF-16 text, so through iconv).
        iconv -f UTF-16LE -t UTF-8 demo.lay | sed '1s/^\([^\t]*\t\)[^\t]*/\1XYZ2/' |
        iconv -f UTF-8 -t UTF-16LE >edited.lay &&
        cp demo.bin flashed.bin &&
        $run apply flashed.bin edited.lay -o flashed.bin &&
        $run apply demo.bin edited.lay --wap en --vkp edited.vkp &&
        $run show flashed.bin --json | tr -d '\r' >show.json
}
win_cli() { wine_run "$exe" "$@"; }
if ! (session "$linux_cli" "$out/session-linux") || ! (session win_cli "$out/session-windows"); then
    echo "windows: the session failed" >&2
    failed=1
else
    for f in demo.bin demo.lay edited.lay flashed.bin edited.vkp show.json; do
        if ! cmp "$out/session-linux/$f" "$out/session-windows/$f"; then
            echo "windows: $f differs between the Linux and the Windows build" >&2
            failed=1
        fi
    done
    if cmp -s "$out/session-linux/demo.bin" "$out/session-linux/flashed.bin" ||
        [ ! -s "$out/session-linux/edited.vkp" ]; then
        echo "windows: the edited layout changed nothing, so the session proves nothing" >&2
        failed=1
    fi
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
name=klavoset-cli-$version-win64
rm -rf "${out:?}/$name" "$out/$name.zip"
mkdir "$out/$name"
x86_64-w64-mingw32-strip -o "$out/$name/klavoset-cli.exe" "$exe"
cp README.md "$out/$name/README.md"
cp LICENSE "$out/$name/LICENSE.txt"
(cd "$out" && zip -qrX "$name.zip" "$name")
echo "windows: $out/$name.zip"
exit "$failed"
