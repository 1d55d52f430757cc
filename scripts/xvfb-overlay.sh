#!/usr/bin/env bash
# The window's overlay in the real game on a virtual X display: S on a read-only map shows other
# words than a save that works; edits kept in recovery/ by a run that quit unsaved are offered at
# the next start, Ctrl+L brings the stroke back and Ctrl+Z takes it away again. The window's
# grabs go to the shots folder.
#   scripts/xvfb-overlay.sh [build folder, default build] [shots folder, default <build>/overlay]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
SHOTS=${2:-$BUILD/overlay}
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"
if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed" >&2
  exit 77
fi
for tool in xdotool xwd xwininfo python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
mkdir -p "$SHOTS"
source scripts/xvfb-common.sh
start_xvfb 1280x1024

# Each step is a separate xdotool call with a pause, so it lands in passes of its own.
step() {
  xdotool "$@"
  sleep 0.3
}

# The window's picture as $SHOTS/$1.xwd.
grab() {
  xwd -silent -id "$WINDOW" -out "$SHOTS/$1.xwd"
}

# Compares the message band (the top 24 rows, the middle 640 columns) of two grabs: prints the
# number of pixels that differ.
band_differences() {
  python3 - "$SHOTS/$1.xwd" "$SHOTS/$2.xwd" <<'CODE'
import struct, sys
def pixels(path):
    d = open(path, "rb").read()
    h = struct.unpack(">25I", d[:100])
    header, width, height, order, bpp, line, ncolours = h[0], h[4], h[5], h[7], h[11], h[12], h[19]
    if bpp != 32:
        sys.exit(f"{path}: {bpp} bits per pixel")
    start = header + ncolours * 12
    fmt = "<I" if order == 0 else ">I"
    return lambda x, y: struct.unpack_from(fmt, d, start + y * line + x * 4)[0] & 0xFFFFFF
a, b = pixels(sys.argv[1]), pixels(sys.argv[2])
print(sum(1 for y in range(24) for x in range(88, 728) if a(x, y) != b(x, y)))
CODE
}

expect_band_differs() {
  local count
  count=$(band_differences "$1" "$2")
  [ "$count" -gt "$3" ] || fail "$4: $count pixels of the message band differ between $1 and $2"
  echo "ok: $4 ($count pixels differ)"
}

grid_line() {  # $1: trace, $2: first or last
  if [ "$2" = first ]; then grep -m1 '^grid ' "$1"; else grep '^grid ' "$1" | tail -n 1; fi
}

PLAY=$WORK/play
mkdir -p "$PLAY"
cp "$BUILD/art"/* "$PLAY/"
touch -d '-1 hour' "$PLAY/BGMap75x54.raw" "$PLAY/BlockMap75x54.raw"

# 1. A save that works, then one the read-only block file refuses.
start_game "$PLAY" --trace first.trace
step windowfocus --sync "$WINDOW"
sleep 3  # every start-up line faded
grab quiet
step key s
grab saved
step mousemove --window "$WINDOW" 600 280  # off the picker
sleep 3
chmod 444 "$PLAY/BlockMap75x54.raw"
step key s
grab refused
expect_band_differs quiet saved 100 "a save shows a message"
expect_band_differs quiet refused 100 "a refused save shows a message"
expect_band_differs saved refused 50 "a refused save's words differ from a saved one's"
grep -q "Failure to create save file." "$PLAY/console.txt" || fail "the read-only save did not fail"

# 2. A stroke left unsaved, and Escape: the edits go to recovery/.
step mousemove --window "$WINDOW" 150 120
step mousedown 1
for x in 166 182 198; do step mousemove --window "$WINDOW" "$x" 120; done
step mouseup 1
sleep 0.5
step key Escape
expect_clean_exit "Escape with an unsaved stroke"
chmod 644 "$PLAY/BlockMap75x54.raw"
ls "$PLAY"/recovery/*.BlockMap75x54.raw >/dev/null 2>&1 || fail "no recovery pair: $(tail -n 3 "$PLAY/stderr.txt")"
PAINTED=$(grid_line "$PLAY/first.trace" last)

# 3. The next start offers the pair; Ctrl+L loads it, Ctrl+Z takes it back.
start_game "$PLAY" --trace second.trace
step windowfocus --sync "$WINDOW"
sleep 0.5
grab offered
expect_band_differs quiet offered 100 "start-up offers the recovered edits"
START=$(grid_line "$PLAY/second.trace" first)
[ "$START" != "$PAINTED" ] || fail "the map files already hold the stroke"
step key ctrl+l
sleep 0.5
grab recovered
[ "$(grid_line "$PLAY/second.trace" last)" = "$PAINTED" ] || fail "Ctrl+L did not bring the stroke back"
echo "ok: Ctrl+L brings the unsaved stroke back"
step key ctrl+z
sleep 0.5
grab undone
[ "$(grid_line "$PLAY/second.trace" last)" = "$START" ] || fail "Ctrl+Z did not take the loaded pair back"
echo "ok: Ctrl+Z takes it back"
grep -q "^Loading maps.$" <(tail -n 2 "$PLAY/console.txt") && fail "Ctrl+L also loaded the map files"
step key Escape
expect_clean_exit "Escape after Ctrl+L and Ctrl+Z"
echo "ok: grabs in $SHOTS"
