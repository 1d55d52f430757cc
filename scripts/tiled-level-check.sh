#!/usr/bin/env bash
# Level files against Debian's Tiled: the game's own level file is exported by Tiled without
# error and its layers hold the map's styles; the same level written by Tiled itself in every
# layer encoding (CSV, base64 plain, zlib, gzip, zstd), with external tilesets, and with objects
# typed by class, plays exactly as the raw pair does (the same trace, frame for frame), the
# player starting at its object.
#   scripts/tiled-level-check.sh BUILD_DIR
# Exit 77 (a skip for CTest) where tiled is not installed.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v tiled >/dev/null; then
  echo "SKIP: tiled is not installed (scripts/setup.sh installs it)"
  exit 77
fi
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
source "$here/play-folder.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
play=$work/play
levels=$play/levels
lay_out_play_folder "$build/art" "$play" --level-always --no-sounds
mkdir -p "$levels"
sim=$build/ravelon-sim
tool="python3 $here/tiled_level.py"
frames=40

"$sim" --dir "$play" --frames "$frames" --trace "$work/raw.trace" >/dev/null
"$sim" --dir "$play" --frames 0 --save-level "$levels/game.tmx" >/dev/null

# What the game writes, Tiled reads: exported without error, the styles as gids.
tiled --export-map json "$levels/game.tmx" "$work/game.json"
$tool gids "$work/game.json" "$play/BGMap75x54.raw" "$play/BlockMap75x54.raw"
echo "ok: Tiled exports the game's level file with the map's styles as gids"
tiled --export-map json "$levels/default.tmx" "$work/default.json"
$tool gids "$work/default.json" "$play/BGMap75x54.raw" "$play/BlockMap75x54.raw"
echo "ok: Tiled exports the play folder's levels/default.tmx with the map's styles as gids"

plays_as_the_pair() {
  local level=$1 what=$2
  "$sim" --dir "$play" --frames "$frames" --level "$level" --trace "$work/level.trace" \
    >"$work/level.out"
  if ! cmp -s "$work/raw.trace" "$work/level.trace"; then
    echo "FAIL: $what plays otherwise than the raw pair" >&2
    diff "$work/raw.trace" "$work/level.trace" | head -5 >&2
    exit 1
  fi
  if grep -q "refused" "$work/level.out"; then
    echo "FAIL: $what was refused: $(grep refused "$work/level.out")" >&2
    exit 1
  fi
  echo "ok: $what plays as the raw pair"
}

# Tiled keeps the layer format of the map it reads: each encoding given to it comes back
# written by Tiled in that encoding.
for format in csv base64: base64:zlib base64:gzip base64:zstd; do
  encoding=${format%%:*} compression=${format#*:}
  [[ $format == *:* ]] || compression=""
  name=${format//:/-}
  $tool reencode "$levels/game.tmx" "$levels/in-$name.tmx" "$encoding" "$compression"
  tiled --export-map tmx "$levels/in-$name.tmx" "$levels/tiled-$name.tmx"
  $tool encoded "$levels/tiled-$name.tmx" "$encoding" "$compression"
  plays_as_the_pair "$levels/tiled-$name.tmx" "Tiled's $format level"
done

# External tilesets, kept external by Tiled, and embedded again by it.
$tool external "$levels/tiled-base64-zlib.tmx" "$levels/in-external.tmx"
tiled --export-map tmx "$levels/in-external.tmx" "$levels/tiled-external.tmx"
grep -q 'source="tiles.tsx"' "$levels/tiled-external.tmx" || {
  echo "FAIL: Tiled did not keep the external tileset" >&2
  exit 1
}
plays_as_the_pair "$levels/tiled-external.tmx" "Tiled's level with external tilesets"
tiled --export-map tmx --embed-tilesets "$levels/tiled-external.tmx" "$levels/tiled-embedded.tmx"
plays_as_the_pair "$levels/tiled-embedded.tmx" "Tiled's level with the tilesets embedded again"

# Objects typed by class (as Tiled 1.9 writes them), the player moved: it starts there.
$tool classed "$levels/game.tmx" "$levels/classed.tmx" 200 300
"$sim" --dir "$play" --frames 1 --level "$levels/classed.tmx" --trace "$work/classed.trace" \
  >/dev/null
read -r _ _ x y _ < <(grep '^actor 0 ' "$work/classed.trace")
# One frame of play moves it by less than 4 pixels up or down.
if [[ $x != $((200 * 65536)) ]] || ((y < (300 - 4) * 65536 || y > (300 + 4) * 65536)); then
  echo "FAIL: the player of a class-typed level starts at $x, $y, not at 200, 300" >&2
  exit 1
fi
cmp -s <(grep '^grid' "$work/classed.trace") <(grep '^grid' "$work/raw.trace" | head -1) || {
  echo "FAIL: the class-typed level has other grids than the raw pair" >&2
  exit 1
}
echo "ok: objects typed by class give the starts"
