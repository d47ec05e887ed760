#!/bin/sh
# Builds the fuzz targets of the file readers with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each one, seeded with the bundled
# files it reads: the plotter library, the sample jobs and written jobs, the
# string lists and menus, a preference file, path data and transform lists.
#
# Usage: scripts/fuzz-smoke.sh [SECONDS]   each target for SECONDS (default 12)
#        scripts/fuzz-smoke.sh --runs N    each target for N runs (the long run:
#                                          --runs 1000000)
set -eu
cd "$(dirname "$0")/.."
limit="-max_total_time=${1:-12}"
if [ "${1:-}" = "--runs" ]; then
    limit="-runs=${2:?--runs needs a number}"
fi
build=build-fuzz

# fuzzer-no-link instruments the plug-in's own code for coverage too, not only
# the targets, so the fuzzer can find its way into the readers.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DVANTOREL_FUZZ=ON -DVANTOREL_SANITIZE=ON \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
ninja -C "$build" $(ninja -C "$build" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\):.*/\1/p' | sort -u)

# The files each target starts from.
seeds() {
    case "$1" in
        *PlotterLibrary*) echo Resources/PlotterSetup.txt ;;
        *CommandReader*) echo tests/fuzz/seeds/job.hpgl tests/fuzz/seeds/job.gpgl ;;
        *SvgReader*) echo samples/*.svg ;;
        *SvgPathData*) echo tests/fuzz/seeds/pathdata-*.txt ;;
        *SvgTransform*) echo tests/fuzz/seeds/transform-*.txt ;;
        *Preferences*) echo tests/fuzz/seeds/prefs.json ;;
        *Resources*) echo Resources/Strings/* Resources/Menus/* ;;
    esac
}

status=0
for target in "$build"/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    for seed in $(seeds "$name"); do
        [ -f "$seed" ] && cp "$seed" "$corpus/seed-$(basename "$seed")"
    done
    echo "== $name ($limit)"
    if ! "$target" "$limit" -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/$name-" "$corpus" \
        2>"$build/$name.log"; then
        tail -n 40 "$build/$name.log" >&2
        echo "!! $name found a failure; see $build/$name-crash-* and $build/$name.log" >&2
        status=1
    else
        grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec' "$build/$name.log" || true
    fi
done
exit $status
