#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser page and drives it in headless Chromium against the klavoset-cli of build/ (run
# ./scripts/build.sh first). npm installs the pinned driver from the lock file; no browser is downloaded.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/web.sh
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/page.test.mjs
