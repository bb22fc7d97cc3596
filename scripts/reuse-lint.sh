#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks that every file of the tree states its copyright and licence (`reuse lint`). The files that
# cannot carry a header are annotated in REUSE.toml, which reuse reads from version 4 on; the reuse of
# Debian 12 (1.x) reads the older .reuse/dep5 instead, so for it the same annotations are written in that
# form into a copy of the tree, and the copy is checked.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! reuse --version | grep -qE '^reuse [0-3]\.'; then
    exec reuse lint
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do
    [ -e "$f" ] && printf '%s\0' "$f"
done | tar --null -T - -cf - | tar -xf - -C "$tmp"
rm "$tmp/REUSE.toml"
mkdir -p "$tmp/.reuse"
python3 - REUSE.toml >"$tmp/.reuse/dep5" <<'PY'
import sys, tomllib

def as_list(value):
    return value if isinstance(value, list) else [value]

with open(sys.argv[1], "rb") as f:
    toml = tomllib.load(f)
print("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/")
print("Upstream-Name:", toml.get("SPDX-PackageName", ""))
for note in toml.get("annotations", []):
    # In dep5 a * crosses folders, as ** does in REUSE.toml.
    print()
    print("Files:", " ".join(p.replace("**", "*") for p in as_list(note["path"])))
    print("Copyright:", "\n ".join(as_list(note["SPDX-FileCopyrightText"])))
    print("License:", " AND ".join(as_list(note["SPDX-License-Identifier"])))
PY
reuse --root "$tmp" lint 2> >(grep -v "could not find supported VCS" >&2)
