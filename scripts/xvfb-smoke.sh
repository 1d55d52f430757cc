#!/usr/bin/env bash
# Starts the game on a virtual X display and checks it as a player would: the window's caption
# and size, a screenshot after start-up, full screen on F11 and back, the frame at exactly twice
# its size in a 1632x600 window with black bars around it in a wider one, a click painting the
# cell under it at that size, a window shrunk, blown up, hidden and switched to full screen a
# hundred times, Escape ending the game with status 0, a close request (the window manager's
# close button) doing the same, the command-line options, and a run without any art.
#   scripts/xvfb-smoke.sh [build folder, default build] [screenshot folder, default <build>/smoke]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
SHOTS=${2:-$BUILD/smoke}
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"
mkdir -p "$SHOTS"
source scripts/xvfb-common.sh
start_xvfb 3000x2000

# The close button of a window manager: a WM_DELETE_WINDOW message to the window.
cat >"$WORK/close.c" <<'CODE'
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char** argv) {
  Display* d = XOpenDisplay(NULL);
  if (!d || argc < 2) return 1;
  XEvent e = {0};
  e.xclient.type = ClientMessage;
  e.xclient.window = strtoul(argv[1], NULL, 0);
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
  XCloseDisplay(d);
  return 0;
}
CODE
cc -o "$WORK/close" "$WORK/close.c" -lX11 || fail "cannot build the close helper"

