#!/usr/bin/env bash
# Writes the binary seed files of the fuzz corpora (fuzz/corpus/<target>/): small bitmaps of
# every supported depth, palette files and map file pairs, and the scripts that are played
# (the text seeds of the script parser and the golden scripts, and a few edge cases).
# Deterministic: running it again rewrites the same bytes. The text seeds of the script
# parser's corpus are kept as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=fuzz/corpus

# Little-endian integers and repeated bytes, written with printf only (no other tool needed).
escapes=()
for (( n = 0; n < 256; n++ )); do printf -v 'escapes[n]' '\\%03o' "$n"; done
byte() { printf "${escapes[$(( $1 & 255 ))]}"; }
u16() { byte "$1"; byte $(( $1 >> 8 )); }
u32() { u16 $(( $1 & 65535 )); u16 $(( ($1 >> 16) & 65535 )); }
repeat() { local b=$1 n=$2 i; for (( i = 0; i < n; i++ )); do byte "$b"; done; }
# A pattern of n bytes that changes along the row, so decoded pixels are not all alike.
pattern() { local n=$1 seed=$2 i; for (( i = 0; i < n; i++ )); do byte $(( (i * 37 + seed * 11) ^ (i >> 3) )); done; }

# bmp WIDTH HEIGHT DEPTH TABLE_ENTRIES [INFO_SIZE] : the headers and a patterned pixel array.
# A negative height stores the rows top row first.
bmp() {
  local w=$1 h=$2 depth=$3 entries=$4 info=${5:-40}
  local ah=$(( h < 0 ? -h : h ))
  local stride=$(( ((w * depth + 31) / 32) * 4 ))
  local offset=$(( 14 + info + entries * 4 ))
  local size=$(( offset + stride * ah ))
  printf 'BM'; u32 $size; u32 0; u32 $offset
  u32 "$info"; u32 "$w"; u32 $(( h & 0xFFFFFFFF )); u16 1; u16 "$depth"; u32 0
  u32 $(( stride * ah )); u32 2835; u32 2835; u32 "$entries"; u32 0
  repeat 0 $(( info - 40 ))
  local e
  for (( e = 0; e < entries; e++ )); do byte $(( e * 40 )); byte $(( 255 - e * 20 )); byte $(( e * 90 )); byte 0; done
  pattern $(( stride * ah )) "$depth"
}

write_bitmaps() {
  local dir=$1
  mkdir -p "$dir"
  bmp 8 2 1 2 >"$dir/mono_8x2.bmp"
  bmp 5 3 4 16 >"$dir/nibbles_5x3.bmp"
  bmp 4 4 8 6 >"$dir/indexed_4x4.bmp"
  bmp 32 48 24 0 >"$dir/sheet_32x48.bmp"
  bmp 16 -16 32 0 >"$dir/alpha_topdown_16x16.bmp"
  bmp 3 2 24 0 108 >"$dir/v4_header_3x2.bmp"
  # A bitmap in the mask colour except for one pattern row: the masked path with neighbours.
  { printf 'BM'; u32 $(( 54 + 48 * 2 )); u32 0; u32 54; u32 40; u32 16; u32 2; u16 1; u16 24; u32 0
    u32 96; u32 0; u32 0; u32 0; u32 0
    for (( i = 0; i < 16; i++ )); do byte 255; byte 201; byte 122; done
    pattern 48 3; } >"$dir/masked_16x2.bmp"
}

for target in fuzz_bmp_decode fuzz_image_load fuzz_pixmap_load; do
  write_bitmaps "$corpus/$target"
done

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
