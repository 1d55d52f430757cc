#!/usr/bin/env bash
# Writes the binary seed files of the fuzz corpora (fuzz/corpus/<target>/): small bitmaps of
# every supported depth, palette files and map file pairs, and the scripts that are played
# (the text seeds of the script parser and the golden scripts, and a few edge cases).
# Deterministic: running it again rewrites the same bytes. The text seeds of the script
# parser's corpus are kept as they are.
#   bash scripts/make-fuzz-seeds.sh [BUILD]
# BUILD (default build/) is a CMake build folder, configured here if it is not yet: the
# bitmaps come from its ravelon-fuzz-seeds, built here too.
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=fuzz/corpus
build=${1:-build}
[ -e "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target ravelon-fuzz-seeds >/dev/null

# Little-endian integers and repeated bytes, written with printf only (no other tool needed).
escapes=()
for (( n = 0; n < 256; n++ )); do printf -v 'escapes[n]' '\\%03o' "$n"; done
byte() { printf "${escapes[$(( $1 & 255 ))]}"; }
u16() { byte "$1"; byte $(( $1 >> 8 )); }
u32() { u16 $(( $1 & 65535 )); u16 $(( ($1 >> 16) & 65535 )); }
repeat() { local b=$1 n=$2 i; for (( i = 0; i < n; i++ )); do byte "$b"; done; }
# A pattern of n bytes that changes along the row, so decoded pixels are not all alike.
pattern() { local n=$1 seed=$2 i; for (( i = 0; i < n; i++ )); do byte $(( (i * 37 + seed * 11) ^ (i >> 3) )); done; }

# The bitmaps are the game's own BMP writer's (tools/fuzz_seeds, through platform/bmp_encode.cpp).
bitmaps=()
for target in fuzz_bmp_decode fuzz_image_load fuzz_pixmap_load; do
  mkdir -p "$corpus/$target"
  bitmaps+=("$corpus/$target")
done
"$build/ravelon-fuzz-seeds" "${bitmaps[@]}"

mkdir -p "$corpus/fuzz_palette"
pattern 72 5 >"$corpus/fuzz_palette/palette_72.raw"
pattern 71 6 >"$corpus/fuzz_palette/short_71.raw"

# Map pairs: two length bytes of the background file, the background file, the block file.
row_ring() { repeat 1 75; }
row_inner() { byte 1; repeat 255 73; byte 1; }
ringed_blocks() { local y; row_ring; for (( y = 1; y < 53; y++ )); do row_inner; done; row_ring; }
open_blocks() { local y; for (( y = 0; y < 54; y++ )); do repeat 255 37; byte 21; repeat 255 37; done; }
mixed_blocks() {
  local y x
  for (( y = 0; y < 54; y++ )); do
    for (( x = 0; x < 75; x++ )); do
      if (( y == 53 || (y % 9 == 4 && x % 5 != 0) )); then byte $(( (x * 7 + y) % 60 )); else byte 255; fi
    done
  done
}
mkdir -p "$corpus/fuzz_map_load"
{ u16 4050; repeat 255 4050; ringed_blocks; } >"$corpus/fuzz_map_load/ringed_empty.bin"
{ u16 4050; pattern 4050 1; open_blocks; } >"$corpus/fuzz_map_load/open_border_containers.bin"
{ u16 4050; pattern 4050 2; mixed_blocks; } >"$corpus/fuzz_map_load/bricks_and_floor.bin"
{ u16 4049; pattern 4049 3; ringed_blocks; } >"$corpus/fuzz_map_load/short_background.bin"
{ u16 4050; repeat 7 4050; ringed_blocks; byte 1; } >"$corpus/fuzz_map_load/long_blocks.bin"

# Scripts played for a few dozen passes: every kind of event, the golden runs (painting, saving,
# water), and the mouse at the far ends of the int range, over the picker and the views.
play=$corpus/fuzz_script_play
mkdir -p "$play"
cp "$corpus"/fuzz_script/*.txt "$play"/
for script in tests/sim/scripts/*.txt; do cp "$script" "$play/golden_$(basename "$script")"; done
printf '1 mouse -2147483648 0\n1 button 1 down\n3 mouse 2147483647 -2147483648\n5 button 1 up\n' \
  >"$play/far_mouse.txt"
