#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails on any include in src/ that points up or sideways against the layers: a folder may include only
# itself and the folders listed for it below. Keep this table and docs/HACKING.md in step.
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A allowed=(
    [base]="base"
    [image]="base image"
    [codec]="base image codec"
    [layoutfile]="base image codec layoutfile"
    [writers]="base image codec writers"
    [core]="base image codec layoutfile writers core"
    [descriptions]="base image descriptions"
    [cli]="base image codec layoutfile writers core descriptions cli"
    [ui]="base image codec layoutfile writers core descriptions ui"
    [web]="base image codec layoutfile writers core descriptions web"
)

status=0
for dir in */; do
    dir=${dir%/}
    if [ -z "${allowed[$dir]+set}" ]; then
        echo "src/$dir: a folder the layer table does not know; add it to scripts/check-layers.sh"
        status=1
        continue
    fi
    while IFS=: read -r file line target; do
        folder=${target%%/*}
        [ "$folder" = "$target" ] && continue # no folder: a generated file such as a moc output
        if [[ " ${allowed[$dir]} " != *" $folder "* ]]; then
            echo "src/$file:$line: $dir/ may not include $target"
            status=1
        fi
    done < <(grep -rnoE '^#include "[^"]+"' "$dir" --include='*.h' --include='*.cpp' |
             sed -E 's/#include "([^"]+)"/\1/')
done
[ "$status" = 0 ] && echo "layers: every include points down"
exit "$status"
