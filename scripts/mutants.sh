#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Plants each fault of tests/mutants.txt in turn, rebuilds the engine and the tool in build-mutants/, runs
# their tests, and puts the source back: a fault no test fails on is "missed". Prints one line per mutant
# and the score. Takes tens of minutes, so it runs by hand, not in CI (docs/HACKING.md says when).
#
#   ./scripts/mutants.sh                 # every mutant of the list
#   ./scripts/mutants.sh Budget.cpp      # only the mutants whose line contains this text
#
# A line of the list is `FILE: TEXT => REPLACEMENT`, optionally followed by `## equivalent: REASON` for a
# mutant that cannot change behaviour (not run). TEXT must occur exactly once in FILE; it is found by text,
# so the list survives edits around it.
set -euo pipefail
cd "$(dirname "$0")/.."
list=tests/mutants.txt
build=build-mutants
filter=${1:-}

tests=(test_image test_codec test_writers test_layoutfile test_base test_descriptions test_core test_web
       test_cli test_properties)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKLAVOSET_BUILD_UI=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${tests[@]}" klavoset-cli >/dev/null

data_home=$(mktemp -d)
planted=""      # the file that holds a mutant right now, and its text before
original=""
restore() {
    if [ -n "$planted" ]; then
        printf '%s' "$original" >"$planted"
        planted=""
    fi
}
trap 'restore; rm -rf "$data_home"' EXIT
trap 'exit 130' INT TERM

# Whether every test program passes: the first failure ends the run.
tests_pass() {
    local t
    for t in "${tests[@]}"; do
        # in a subshell, so that a mutant that crashes a test is not also reported by this shell
        (XDG_DATA_HOME=$data_home timeout 600 "$build/bin/$t" --gtest_brief=1 --gtest_fail_fast) \
            >/dev/null 2>&1 || return 1
    done
}

caught=0
missed=0
equivalent=0
broken=0
started=$SECONDS
number=0
while IFS= read -r line || [ -n "$line" ]; do
    case $line in '' | '#'*) continue ;; esac
    number=$((number + 1))
    [ -n "$filter" ] && [[ $line != *"$filter"* ]] && continue
    reason=""
    if [[ $line == *' ## equivalent: '* ]]; then
        reason=${line##*' ## equivalent: '}
        line=${line%' ## equivalent: '*}
    fi
    file=${line%%: *}
    rest=${line#*: }
    text=${rest%%' => '*}
    replacement=${rest#*' => '}
    label="$number $file: $text => $replacement"
    if [ -n "$reason" ]; then
        equivalent=$((equivalent + 1))
        echo "equivalent  $label ($reason)"
        continue
    fi
    if [ ! -f "$file" ] || [[ $rest != *' => '* ]]; then
        broken=$((broken + 1))
        echo "BROKEN      $label (no such file, or no ' => ')"
        continue
    fi
    IFS= read -r -d '' original <"$file" || true
    after=${original#*"$text"}
    if [ "$after" = "$original" ] || [[ $after == *"$text"* ]]; then
        broken=$((broken + 1))
        echo "BROKEN      $label (the text is not in the file exactly once)"
        continue
    fi
    planted=$file
    printf '%s' "${original%%"$text"*}$replacement$after" >"$file"
    if ! cmake --build "$build" -j "$(nproc)" --target "${tests[@]}" klavoset-cli >/dev/null 2>&1; then
        restore
        broken=$((broken + 1))
        echo "BROKEN      $label (does not build)"
        continue
    fi
    if tests_pass; then
        missed=$((missed + 1))
        echo "MISSED      $label"
    else
        caught=$((caught + 1))
        echo "caught      $label"
    fi
    restore
done <"$list"

# Put the build back to the sources as they are.
cmake --build "$build" -j "$(nproc)" --target "${tests[@]}" klavoset-cli >/dev/null
run=$((caught + missed))
echo "mutants: $caught of $run caught, $missed missed, $equivalent equivalent, $broken broken;" \
     "$(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
[ "$missed" -eq 0 ] && [ "$broken" -eq 0 ]
