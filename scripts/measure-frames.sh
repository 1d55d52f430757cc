#!/usr/bin/env bash
# Runs the game on a virtual X display, idle on the default level, and reports what one frame
# costs: the game process's CPU share and the intervals between the frames it shows.
#   scripts/measure-frames.sh [game binary, default build/ravelon] [seconds, default 10] [options...]
# Idle: the pointer is moved off the window, just above its left corner (the window opens in the
# middle of the screen, where the pointer starts: over the right view, which opens the picker).
# MEASURE_RUNNING=1: the player runs instead, right and left in turns of two seconds, both
# views scrolling.
# MEASURE_SOUND=1: the sound recipes (*.sfx) go into the play folder too, as scripts/play.sh lays
# it out, so the mixer feeds the audio device as in a player's game; without them the game
# plays silent, which is how the figures have been compared from the start.
# The frame times come from a small preloaded library that notes the moment of every present,
# so any build of the game can be measured as it is. The load of the machine is printed too: the
# figures mean little while other programs compete for the cores.
set -euo pipefail
cd "$(dirname "$0")/.."
GAME=$(realpath "${1:-build/ravelon}")
TITLE="Ravelon v0.09a"
SECONDS_TO_RUN=${2:-10}
shift $(( $# > 2 ? 2 : $# ))
ART=$(dirname "$GAME")/art
source scripts/xvfb-common.sh

# Notes the time of every present, whichever way the game shows its frames.
cat >"$WORK/flip_times.c" <<'CODE'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
static FILE* out;
static long long clock_ns(clockid_t clock) {
  struct timespec t;
  clock_gettime(clock, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}
/* One line per present: when it began, the path, and the processor time it took. */
static void note(long long began, char path, long long cpu) {
  if (!out) {
    const char* file = getenv("FLIP_TIMES_FILE");
    out = fopen(file ? file : "/dev/null", "w");
  }
  if (!out) return;
  fprintf(out, "%lld %c %lld\n", began, path, cpu);
  fflush(out);
}
void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (!real) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
  long long began = clock_ns(CLOCK_MONOTONIC), cpu = clock_ns(CLOCK_THREAD_CPUTIME_ID);
  real(renderer);
  note(began, 'r', clock_ns(CLOCK_THREAD_CPUTIME_ID) - cpu);
}
int SDL_UpdateWindowSurface(void* window) {
  static int (*real)(void*);
  if (!real) real = (int (*)(void*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
  long long began = clock_ns(CLOCK_MONOTONIC), cpu = clock_ns(CLOCK_THREAD_CPUTIME_ID);
  int status = real(window);
  note(began, 's', clock_ns(CLOCK_THREAD_CPUTIME_ID) - cpu);
  return status;
}
int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int count) {
  static int (*real)(void*, const void*, int);
  if (!real) real = (int (*)(void*, const void*, int))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurfaceRects");
  long long began = clock_ns(CLOCK_MONOTONIC), cpu = clock_ns(CLOCK_THREAD_CPUTIME_ID);
  int status = real(window, rects, count);
  note(began, 's', clock_ns(CLOCK_THREAD_CPUTIME_ID) - cpu);
  return status;
}
CODE
cc -shared -fPIC -O2 -o "$WORK/flip_times.so" "$WORK/flip_times.c" -ldl || fail "cannot build the timing library"

start_xvfb 3000x2000

PLAY=$WORK/play
source scripts/play-folder.sh
if [ "${MEASURE_SOUND:-0}" = 1 ]; then
  lay_out_play_folder "$ART" "$PLAY" --level-always || fail "cannot lay out the play folder from $ART"
else
  lay_out_play_folder "$ART" "$PLAY" --level-always --no-sounds ||
    fail "cannot lay out the play folder from $ART"
fi
(cd "$PLAY" && FLIP_TIMES_FILE="$WORK/flips.txt" LD_PRELOAD="$WORK/flip_times.so" \
  exec "$GAME" "$@" >/dev/null 2>"$WORK/stderr.txt") &
GAME_PID=$!

cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }
sleep 3  # start-up and the first frames are not what is measured
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/stderr.txt")"
SHOWN=$(xdotool search --onlyvisible --name "^$TITLE\$" | tail -n 1)
[ -n "$SHOWN" ] || fail "no game window"
xdotool mousemove --window "$SHOWN" 0 -40 || fail "cannot move the pointer off the window"
if [ "${MEASURE_RUNNING:-0}" = 1 ]; then
  (
    while kill -0 "$GAME_PID" 2>/dev/null; do
      for key in Right Left; do
        xdotool keydown --window "$SHOWN" "$key" && sleep 2 && xdotool keyup --window "$SHOWN" "$key"
      done
    done
  ) >/dev/null 2>&1 &
fi
sleep 1  # the picker closed, the player under way
START_LINE=$(wc -l <"$WORK/flips.txt")
START_TICKS=$(cpu_ticks)
START_NS=$(date +%s%N)
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
sleep "$SECONDS_TO_RUN"
END_TICKS=$(cpu_ticks)
END_NS=$(date +%s%N)
END_LINE=$(wc -l <"$WORK/flips.txt")
kill "$GAME_PID" 2>/dev/null || true
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""

HZ=$(getconf CLK_TCK)
FLIPS=$(sed -n "$((START_LINE + 1)),${END_LINE}p" "$WORK/flips.txt")
case "$(echo "$FLIPS" | awk '{print $2}' | sort -u | tr -d '\n')" in
  r) echo "shown through: the renderer" ;;
  s) echo "shown through: the window surface" ;;
  *) echo "shown through: both, or neither" ;;
esac
awk -v t="$((END_TICKS - START_TICKS))" -v hz="$HZ" -v ns="$((END_NS - START_NS))" \
  'BEGIN { printf "cpu: %.1f %% of one core over %.1f s\n", 100 * t / hz / (ns / 1e9), ns / 1e9 }'
echo "$FLIPS" | awk '{print $3 / 1e6}' | sort -g |
  awk '{ v[NR] = $1 } END { if (NR) printf "present call: median %.2f ms of processor time\n", v[int((NR + 1) / 2)] }'
echo "$FLIPS" |
  awk 'NR > 1 { print ($1 - last) / 1e6 } { last = $1 }' | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "frames: none shown"; exit }
      p99 = int(NR * 0.99); if (p99 < 1) p99 = 1
      printf "frames: %d intervals, median %.2f ms, p99 %.2f ms, max %.2f ms\n",
        NR, v[int((NR + 1) / 2)], v[p99], v[NR]
    }'
echo "load average: $LOAD_BEFORE before, $(cut -d' ' -f1-3 /proc/loadavg) after (2 cores)"
