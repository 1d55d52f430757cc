#!/usr/bin/env bash
# Plays the real game on a virtual X display with real X input, recording it, and checks that
# ravelon-sim replays the recording to the very same state: the live trace and the replay's trace
# must be equal byte for byte. Then the recording becomes a golden test (in a scratch copy, not
# in tests/sim) and that golden test must hold too.
#   scripts/record-replay-check.sh [build folder, default build]
# Exit 77 (a skip for CTest) only when Xvfb itself is not installed. KEEP_RECORDING=FILE keeps a
# copy of the recording.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$(cd "${1:-build}" && pwd)
GAME=$BUILD/ravelon
SIM=$BUILD/ravelon-sim
TITLE="Ravelon v0.09a"

source scripts/xvfb-common.sh
need_tools xdotool xeyes xwininfo
start_xvfb 1280x1024

STEP_PAUSE=0.15  # each step of xvfb-common.sh's lands in passes of its own

PLAY=$WORK/play
mkdir -p "$PLAY"
cp "$BUILD/art"/* "$PLAY/"
start_game "$PLAY" --record r.rep --trace live.trace
W=$WINDOW
step windowfocus --sync "$W"
# Runs and jumps.
step keydown Right
step key b
sleep 0.4
step keyup Right
step keydown Left
step key --delay 120 b b
step keyup Left
# Picker clicks in the right half, then paint strokes in the left view (left button, then the
# right one, which xdotool calls 3).
step mousemove --window "$W" 520 60
step mousedown 1
step mouseup 1
step mousemove --window "$W" 700 120
step mousedown 1
step mouseup 1
step mousemove --window "$W" 120 120
step mousedown 1
for x in 140 170 200 230; do step mousemove --window "$W" "$x" 130; done
step mouseup 1
step mousemove --window "$W" 160 200
step mousedown 3
step mousemove --window "$W" 220 210
step mouseup 3
# Water poured with F held while painting.
step keydown f
step mousedown 1
step mousemove --window "$W" 260 140
step mouseup 1
step keyup f
# The building keys: the free camera steered by the arrows, the wheel (sideways with Shift) and
# the overview, the world held and painted in, the panel hidden and shown, play from the pointer.
step key Tab
step keydown Right
sleep 0.3
step keyup Right
step mousemove --window "$W" 200 150
step click 5
step keydown shift
step click 4
step keyup shift
step mousemove --window "$W" 300 250
step mousedown 1
step mousemove --window "$W" 330 240
step mouseup 1
step key p
step mousemove --window "$W" 150 100
step mousedown 1
step mouseup 1
step key h
step key h
step key t
step key Tab
# Save, load, refresh, restart.
step key s
step key l
step key e
step key r
step keydown Right
sleep 0.3
step keyup Right
# The focus goes to another window and comes back.
xeyes -geometry 100x100+900+600 >/dev/null 2>&1 &
EYES_PID=$!
for _ in $(seq 50); do EYES=$(xdotool search --name '^xeyes$' 2>/dev/null | head -n 1 || true); [ -n "$EYES" ] && break; sleep 0.1; done
[ -n "${EYES:-}" ] || fail "xeyes did not open"
step keydown Left
step windowfocus --sync "$EYES"
step windowfocus --sync "$W"
# A space pause (3 seconds), then Escape.
step key space
sleep 3.3
step key Escape
expect_clean_exit "Escape"
kill "$EYES_PID" 2>/dev/null || true
EYES_PID=""

R=$PLAY/r.rep
for want in "key 39 down" "key 37 down" "key 66 down" "button 1 down" "button 2 down" "key 70 down" \
  "key 83 down" "key 76 down" "key 69 down" "key 82 down" "key 32 down" "focus lost" "key 27 down" \
  " mouse " "key 9 down" "key 80 down" "key 72 down" "key 84 down" " wheel 0 -1" " wheel 0 1"; do
  grep -q -- "$want" "$R" || fail "the recording holds no '$want' line"
done
tail -n 1 "$R" | grep -q ' end$' || fail "the recording has no end line"
echo "ok: recorded $(tail -n 1 "$R" | cut -d' ' -f1) frames of play"
[ -n "${KEEP_RECORDING:-}" ] && cp "$R" "$KEEP_RECORDING"

# The replay reaches the same state in every frame.
status=0
"$SIM" --dir "$BUILD/art" --replay "$R" --trace "$WORK/replay.trace" >"$WORK/replay.out" 2>"$WORK/replay.err" || status=$?
[ "$status" -eq 0 ] || fail "ravelon-sim --replay exit $status: $(cat "$WORK/replay.err")"
cmp -s "$PLAY/live.trace" "$WORK/replay.trace" || fail "live and replay traces differ: $(cmp "$PLAY/live.trace" "$WORK/replay.trace" || true)"
echo "ok: live trace and replay trace are equal ($(wc -l <"$PLAY/live.trace") lines)"

# A recording whose state was tampered with names the frame.
sed '0,/ check /s/ check [0-9a-f]*/ check 0000000000000000/' "$R" >"$WORK/tampered.rep"
status=0
"$SIM" --dir "$BUILD/art" --replay "$WORK/tampered.rep" >/dev/null 2>"$WORK/tampered.err" || status=$?
[ "$status" -eq 3 ] || fail "a tampered check: exit $status, not 3"
grep -q "at frame 60 " "$WORK/tampered.err" || fail "a tampered check: $(cat "$WORK/tampered.err")"
echo "ok: a wrong check ends with exit 3: $(cat "$WORK/tampered.err")"

# The recording as a golden test, in a scratch copy of tests/sim.
SIMTESTS=$WORK/simtests
RAVELON_SIM_TESTS=$SIMTESTS RAVELON_SKIP_BUILD=1 "$ROOT/scripts/replay-to-golden.sh" "$R" recorded "$BUILD" >/dev/null 2>&1 ||
  fail "scripts/replay-to-golden.sh failed on the recording"
GOLDEN_RUN=$WORK/golden-run
mkdir -p "$GOLDEN_RUN"
for f in "$BUILD/art"/*.bmp "$SIMTESTS/maps/recorded"/*; do [ -e "$f" ] && cp "$f" "$GOLDEN_RUN/"; done
FRAMES=$(sed -n 's/^# frames: //p' "$SIMTESTS/scripts/recorded.txt")
"$SIM" --dir "$GOLDEN_RUN" --script "$SIMTESTS/scripts/recorded.txt" --frames "$FRAMES" \
  --trace "$WORK/golden-run.trace" >/dev/null
cmp -s "$SIMTESTS/golden/recorded.trace" "$WORK/golden-run.trace" || fail "the golden test made from the recording does not hold"
cmp -s "$PLAY/live.trace" "$WORK/golden-run.trace" || fail "the golden trace is not the live trace"
echo "ok: the recording as a golden test ($FRAMES frames) holds"

# A recording path that cannot be created: one line on standard error, and the game plays on.
start_game "$PLAY" --record "$WORK/no/such/folder/r.rep"
sleep 0.3
step windowfocus --sync "$WINDOW"
step key Escape
expect_clean_exit "Escape after a recording path that cannot be created"
[ "$(wc -l <"$PLAY/stderr.txt")" -eq 1 ] && grep -q "cannot create the recording" "$PLAY/stderr.txt" ||
  fail "expected one line about the recording on standard error: $(cat "$PLAY/stderr.txt")"
echo "ok: $(cat "$PLAY/stderr.txt")"
echo "record and replay checks passed"
