#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the demo fullflash build/demo/demo.bin with the command-line tool and prints its path; prints
# nothing (and succeeds) when the tool cannot make one.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/demo
rm -f build/demo/demo.bin
if ./build/bin/klavoset-cli demo-image -o build/demo/demo.bin >/dev/null 2>&1 && [ -s build/demo/demo.bin ]; then
    echo build/demo/demo.bin
fi
