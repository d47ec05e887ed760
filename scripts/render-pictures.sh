#!/usr/bin/env bash
# Renders the plug-in's pictures and cursors from their vector sources:
#   Resources/Pictures/src/<id>.svg -> Resources/Pictures/<id>.png
#   Resources/Cursors/src/<id>.svg  -> Resources/Cursors/<id>.png
# every one in the line style of Resources/Pictures/src/style.css, at the size
# its source gives (the size of the dialog item that shows it). The PNGs are
# committed, so neither the build nor the tests need a renderer: run this after
# changing or adding a source, and commit both. Needs rsvg-convert (Debian's
# librsvg2-bin), installed here when missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v rsvg-convert >/dev/null 2>&1; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq librsvg2-bin
fi
style="$root/Resources/Pictures/src/style.css"
count=0
for kind in Pictures Cursors; do
  for svg in "$root/Resources/$kind/src"/*.svg; do
    [ -e "$svg" ] || continue
    id="$(basename "$svg" .svg)"
    rsvg-convert --stylesheet "$style" -o "$root/Resources/$kind/$id.png" "$svg"
    count=$((count + 1))
  done
done
echo "rendered $count pictures and cursors"
