#!/usr/bin/env bash
# Starts the game on a virtual X display and checks it as a player would: the window's caption
# and size, a screenshot after start-up, Escape ending the game with status 0, a close request
# (the window manager's close button) doing the same, and a run without any art.
#   scripts/xvfb-smoke.sh [build folder, default build] [screenshot folder, default <build>/smoke]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
SHOTS=${2:-$BUILD/smoke}
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"
mkdir -p "$SHOTS"
WORK=$(mktemp -d)
XVFB_PID=""
GAME_PID=""

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A display number nobody uses.
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then DISPLAY_NUMBER=$n; break; fi
done
[ -n "${DISPLAY_NUMBER:-}" ] || fail "no free X display number"
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NUMBER"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

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

# Starts the game in folder $1 and waits for its window; sets GAME_PID and WINDOW.
start_game() {
  (cd "$1" && exec "$GAME" >"$1/console.txt" 2>"$1/stderr.txt") &
  GAME_PID=$!
  WINDOW=""
  # SDL may replace its first window when the renderer starts: wait for one that stays.
  local stable=0
  for _ in $(seq 150); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window opened"
    local found
    found=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | tail -n 1 || true)
    if [ -n "$found" ] && [ "$found" = "$WINDOW" ] && xwininfo -id "$found" >/dev/null 2>&1; then
      stable=$((stable + 1))
      [ "$stable" -ge 5 ] && break
    else
      stable=0
    fi
    WINDOW=$found
    sleep 0.1
  done
  [ "$stable" -ge 5 ] || WINDOW=""
  [ -n "$WINDOW" ] || fail "no window captioned \"$TITLE\""
}

# Waits for the game to end; fails unless its status is 0.
expect_clean_exit() {
  local status=0
  for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "$1: the game is still running"
  wait "$GAME_PID" || status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
  echo "ok: $1 ends the game with status 0"
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
start_game "$PLAY"
echo "ok: window $WINDOW captioned \"$(xdotool getwindowname "$WINDOW")\""
GEOMETRY=$(xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$GEOMETRY" = "816x300" ] || fail "client area is $GEOMETRY, not 816x300"
echo "ok: client area 816x300"
sleep 2
screenshot "$WINDOW" start-up
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key --window "$WINDOW" Escape
expect_clean_exit "Escape"
head -n 21 "$PLAY/console.txt" | tr -d '\r' | head -n 1 | grep -qx -- "---" || fail "console does not begin with ---"
sed -n 22,23p "$PLAY/console.txt" | tr -d '\r'

# 2. A close request.
start_game "$PLAY"
sleep 0.5
"$WORK/close" "$WINDOW"
expect_clean_exit "close request"

# 3. No art at all: three "Image not found!" lines and the game still runs.
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
echo "all smoke checks passed"
