#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser page and drives it in headless Chromium and headless Firefox against the klavoset-cli
# of build/ (run ./scripts/build.sh first). npm installs the pinned driver from the lock file; no browser is
# downloaded: both are Debian's. KLAVOSET_BROWSERS=firefox (or chromium) runs the tests in one alone.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/web.sh
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/page.test.mjs
