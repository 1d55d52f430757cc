#!/bin/sh
# Turns a recording of play (ravelon --record FILE) into a golden test, so a bug report becomes a
# regression test with one command:
#   scripts/replay-to-golden.sh FILE NAME [BUILD_DIR]     (default: build)
# The recording is replayed first (with the built art) and must match itself. Then it writes
#   tests/sim/scripts/NAME.txt   its input, with "# frames: N" and "# maps: NAME"
#   tests/sim/maps/NAME/         the map files the recording started with
#   tests/sim/golden/NAME.trace  the trace of the replay
# RAVELON_SIM_TESTS=DIR writes into DIR instead of tests/sim; RAVELON_SKIP_BUILD=1 uses the build
# as it stands. Review the files before committing.
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 FILE NAME [BUILD_DIR]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
replay=$1
name=$2
build=${3:-"$root/build"}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
case $name in
  *[!A-Za-z0-9_-]* | "") echo "$0: NAME may hold only letters, digits, _ and -" >&2; exit 2 ;;
esac
out=${RAVELON_SIM_TESTS:-"$root/tests/sim"}

[ -n "${RAVELON_SKIP_BUILD:-}" ] || cmake --build "$build" --target ravelon-sim ravelon_art >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/ravelon-golden-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/unpacked"
if ! "$build/ravelon-sim" --dir "$build/art" --replay "$replay" --unpack "$work/unpacked" \
    --trace "$work/golden.trace" >/dev/null; then
  echo "$0: $replay does not replay to its own checks with this build; no golden test made" >&2
  exit 1
fi

mkdir -p "$out/scripts" "$out/golden" "$out/maps/$name"
rm -f "$out/maps/$name"/*
{
  head -n 1 "$work/unpacked/script.txt"
  echo "# maps: $name"
  tail -n +2 "$work/unpacked/script.txt"
} >"$out/scripts/$name.txt"
for map in "$work/unpacked"/*.raw; do
  [ -e "$map" ] && cp "$map" "$out/maps/$name/"
done
cp "$work/golden.trace" "$out/golden/$name.trace"
echo "$name: $(head -n 1 "$out/scripts/$name.txt" | sed 's/^# //') -> $out/scripts/$name.txt," \
  "maps/$name/, golden/$name.trace"
