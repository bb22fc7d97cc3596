#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
exec ./build/bin/klavoset-cli "$@"
