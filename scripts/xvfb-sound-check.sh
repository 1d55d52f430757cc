#!/usr/bin/env bash
# Plays the real game on a virtual X display with its sound: through SDL's dummy audio device
# (M pressed, a jump, --mute, --volume, the latency it reports), with no audio driver at all (one line on standard error,
# the game plays on) and with broken sound recipes (one line each, the game plays on). Every
# start must end with status 0 on Escape.
#   scripts/xvfb-sound-check.sh [build folder, default build]
# Exit 77 (a skip for CTest) only when Xvfb itself is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"

source scripts/xvfb-common.sh
need_tools xdotool
start_xvfb 1280x1024

PLAY=$WORK/play
mkdir -p "$PLAY"
cp "$BUILD/art"/* "$PLAY/"

# Starts the game in $PLAY with the options given, presses M and jumps, then Escape.
play_and_quit() {
  local what=$1
  shift
  start_game "$PLAY" "$@"
  xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
  for key in m b m b; do
    xdotool key --window "$WINDOW" "$key"
    sleep 0.2
  done
  kill -0 "$GAME_PID" 2>/dev/null || fail "$what: the game ended while playing: $(tail -n 3 "$PLAY/stderr.txt")"
  xdotool key --window "$WINDOW" Escape
  expect_clean_exit "$what"
}

stderr_lines() {
  grep -v "^Unsaved map edits kept in recovery/" "$PLAY/stderr.txt" || true
}

play_and_quit "the dummy audio device"
[ -z "$(stderr_lines)" ] || fail "with the dummy device the game wrote: $(stderr_lines | head -c 300)"

# Asked for, the device reports how far ahead the sound was kept: under 35 ms from a pass to
# its sound, in a line of its own.
RAVELON_AUDIO_LOG=1 play_and_quit "the dummy audio device with its latency logged"
latency_line=$(stderr_lines | grep "^Audio: a pass is heard" || true)
latency_ms=$(echo "$latency_line" | sed -n 's/.*heard \([0-9.]*\) ms.*/\1/p')
[ -n "$latency_ms" ] && awk -v ms="$latency_ms" 'BEGIN { exit !(ms < 35) }' ||
  fail "expected a latency under 35 ms, got: $(stderr_lines | head -c 300)"
echo "ok: $latency_line"

play_and_quit "--mute --volume 40" --mute --volume 40
[ -z "$(stderr_lines)" ] || fail "with --mute --volume 40 the game wrote: $(stderr_lines | head -c 300)"

SDL_AUDIODRIVER=no-such-driver play_and_quit "no audio driver"
[ "$(stderr_lines | wc -l)" -eq 1 ] && stderr_lines | grep -q "^No audio device" ||
  fail "without an audio driver expected one line on standard error, got: $(stderr_lines | head -c 300)"
echo "ok: $(stderr_lines)"

# A recipe of nonsense and a missing one: a line for each, and the game plays on.
printf 'wave square\npitch nan 440\nlength 0.1\n' >"$PLAY/jump.sfx"
rm "$PLAY/land.sfx"
play_and_quit "broken recipes"
[ "$(stderr_lines | wc -l)" -eq 2 ] && stderr_lines | grep -q "jump.sfx" && stderr_lines | grep -q "land.sfx" ||
  fail "expected a line for jump.sfx and one for land.sfx, got: $(stderr_lines | head -c 300)"
echo "ok: $(stderr_lines | tr '\n' ' ')"
echo "all sound checks passed"