client_size() {
  xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Waits (up to 3 s) for the window's client area to become $1.
expect_size() {
  local size=""
  for _ in $(seq 30); do
    size=$(client_size)
    [ "$size" = "$1" ] && return 0
    sleep 0.1
  done
  fail "$2: client area is $size, not $1"
}

# The window's pixels as raw RGB in $WORK/$1.rgb; prints the size.
grab_rgb() {
  xwd -silent -id "$WINDOW" -out "$WORK/$1.xwd"
  convert "$WORK/$1.xwd" "rgb:$WORK/$1.rgb"
  client_size
}

# Checks a grab: every scale x scale block of the frame uniform, everything outside it black.
#   check_scaled grab width height scale left top
check_scaled() {
  python3 - "$WORK/$1.rgb" "$2" "$3" "$4" "$5" "$6" <<'CODE'
import sys
path, w, h, s, left, top = sys.argv[1], *map(int, sys.argv[2:])
d = open(path, "rb").read()
px = lambda x, y: d[(y * w + x) * 3:(y * w + x) * 3 + 3]
fw, fh = 816 * s, 300 * s
uneven = sum(1 for y in range(top, top + fh) for x in range(left, left + fw)
             if px(x, y) != px(left + (x - left) // s * s, top + (y - top) // s * s))
lit = sum(1 for y in range(h) for x in range(w)
          if not (left <= x < left + fw and top <= y < top + fh) and px(x, y) != b"\0\0\0")
print(f"{uneven} pixels differ from their block, {lit} bar pixels are not black")
sys.exit(1 if uneven or lit else 0)
CODE
}

# check_scaled on a fresh grab, up to three times: a renderer that shows its frame in strips
# can be caught between two frames, which is no fault of the scaling.
check_scaled_grab() {
  for _ in 1 2 3; do
    grab_rgb "$1" >/dev/null
    check_scaled "$@" && return 0
    sleep 0.2
  done
  return 1
}

screenshot() {
  xwd -silent -id "$1" -out "$SHOTS/$2.xwd"
  if command -v convert >/dev/null; then
    convert "$SHOTS/$2.xwd" "$SHOTS/$2.png" && rm -f "$SHOTS/$2.xwd"
  fi
  echo "ok: screenshot $(ls "$SHOTS/$2".*)"
}

# 1. With the art and the level: caption, size, screenshot, Escape.
PLAY=$WORK/play
mkdir -p "$PLAY"
for f in AllTiles8.bmp tall_water.bmp ActorGfxKelpo.bmp instr.bmp BGMap75x54.raw BlockMap75x54.raw; do
  [ -e "$BUILD/art/$f" ] && cp "$BUILD/art/$f" "$PLAY/"
done
cp "$BUILD/art"/*.sfx "$BUILD/art"/*.tune "$PLAY/"
start_game "$PLAY"
echo "ok: window $WINDOW captioned \"$(xdotool getwindowname "$WINDOW")\""
GEOMETRY=$(xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$GEOMETRY" = "816x300" ] || fail "client area is $GEOMETRY, not 816x300"
echo "ok: client area 816x300"
sleep 2
screenshot "$WINDOW" start-up
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true

# Full screen and back.
SCREEN=$(xdotool getdisplaygeometry | tr ' ' 'x')
xdotool key --window "$WINDOW" F11
expect_size "$SCREEN" "F11"
screenshot "$WINDOW" full-screen
xdotool key --window "$WINDOW" F11
expect_size 816x300 "F11 again"
echo "ok: F11 fills the $SCREEN screen and F11 again restores 816x300"

# Twice the size: uniform 2x2 blocks; a click at a cell's scaled position paints that cell.
xdotool windowsize "$WINDOW" 1632 600
expect_size 1632x600 "resize"
sleep 0.5
check_scaled_grab before-click 1632 600 2 0 0 || fail "the frame is not shown at exactly 2x"
echo "ok: at 1632x600 every frame pixel is a uniform 2x2 block"
CLICK_X=200 CLICK_Y=100  # a sky cell of the left view, in frame pixels
xdotool mousemove --window "$WINDOW" $((CLICK_X * 2 + 1)) $((CLICK_Y * 2 + 1)) mousedown 1
sleep 0.3
xdotool mouseup 1
sleep 0.3
grab_rgb after-click >/dev/null
python3 - "$WORK/before-click.rgb" "$WORK/after-click.rgb" $((CLICK_X * 2)) $((CLICK_Y * 2)) <<'CODE' ||
import sys
a, b = (open(p, "rb").read() for p in sys.argv[1:3])
x, y = map(int, sys.argv[3:5])
i = (y * 1632 + x) * 3
sys.exit(0 if a[i:i + 3] != b[i:i + 3] else 1)
CODE
  fail "a click at 2x did not paint the cell under it"
echo "ok: a click at 2x paints the cell under the pointer"
screenshot "$WINDOW" twice

# A wider window: the frame centred at 2x, black bars around it.
xdotool windowsize "$WINDOW" 1700 700
expect_size 1700x700 "resize"
sleep 0.5
check_scaled_grab bars 1700 700 2 34 50 || fail "the frame is not centred at 2x with black bars"
echo "ok: at 1700x700 the frame is centred at 2x with black bars"

# Abuse: tiny, huge, hidden, full screen a hundred times; the game goes on.
for size in "1 1" "10000 10000" "816 300"; do
  xdotool windowsize "$WINDOW" $size
  sleep 0.3
done
xdotool windowunmap "$WINDOW"
sleep 0.3
xdotool windowmap "$WINDOW"
xdotool key --window "$WINDOW" --delay 5 --repeat 100 F11
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game did not survive resizing and full-screen switching"
echo "ok: resized to 1x1 and 10000x10000, hidden, full screen switched 100 times: still running"
xdotool key --window "$WINDOW" Escape
expect_clean_exit "Escape"
# The click at 2x painted a cell, so Escape keeps that edit in recovery/ and says so; nothing
# else belongs on standard error.
grep -q "^Unsaved map edits kept in recovery/" "$PLAY/stderr.txt" || fail "no note of the unsaved edit kept in recovery/"
OTHER=$(grep -v "^Unsaved map edits kept in recovery/" "$PLAY/stderr.txt" || true)
[ -z "$OTHER" ] || fail "started in its play folder the game wrote: $(printf '%s' "$OTHER" | head -c 300)"
ls "$PLAY"/recovery/*.BlockMap75x54.raw >/dev/null 2>&1 || fail "the unsaved edit is not in recovery/"
head -n 21 "$PLAY/console.txt" | tr -d '\r' | head -n 1 | grep -qx -- "---" || fail "console does not begin with ---"
sed -n 22,23p "$PLAY/console.txt" | tr -d '\r'

# 2. A close request.
start_game "$PLAY"
sleep 0.5
"$WORK/close" "$WINDOW"
expect_clean_exit "close request"

# 3. Opened three times the size.
start_game "$PLAY" --scale 3
expect_size 2448x900 "--scale 3"
echo "ok: --scale 3 opens at 2448x900"
xdotool key --window "$WINDOW" Escape
expect_clean_exit "Escape at 3x"

# 4. Options: --help lists them; a bad one is one line on standard error and status 2.
"$GAME" --help >"$WORK/help.out" 2>"$WORK/help.err" || fail "--help: exit status $?"
grep -q -- "--scale N" "$WORK/help.out" || fail "--help does not list --scale"
[ ! -s "$WORK/help.err" ] || fail "--help wrote to standard error"
for bad in "--scale 0" "--scale 99" "--scale x" "--scale" "--nonsense"; do
  status=0
  # shellcheck disable=SC2086
  "$GAME" $bad >"$WORK/bad.out" 2>"$WORK/bad.err" || status=$?
  [ "$status" -eq 2 ] || fail "$bad: exit status $status, not 2"
  [ "$(wc -l <"$WORK/bad.err")" -eq 1 ] || fail "$bad: not one line on standard error"
  [ ! -s "$WORK/bad.out" ] || fail "$bad: wrote to standard output"
done
echo "ok: --help, and bad options give one line and status 2"

# 5. No art at all: three "Image not found!" lines and the game still runs.
BARE=$WORK/bare
mkdir -p "$BARE"
start_game "$BARE"
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game without art did not keep running"
screenshot "$WINDOW" no-art
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key --window "$WINDOW" Escape
expect_clean_exit "Escape without art"
MISSING=$(tr -d '\r' <"$BARE/console.txt" | grep -c "^Image not found!$" || true)
[ "$MISSING" -eq 3 ] || fail "expected 3 \"Image not found!\" lines, got $MISSING"
echo "ok: three \"Image not found!\" lines without art"
HINTS=$(grep -c "scripts/play.sh" "$BARE/stderr.txt" || true)
[ "$HINTS" -eq 1 ] || fail "expected one hint about the play folder on standard error, got $HINTS"
grep -q -- "$BARE" "$BARE/stderr.txt" || fail "the hint does not name the working folder"
grep -q "scripts/play.sh" "$BARE/console.txt" && fail "the hint went to standard output"
echo "ok: one hint on standard error names the folder, the files and the command"
echo "all smoke checks passed"
