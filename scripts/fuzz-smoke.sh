#!/bin/sh
# Builds the fuzz targets with clang and runs each for a short, bounded time,
# seeded with the bundled plotter library and the sample jobs in tests/fuzz/seeds.
# Usage: scripts/fuzz-smoke.sh [seconds]
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-20}"
build=build-fuzz

# fuzzer-no-link instruments the plug-in's own code for coverage too, not only
# the targets, so the fuzzer can find its way into the readers.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DVANTOREL_FUZZ=ON -DVANTOREL_SANITIZE=ON \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
ninja -C "$build" $(ninja -C "$build" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\):.*/\1/p' | sort -u)

status=0
for target in "$build"/fuzz_*; do
    [ -x "$target" ] || continue
    corpus="$build/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    cp Resources/PlotterSetup.txt "$corpus/seed-PlotterSetup.txt"
    # Small written jobs (HPGL, GPGL) for the readers of command files.
    for seed in tests/fuzz/seeds/*; do
        [ -f "$seed" ] && cp "$seed" "$corpus/seed-$(basename "$seed")"
    done
    echo "== $(basename "$target") for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -max_len=65536 -artifact_prefix="$build/" "$corpus"; then
        echo "!! $(basename "$target") found a failure; see $build/crash-*" >&2
        status=1
    fi
done
exit $status
