#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the fuzz targets with clang, libFuzzer and the sanitizers into build-fuzz/ (or $FUZZ_BUILD_DIR)
# and writes their seed corpora with the image builder.
#
#   ./scripts/fuzz.sh                    the regression run, the same on every run: each target replays
#                                        fuzz/regressions/TARGET/ first, then its seed corpus plus a fixed
#                                        number of new inputs from a fixed seed, the same ones on every
#                                        run where the system lets it turn address randomisation off
#   ./scripts/fuzz.sh --explore [SECONDS] random exploration for SECONDS per target (default 600), the
#                                        corpus kept in build-fuzz/corpus/TARGET/ from one run to the next;
#                                        FUZZ_TARGETS="fieldtexts ..." chooses the targets
#
# Fails on any crash, leak, hang, sanitizer report or broken invariant; the input is kept in
# build-fuzz/artifacts/TARGET/ and a command that reproduces it is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=regression
seconds=600
if [ "${1:-}" = --explore ]; then
    mode=explore
    seconds=${2:-600}
elif [ $# -gt 0 ]; then
    echo "usage: $0 [--explore [SECONDS]]" >&2
    exit 2
fi
./scripts/deps.sh
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLAVOSET_FUZZ=ON \
    -DKLAVOSET_BUILD_UI=OFF -DKLAVOSET_BUILD_TESTS=OFF -DKLAVOSET_WERROR=ON >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

seeds="$build_dir/seeds"
rm -rf "$seeds"
"$build_dir/bin/fuzz_seeds" "$seeds"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Prints a command that runs the failing input again: the bytes themselves when they are few.
reproduce() {
    local target=$1 input=$2
    echo "to run it again:" >&2
    if [ "$(stat -c %s "$input")" -le 4096 ]; then
        echo "  base64 -d <<<'$(base64 -w0 "$input")' >/tmp/fuzz-input && $build_dir/bin/fuzz_$target /tmp/fuzz-input" >&2
    else
        echo "  $build_dir/bin/fuzz_$target $input" >&2
    fi
    echo "once mended, keep it (if it is small) in fuzz/regressions/$target/" >&2
}

# A regression run must try the same inputs every time: libFuzzer's choices then depend on nothing but
# the seed once the addresses it sees in comparisons (use_cmp), the corpus it rereads on a timer
# (reload) and, where the system lets us, the addresses themselves (setarch -R) are left out.
steady=()
if [ "$mode" = regression ] && setarch "$(uname -m)" -R true 2>/dev/null; then
    steady=(setarch "$(uname -m)" -R)
elif [ "$mode" = regression ]; then
    echo "note: address randomisation stays on here, so the new inputs may differ from run to run" >&2
fi

# Runs libFuzzer; on failure shows the end of the log and how to reproduce the input it kept.
run() {
    local target=$1 log=$2 artifacts=$3
    shift 3
    if "${steady[@]}" "$build_dir/bin/fuzz_$target" -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$artifacts/" \
        -print_final_stats=1 "$@" >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb' "$log" |
            sed 's/^/  /'
        return 0
    fi
    echo "fuzz_$target FAILED; the last lines of $log:" >&2
    tail -n 60 "$log" >&2
    local input
    input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    if [ -n "$input" ] && [ -f "$input" ]; then
        reproduce "$target" "$input"
    fi
    return 1
}

# target, its longest input, and the number of new
# inputs a regression run tries after the corpus
targets=("fullflash 16384 10000" "layoutfile 65536 60000" "fieldtexts 16384 10000" "finder 16384 5000")
failed=0
for entry in "${targets[@]}"; do
    read -r target max_len runs <<<"$entry"
    if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $target "* ]]; then
        continue
    fi
    artifacts="$build_dir/artifacts/$target"
    regressions="fuzz/regressions/$target"
    mkdir -p "$artifacts"
    if [ "$mode" = explore ]; then
        corpus="$build_dir/corpus/$target"
        mkdir -p "$corpus"
        echo "fuzz_$target: exploring for ${seconds} s"
        extra=()
        [ -d "$regressions" ] && extra=("$regressions")
        run "$target" "$build_dir/explore-$target.log" "$artifacts" -max_total_time="$seconds" \
            -max_len="$max_len" "$corpus" "$seeds/$target" "${extra[@]}" || failed=1
        continue
    fi
    # Every input that ever failed, one by one, before anything new.
    mapfile -t kept < <(find "$regressions" -type f 2>/dev/null | sort)
    if [ "${#kept[@]}" -gt 0 ]; then
        echo "fuzz_$target: ${#kept[@]} regression inputs"
        for input in "${kept[@]}"; do
            if ! "$build_dir/bin/fuzz_$target" -timeout=10 -rss_limit_mb=4096 "$input" \
                >"$build_dir/regression-$target.log" 2>&1; then
                echo "fuzz_$target FAILED on $input:" >&2
                tail -n 60 "$build_dir/regression-$target.log" >&2
                echo "to run it again: $build_dir/bin/fuzz_$target $input" >&2
                failed=1
            fi
        done
    fi
    # A fresh corpus and a fixed seed: the same inputs on every run.
    corpus="$build_dir/regression-corpus/$target"
    rm -rf "$corpus"
    mkdir -p "$corpus"
    echo "fuzz_$target: the seed corpus and $runs new inputs"
    total=$(($(find "$seeds/$target" -type f | wc -l) + runs))
    run "$target" "$build_dir/fuzz-$target.log" "$artifacts" -seed=1 -use_cmp=0 -reload=0 -runs="$total" \
        -max_len="$max_len" "$corpus" "$seeds/$target" || failed=1
done
exit "$failed"
