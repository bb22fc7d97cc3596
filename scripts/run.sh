#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds, and opens the window on the given file, or on a demo fullflash.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
if [ "$#" -eq 0 ]; then
    demo=$(./scripts/demo.sh)
    if [ -n "$demo" ]; then set -- "$demo"; fi
fi
if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    # No screen to open the window on: show what it would look like instead.
    echo "No display: the window is rendered into build/window.png instead." >&2
    QT_QPA_PLATFORM=offscreen ./build/bin/klavoset --screenshot build/window.png "$@"
    exit
fi
exec ./build/bin/klavoset "$@"
