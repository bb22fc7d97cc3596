#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Renders the window offscreen with the demo fullflash loaded into docs/screenshot.png (or FILE).
# Usage: scripts/screenshot.sh [FILE] [FULLFLASH]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
out=${1:-docs/screenshot.png}
image=${2:-$(./scripts/demo.sh)}
if [ -z "$image" ]; then echo "No demo fullflash: the window is shown as it starts." >&2; fi
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen ./build/bin/klavoset --screenshot "$out" ${image:+"$image"}
echo "$out"
