#!/usr/bin/env bash
# The picture that fits, in the real game on a virtual X display: opened with --fit at 816x300
# and held still with P (the reference: exactly the frame), then grown to 1280x800 (a laptop's
# screen) the picture is 1280 pixels wide at the frame's shape, and every 2x2 block of it away
# from the seams between frame pixels of different colours is one colour, the frame's; a click
# lands on the cell under it. In a 1700x700 window F9 switches between sharp whole steps (2x, centred)
# and the picture filling the window.
#   scripts/xvfb-fit.sh [build folder, default build] [shots folder, default <build>/fit]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
SHOTS=${2:-$BUILD/fit}
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"
mkdir -p "$SHOTS"
source scripts/xvfb-common.sh
need_tools xdotool xwd xwininfo python3
start_xvfb 1700x800  # room for the 1700x700 window below

client_size() {
  xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Kept on the screen from its corner: a window reaching past the screen's edge is cut to it.
resize_to() {
  xdotool windowmove "$WINDOW" 0 0
  xdotool windowsize "$WINDOW" "$1" "$2"
  for _ in $(seq 50); do
    [ "$(client_size)" = "$1x$2" ] && { sleep 1; return 0; }
    sleep 0.1
  done
  fail "the window is $(client_size), not $1x$2"
}

# Compares grab $1 (the picture at $2x$3 from $4,$5 in a window of its own size) with the
# reference grab of the frame at 1x: every drawable pixel belongs to the frame pixel whose share
# of the picture holds it; a 2x2 block whose four pixels belong to frame pixels of one colour,
# each with all eight neighbours of that colour too, must be exactly that colour. Outside the
# picture everything is black.
check_picture() {
  python3 - "$SHOTS/reference.xwd" "$SHOTS/$1.xwd" "$2" "$3" "$4" "$5" <<'CODE'
import struct, sys
def load(path):
    d = open(path, "rb").read()
    h = struct.unpack(">25I", d[:100])
    header, width, height, order, bpp, line, ncolours = h[0], h[4], h[5], h[7], h[11], h[12], h[19]
    if bpp != 32:
        sys.exit(f"{path}: {bpp} bits per pixel")
    start = header + ncolours * 12
    fmt = "<" if order == 0 else ">"
    rows = [struct.unpack_from(f"{fmt}{width}I", d, start + y * line) for y in range(height)]
    return width, height, [[p & 0xFFFFFF for p in row] for row in rows]
fw, fh, frame = load(sys.argv[1])
ww, wh, shown = load(sys.argv[2])
pw, ph, left, top = map(int, sys.argv[3:7])
assert (fw, fh) == (816, 300), f"reference is {fw}x{fh}"
def uniform(fx, fy):
    c = frame[fy][fx]
    return all(frame[min(max(fy + dy, 0), fh - 1)][min(max(fx + dx, 0), fw - 1)] == c
               for dy in (-1, 0, 1) for dx in (-1, 0, 1))
calm = [[uniform(x, y) for x in range(fw)] for y in range(fh)]
fx_of = [(x * fw) // pw for x in range(pw)]
fy_of = [(y * fh) // ph for y in range(ph)]
checked = wrong = 0
for y in range(0, ph - 1, 2):
    for x in range(0, pw - 1, 2):
        cells = {(fx_of[x + dx], fy_of[y + dy]) for dx in (0, 1) for dy in (0, 1)}
        colours = {frame[cy][cx] for cx, cy in cells}
        if len(colours) != 1 or not all(calm[cy][cx] for cx, cy in cells):
            continue
        c = colours.pop()
        checked += 1
        block = {shown[top + y + dy][left + x + dx] for dx in (0, 1) for dy in (0, 1)}
        if block != {c}:
            wrong += 1
            if wrong <= 3:
                print(f"  block at {x},{y}: {sorted(map(hex, block))} for {c:#08x}")
lit = sum(1 for y in range(wh) for x in range(ww)
          if not (left <= x < left + pw and top <= y < top + ph) and shown[y][x] != 0)
print(f"{checked} blocks away from the seams, {wrong} not the frame's colour; {lit} bar pixels lit")
sys.exit(0 if checked > pw * ph // 40 and wrong == 0 and lit == 0 else 1)
CODE
}

# check_picture on fresh grabs, three tries: a grab can fall between two flips.
check_grab() {
  for _ in 1 2 3; do
    grab "$1"
    check_picture "$@" && return 0
    sleep 0.5
  done
  fail "$1: the picture is not the frame at $2x$3 from $4,$5"
}

PLAY=$WORK/play
mkdir -p "$PLAY"
cp "$BUILD/art"/* "$PLAY/"

start_game "$PLAY" --fit
[ "$(client_size)" = "816x300" ] || fail "--fit opened the window at $(client_size), not 816x300"
step windowfocus --sync "$WINDOW"
step mousemove --window "$WINDOW" 100 250  # over the left view: no picker in the grabs
step key h                                 # no panel: its figures change every frame
step key p                                 # the world held: the picture stands still
sleep 4                                    # every message faded
grab reference
echo "ok: the 816x300 reference"

# The laptop's screen: 1280 wide at the frame's shape, 1280x471, centred.
resize_to 1280 800
check_grab laptop 1280 471 0 164
echo "ok: at 1280x800 with --fit the picture is 1280x471 and sharp away from the seams"

# A click on a sky cell of the left view (frame pixel 200,100) paints that cell.
grab before-click
X=$((200 * 1280 / 816 + 1)) Y=$((164 + 100 * 471 / 300 + 1))
step mousemove --window "$WINDOW" "$X" "$Y"
step mousedown 1
step mouseup 1
sleep 0.5
grab after-click
python3 - "$SHOTS/before-click.xwd" "$SHOTS/after-click.xwd" "$X" "$Y" <<'CODE' ||
import struct, sys
def pixel(path, x, y):
    d = open(path, "rb").read()
    h = struct.unpack(">25I", d[:100])
    return d[h[0] + h[19] * 12 + y * h[12] + x * 4:][:3]
x, y = map(int, sys.argv[3:5])
sys.exit(0 if pixel(sys.argv[1], x, y) != pixel(sys.argv[2], x, y) else 1)
CODE
  fail "a click on the fitted picture did not paint the cell under it"
echo "ok: a click on the fitted picture paints the cell under the pointer"
step key ctrl+z
sleep 1

# Where twice the frame fits, F9 switches between whole steps and the filled window.
resize_to 1700 700
check_grab filled 1700 625 0 37
echo "ok: --fit fills a 1700x700 window (1700x625)"
step key F9
sleep 1
check_grab stepped 1632 600 34 50
echo "ok: F9 goes back to sharp whole steps (2x, centred)"
step key F9
sleep 1
check_grab filled-again 1700 625 0 37
echo "ok: F9 again fills the window"

resize_to 1 1
resize_to 8000 8000 2>/dev/null || true
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game did not survive 1x1 and 8000x8000 with --fit"
echo "ok: resized to 1x1 and 8000x8000 with --fit: still running"
step key Escape
expect_clean_exit "Escape with --fit"
