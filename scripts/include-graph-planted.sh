#!/usr/bin/env bash
# Shows that scripts/include-graph.sh catches what it is there to catch: over a copy of src/ it
# passes as the checkout does, then fails on each arrow planted in the copy (shared/ reaching
# into platform/, a lower layer reaching up, a designed arrow left without its "// up:" mark, a
# backend reaching into the game).
#   scripts/include-graph-planted.sh
set -uo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d "${TMPDIR:-/tmp}/ravelon-include-XXXXXX")
trap 'rm -rf "$work"' EXIT

fresh_copy() {
  rm -rf "$work/src"
  cp -r src "$work/src"
}

failures=0
# plant FILE INCLUDE-LINE EXPECTED: the check must fail and name the planted arrow.
plant() {
  local file=$1 line=$2 expected=$3 out
  fresh_copy
  printf '%s\n' "$line" >>"$work/src/$file"
  if out=$(bash scripts/include-graph.sh "$work"); then
    echo "FAIL: passed with $file planted with: $line"
    failures=$((failures + 1))
  elif ! grep -qF -- "$expected" <<<"$out"; then
    echo "FAIL: with $file planted with: $line, no \"$expected\" in:"
    echo "$out"
    failures=$((failures + 1))
  else
    echo "ok: $file planted with: $line -> $expected"
  fi
}

fresh_copy
if ! out=$(bash scripts/include-graph.sh "$work"); then
  echo "FAIL: the unchanged copy of src/ does not pass:"
  echo "$out"
  exit 1
fi

plant shared/units.h '#include "platform/random.h"' "shared -> platform runs up"
plant platform/files.cpp '#include "world/map.h"' "platform -> world runs up"
plant world/blocks.cpp '#include "editor/editor.h"' "world -> editor runs up"
plant actors/physics.cpp '#include "frame/game.h"' "actors -> frame runs up"
plant world/map_grids.cpp '#include "actors/actor.h"' "world -> actors: includes without"
plant platform/sdl/flip_pacer.cpp '#include "world/map.h"' "the SDL backend includes world"
plant world/blocks.cpp '#include "platform/sdl/flip_pacer.h"' "world includes the SDL backend"
plant editor/picker.cpp '#include "no_such_header.h"' "names no file"

((failures == 0))
