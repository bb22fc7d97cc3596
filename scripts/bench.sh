#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the benchmarks in Release into build-bench/ (or $BENCH_BUILD_DIR), then measures in one run on a
# 16 MiB demo fullflash: the command-line tool and the window as whole processes beside the plain tools a
# user would compare them with (medians of $BENCH_RUNS interleaved runs, peak memory), and each editor
# operation in process beside the plain code for the same job; the tool and the window with 20,000
# firmware descriptions in their data folder beside none. Fails when a ratio misses its limit.
# Extra arguments go to the in-process benchmarks (e.g. --benchmark_filter=Vkp).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build_dir=${BENCH_BUILD_DIR:-build-bench}
BUILD_DIR=$build_dir BUILD_TYPE=Release ./scripts/build.sh -DKLAVOSET_BUILD_BENCH=ON -DKLAVOSET_BUILD_TESTS=OFF
bin=$(cd "$build_dir/bin" && pwd)

files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
"$bin/klavoset-cli" demo-image -o "$files/demo.bin" >/dev/null
cp "$files/demo.bin" "$files/copy.bin"
"$bin/bench_files" "$files" # edits.lay: a dozen characters changed; the data folders many-, no-descriptions
image_kib=$(( $(stat -c %s "$files/demo.bin") / 1024 ))
memory_limit=$(( image_kib + 8 * 1024 ))

tab=$'\t'
# Two races one after the other: the command-line tool beside the plain tools, then the window beside the
# minimal Qt program. A window run between two runs of a 5 ms command disturbs it (tens of MiB mapped and
# freed), and the plain tools far less than the tool, which reads into fresh memory.
tools="$files/tools.txt"
{
    echo "case${tab}cat${tab}cat $files/demo.bin"
    echo "case${tab}show --json${tab}$bin/klavoset-cli show $files/demo.bin --json"
    echo "case${tab}cmp${tab}cmp $files/demo.bin $files/copy.bin"
    echo "case${tab}apply --vkp${tab}$bin/klavoset-cli apply $files/demo.bin $files/edits.lay --vkp $files/out.vkp"
    echo "case${tab}cp && sync${tab}cp $files/demo.bin $files/plain.bin && sync $files/plain.bin"
    # Every command reads every description: they load in n log n, a few hundred ms for 20,000.
    echo "case${tab}show, 20,000 descriptions${tab}env XDG_DATA_HOME=$files/many-descriptions $bin/klavoset-cli show $files/demo.bin --json"
    echo "case${tab}apply -o${tab}$bin/klavoset-cli apply $files/demo.bin $files/edits.lay -o $files/out.bin"
    echo "time${tab}klavoset-cli show --json / cat IMAGE${tab}show --json${tab}cat${tab}1.2"
    echo "time${tab}klavoset-cli apply --vkp / cmp IMAGE COPY${tab}apply --vkp${tab}cmp${tab}1.0"
    echo "time${tab}klavoset-cli apply -o OUT / cp IMAGE OUT && sync OUT${tab}apply -o${tab}cp && sync${tab}1.2"
    echo "memory${tab}peak memory of show / image + 8 MiB${tab}show --json${tab}$memory_limit"
    echo "memory${tab}peak memory of apply --vkp / image + 8 MiB${tab}apply --vkp${tab}$memory_limit"
} >"$tools"
windows="$files/windows.txt"
{
    echo "frame${tab}minimal Qt window${tab}$bin/bench_minimal_window"
    echo "frame${tab}window with the demo image${tab}$bin/bench_window_startup $files/demo.bin"
    echo "time${tab}window to first frame / minimal Qt window${tab}window with the demo image${tab}minimal Qt window${tab}1.3"
    # Read only for a firmware the table lacks: the table's firmware opens as fast with any number of them.
    echo "frame${tab}window, no descriptions${tab}env XDG_DATA_HOME=$files/no-descriptions $bin/bench_window_startup $files/demo.bin"
    echo "frame${tab}window, 20,000 descriptions${tab}env XDG_DATA_HOME=$files/many-descriptions $bin/bench_window_startup $files/demo.bin"
    echo "time${tab}window: 20,000 descriptions / none${tab}window, 20,000 descriptions${tab}window, no descriptions${tab}1.2"
} >"$windows"

failed=0
for plan in "$tools" "$windows"; do
    QT_QPA_PLATFORM=offscreen "$bin/bench_race" "${BENCH_RUNS:-15}" "$plan" || failed=1
done
cmp -s "$files/demo.bin" "$files/copy.bin" || { echo "the image was changed"; failed=1; }

echo
echo "In process (Google Benchmark), repetitions interleaved at random:"
# Repetitions interleaved at random, so that a burst of load on the shared machine hits both sides.
"$bin/bench_editor" --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@" || failed=1
exit "$failed"
