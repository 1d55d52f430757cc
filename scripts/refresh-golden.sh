#!/bin/sh
# Regenerates the golden traces of tests/sim/golden from the scripts in tests/sim/scripts.
# Run it on purpose, after a change in the game's behaviour that is meant, and review the diff.
#   scripts/refresh-golden.sh [BUILD_DIR]     (default: build)
# Each script names its frame count in a "# frames: N" line. The runs happen in a fresh copy of
# the built art folder, so saving in a script touches nothing of the build; the map files are
# copied only for a script with a "# level: default" line (the others play the dummy map); a
# script made from a recording of play names its own map files in a "# maps: NAME" line
# (tests/sim/maps/NAME, see scripts/replay-to-golden.sh).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
case $build in /*) ;; *) build="$PWD/$build" ;; esac

ninja -C "$build" ravelon-sim ravelon_art >/dev/null
sim="$build/ravelon-sim"
art="$build/art"
scripts="$root/tests/sim/scripts"
golden="$root/tests/sim/golden"
mkdir -p "$golden"

for script in "$scripts"/*.txt; do
  name=$(basename "$script" .txt)
  frames=$(sed -n 's/^#[[:space:]]*frames:[[:space:]]*\([0-9][0-9]*\).*/\1/p' "$script" | head -n 1)
  frames=${frames:-1}
  work=$(mktemp -d "${TMPDIR:-/tmp}/ravelon-golden-XXXXXX")
  cp "$art"/*.bmp "$work"/
  if grep -q '^#[[:space:]]*level:[[:space:]]*default' "$script"; then cp "$art"/*.raw "$work"/; fi
  maps=$(sed -n 's/^#[[:space:]]*maps:[[:space:]]*\([^[:space:]]*\).*/\1/p' "$script" | head -n 1)
  if [ -n "$maps" ]; then cp "$root/tests/sim/maps/$maps"/* "$work"/ 2>/dev/null || true; fi
  "$sim" --dir "$work" --script "$script" --frames "$frames" --trace "$golden/$name.trace" >/dev/null
  rm -rf "$work"
  echo "$name: $frames frames -> tests/sim/golden/$name.trace"
done
