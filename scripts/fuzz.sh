#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the sanitizers into build-fuzz/ (or $FUZZ_BUILD_DIR),
# writes their seed corpora with the image builder, and runs each target for FUZZ_SECONDS (default 60).
# Fails on any crash, leak, hang, sanitizer report or broken invariant; the input is kept in
# build-fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLAVOSET_FUZZ=ON \
    -DKLAVOSET_BUILD_UI=OFF -DKLAVOSET_BUILD_TESTS=OFF -DKLAVOSET_WERROR=ON >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

seeds="$build_dir/seeds"
rm -rf "$seeds"
"$build_dir/bin/fuzz_seeds" "$seeds"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# target and its longest input: a fullflash needs room for the largest seed image
targets=("fullflash 8388608" "layoutfile 65536" "fieldtexts 16384")
failed=0
for entry in "${targets[@]}"; do
    read -r target max_len <<<"$entry"
    corpus="$build_dir/corpus/$target"
    artifacts="$build_dir/artifacts/$target"
    log="$build_dir/fuzz-$target.log"
    mkdir -p "$corpus" "$artifacts"
    echo "fuzz_$target: ${seconds} s"
    if "$build_dir/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -max_len="$max_len" -artifact_prefix="$artifacts/" -print_final_stats=1 \
        "$corpus" "$seeds/$target" >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | sed 's/^/  /'
    else
        echo "fuzz_$target FAILED; the last lines of $log:" >&2
        tail -n 60 "$log" >&2
        failed=1
    fi
done
exit "$failed"
