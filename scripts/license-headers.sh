#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every tracked source, script and build file that lacks them the copyright and licence lines, in
# the file's own comment syntax (after a #! line), with `reuse annotate`. Files that cannot carry such
# lines (pictures, data, documents) are annotated in REUSE.toml instead. Running it again changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

# All in functions: this script is among the files it annotates, and bash reads a script as it runs it.
annotate() {
    reuse annotate --copyright "Klavoset developers" --license GPL-3.0-or-later --skip-existing "$@" \
        2> >(grep -v 'could not find supported VCS' >&2) >/dev/null
}
main() {
    local by_name=() # reuse knows the comment syntax from the name
    local hashed=() # files it does not know that take # comments: scripts without an extension, YAML dot files
    local templates=() # C++ files that CMake fills in
    while IFS= read -r -d '' f; do
        [ -f "$f" ] || continue
        case "$f" in
        *.cpp | *.cc | *.c | *.h | *.hpp | *.js | *.mjs | *.cjs | *.css | *.html | *.cmake | *.sh | *.py | \
            *.yml | *.yaml | CMakeLists.txt | */CMakeLists.txt | .gitignore | */.gitignore)
            by_name+=("$f")
            ;;
        .clang-format | */.clang-format) hashed+=("$f") ;;
        *.h.in | *.cpp.in) templates+=("$f") ;;
        *) if [ "$(head -c 2 "$f")" = '#!' ]; then hashed+=("$f"); fi ;;
        esac
    done < <(git ls-files -z)
    if [ "${#by_name[@]}" -gt 0 ]; then annotate -- "${by_name[@]}"; fi
    if [ "${#hashed[@]}" -gt 0 ]; then annotate --style python -- "${hashed[@]}"; fi
    if [ "${#templates[@]}" -gt 0 ]; then annotate --style c --single-line -- "${templates[@]}"; fi
}
main; exit
