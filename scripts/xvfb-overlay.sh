#!/usr/bin/env bash
# The window's overlay in the real game on a virtual X display: S on a read-only map shows other
# words than a save that works; edits kept in recovery/ by a run that quit unsaved are offered at
# the next start, Ctrl+L brings the stroke back and Ctrl+Z takes it away again; F1 shows the
# help and Escape hides it without quitting. The window's grabs go to the shots folder.
#   scripts/xvfb-overlay.sh [build folder, default build] [shots folder, default <build>/overlay]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
SHOTS=${2:-$BUILD/overlay}
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"
mkdir -p "$SHOTS"
source scripts/xvfb-common.sh
need_tools xdotool xwd xwininfo python3
start_xvfb 1280x1024

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

# Grabs $1 until its message band differs from $2's by more than $3 pixels (a loaded machine may
# take a while to show the key's pass), at most 5 s.
grab_showing() {
  for _ in $(seq 25); do
    grab "$1"
    [ "$(band_differences "$2" "$1")" -gt "$3" ] && return 0
    sleep 0.2
  done
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

# Waits (up to 15 s: the live trace is written out once a second) for the trace's last grid line
# to become $2; fails with $3 otherwise.
expect_grid() {
  for _ in $(seq 150); do
    [ "$(grid_line "$1" last)" = "$2" ] && return 0
    sleep 0.1
  done
  fail "$3 (console: $(tail -n 3 "$PLAY/console.txt" | tr '\r\n' '  '))"
}

PLAY=$WORK/play
mkdir -p "$PLAY"
cp "$BUILD/art"/* "$PLAY/"
touch -d '-1 hour' "$PLAY/BGMap75x54.raw" "$PLAY/BlockMap75x54.raw"

# 1. A save that works, then one the read-only block file refuses.
start_game "$PLAY" --trace first.trace
step windowfocus --sync "$WINDOW"
step mousemove --window "$WINDOW" 100 250  # over the left view: no picker in the grabs
sleep 3  # every start-up line faded
grab quiet
step key s
grab_showing saved quiet 100
sleep 3
chmod 444 "$PLAY/BlockMap75x54.raw"
step key s
grab_showing refused quiet 100
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
step mousemove --window "$WINDOW" 100 250
grab_showing offered quiet 100
expect_band_differs quiet offered 100 "start-up offers the recovered edits"
for _ in $(seq 150); do grep -q '^grid ' "$PLAY/second.trace" 2>/dev/null && break; sleep 0.1; done
START=$(grid_line "$PLAY/second.trace" first)
[ "$START" != "$PAINTED" ] || fail "the map files already hold the stroke"
step key ctrl+l
expect_grid "$PLAY/second.trace" "$PAINTED" "Ctrl+L did not bring the stroke back"
grab recovered
echo "ok: Ctrl+L brings the unsaved stroke back"
step key ctrl+z
expect_grid "$PLAY/second.trace" "$START" "Ctrl+Z did not take the loaded pair back"
grab undone
echo "ok: Ctrl+Z takes it back"
LOADS=$(grep -c "^Loading maps" "$PLAY/console.txt" || true)
[ "$LOADS" -eq 1 ] || fail "the map files were loaded $LOADS times (start-up only, not by Ctrl+L)"
echo "ok: Ctrl+L loads the recovered pair only"

# 4. F1 covers the picture with the help; Escape hides it and does not quit.
sleep 3  # the messages faded
grab before_help
step key F1
grab_showing help before_help 5000
expect_band_differs before_help help 5000 "F1 shows the help"
step key Escape
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "Escape over the help ended the game"
grab after_help
expect_band_differs help after_help 5000 "Escape hides the help"
echo "ok: Escape over the help hides it and the game goes on"
step key Escape
expect_clean_exit "Escape after Ctrl+L and Ctrl+Z"
echo "ok: grabs in $SHOTS"
