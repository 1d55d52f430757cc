#!/usr/bin/env bash
# The web page's cost standing idle at 1x beside the desktop game's under Xvfb, side by side:
# the share of one core each takes while the game runs and nobody touches it (the desktop game
# and Xvfb together; all of headless Chromium's processes), and the ratio of the two, which
# should stay within 1.5. Chromium's own share for a bare canvas changed at each refresh is
# printed beside it: the page cannot cost less than that; and for a page that only asks for
# every refresh and draws nothing. A benchmark, not a test: it prints.
# Other work on the machine inflates every number: the load average is printed with them.
#   scripts/page-cost.sh [desktop build, default build] [web build, default build-web] [seconds]
# Needs the desktop game built, the page built (scripts/web.sh --build-only) and the browser
# test's packages (scripts/web-test.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
WEB=${2:-build-web}
SECONDS_MEASURED=${3:-20}
GAME=$BUILD/ravelon
TITLE="Ravelon v0.09a"
command -v Xvfb >/dev/null || { echo "page-cost: Xvfb is not installed" >&2; exit 1; }
source scripts/xvfb-common.sh
start_xvfb 1280x1024

ticks() {  # processor time of the given processes, in clock ticks
  local total=0 pid fields
  for pid in "$@"; do
    fields=$(sed 's/.*) //' "/proc/$pid/stat")
    total=$((total + $(echo "$fields" | awk '{print $12 + $13}')))
  done
  echo "$total"
}

PLAY=$WORK/play
mkdir -p "$PLAY"
cp "$BUILD/art"/* "$PLAY/"
start_game "$PLAY" --mute
sleep 5
HZ=$(getconf CLK_TCK)
FROM=$(ticks "$GAME_PID" "$XVFB_PID")
START=$(date +%s.%N)
sleep "$SECONDS_MEASURED"
USED=$(( $(ticks "$GAME_PID" "$XVFB_PID") - FROM ))
DESKTOP=$(python3 -c "import sys, time; print(100 * $USED / $HZ / (time.time() - $START))")
xdotool key --window "$WINDOW" Escape
expect_clean_exit "the desktop game" >/dev/null
printf 'desktop idle at 1x under Xvfb: %.1f %% of a core (the game and Xvfb)\n' "$DESKTOP"
MEASURED=$(cd tests/web && node page_cost.mjs "../../$WEB" "$SECONDS_MEASURED")
grep -v '^measured ' <<<"$MEASURED"
PAGE=$(awk '$1 == "measured" && $2 == "page" {print $3}' <<<"$MEASURED")
BARE=$(awk '$1 == "measured" && $2 == "bare" {print $3}' <<<"$MEASURED")
REFRESHES=$(awk '$1 == "measured" && $2 == "refreshes" {print $3}' <<<"$MEASURED")
python3 -c "
desktop, page, bare, refreshes = $DESKTOP, $PAGE, $BARE, $REFRESHES
print(f'ratio page/desktop: {page / max(desktop, 0.01):.2f} (within 1.5 wanted); '
      f'bare canvas/desktop: {bare / max(desktop, 0.01):.2f}; page/bare canvas: {page / max(bare, 0.01):.2f}; '
      f'refreshes alone/desktop: {refreshes / max(desktop, 0.01):.2f}')"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
