#!/usr/bin/env bash
# Builds everything and runs the whole test suite twice: a normal build, and one
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
jobs=$(nproc)

echo "== normal build (warnings are errors)"
"$root/scripts/build.sh" "$root/build" -DVANTOREL_WERROR=ON
(cd "$root/build" && ctest -j"$jobs" --output-on-failure --timeout 300)

if command -v clang++ >/dev/null 2>&1; then
  echo "== fuzz smoke run of the file readers (bounded)"
  "$root/scripts/fuzz-smoke.sh" 12
fi

echo "== sanitized build (AddressSanitizer, UndefinedBehaviorSanitizer)"
"$root/scripts/build.sh" "$root/build-asan" -DVANTOREL_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest -j"$jobs" --output-on-failure --timeout 600)
