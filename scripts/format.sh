#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Formats every C++ source of the project as .clang-format says. With --check it changes nothing: it lists
# the files that are not formatted and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files -- 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' 'fuzz/*.h' 'fuzz/*.cpp' \
                                       'bench/*.h' 'bench/*.cpp')
if [ "${1:-}" != --check ]; then
    clang-format -i "${sources[@]}"
    exit 0
fi
unformatted=()
for file in "${sources[@]}"; do
    if ! clang-format "$file" | cmp -s - "$file"; then
        unformatted+=("$file")
    fi
done
if [ "${#unformatted[@]}" -gt 0 ]; then
    printf 'not formatted: %s\n' "${unformatted[@]}"
    echo "${#unformatted[@]} of ${#sources[@]} sources are not formatted; ./scripts/format.sh formats them"
    exit 1
fi
echo "format: all ${#sources[@]} sources formatted"
