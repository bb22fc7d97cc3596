#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ (or $BENCH_BUILD_DIR) and prints, measured side by
# side in one run on a 16 MiB synthetic image, each editor operation against its plain counterpart, then
# the peak memory of `klavoset-cli apply --vkp` and the window's start-up time. Fails when a ratio misses
# its limit. Extra arguments go to the benchmark program (e.g. --benchmark_filter=Vkp).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build_dir=${BENCH_BUILD_DIR:-build-bench}
BUILD_DIR=$build_dir BUILD_TYPE=Release ./scripts/build.sh -DKLAVOSET_BUILD_BENCH=ON -DKLAVOSET_BUILD_TESTS=OFF

failed=0
# Repetitions interleaved at random, so that a burst of load on the shared machine hits both sides.
"$build_dir/bin/bench_editor" --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@" || failed=1

# Peak memory of applying a layout file as a patch to the 16 MiB image: at most 3 x image + 25 MiB.
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
"$build_dir/bin/bench_files" "$files"
limit_kib=$(( (3 * 16 + 25) * 1024 ))
if /usr/bin/time -v -o "$files/time.txt" "$build_dir/bin/klavoset-cli" apply "$files/image.bin" \
    "$files/edits.lay" --vkp "$files/out.vkp" >"$files/cli.txt" 2>&1; then
    peak_kib=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$files/time.txt")
    status=ok
    if [ "$peak_kib" -gt "$limit_kib" ]; then status=MISSED; failed=1; fi
    printf '  %-58s %5.2f  (%d MiB, limit 3 x 16 + 25 = %d MiB)  %s\n' \
        "peak memory of klavoset-cli apply --vkp / limit" \
        "$(awk "BEGIN {print $peak_kib / $limit_kib}")" $((peak_kib / 1024)) $((limit_kib / 1024)) "$status"
else
    printf '  %-58s not measured (%s)\n' "peak memory of klavoset-cli apply --vkp" "$(head -n 1 "$files/cli.txt")"
fi
# Window start-up to its first frame with the demo image loaded, offscreen: reported, no limit.
if [ -x "$build_dir/bin/bench_window_startup" ] &&
    "$build_dir/bin/klavoset-cli" demo-image -o "$files/demo.bin" >/dev/null 2>&1; then
    in_main=() whole=()
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        ms=$(QT_QPA_PLATFORM=offscreen "$build_dir/bin/bench_window_startup" "$files/demo.bin" 2>"$files/window.txt")
        whole+=($(( ($(date +%s%N) - start) / 1000000 )))
        in_main+=("$ms")
    done
    median() { printf '%s\n' "$@" | sort -n | sed -n 3p; }
    printf '  %-58s %d ms from main, %d ms from process start to exit (median of 5)\n' \
        "window start-up to first frame, offscreen, demo image" "$(median "${in_main[@]}")" "$(median "${whole[@]}")"
else
    printf '  %-58s not measured (no window or no demo image)\n' "window start-up to first frame"
fi
exit "$failed"
