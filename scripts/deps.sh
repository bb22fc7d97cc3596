#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages the build and the tests need; only what is missing, and only as root.
set -euo pipefail

packages=(cmake make g++ pkg-config git
          libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libglib2.0-dev
          clang clang-format libclang-rt-14-dev dpkg-dev shared-mime-info desktop-file-utils libxml2-utils time
          lintian appstream help2man reuse
          g++-mingw-w64-x86-64-posix googletest wine wine64 zip
          emscripten nodejs chromium firefox-esr)
# npm comes with some builds of nodejs; Debian's own nodejs needs its npm package.
command -v npm >/dev/null || packages+=(npm)
if [ "$#" -gt 0 ]; then packages+=("$@"); fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run this as root, or install them with apt-get." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
