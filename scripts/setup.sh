#!/usr/bin/env bash
# Fresh machine to a working program: installs what is missing, builds, and runs
# the main job on the bundled sample.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
out=$(mktemp -d)
echo "== vantorel-host: the main job on the bundled sample (output in $out)"
"$root/build/vantorel-host" --prefs "$out/prefs.json" --plugin-folder "$out/Plug-ins" \
  plot "$root/samples/open-sign.svg" -o "$out/job.hpgl" --plotter "Generic 24in Drag Knife"
echo "== the first lines of $out/job.hpgl"
head -n 12 "$out/job.hpgl"
echo "... ($(wc -l < "$out/job.hpgl") lines)"
