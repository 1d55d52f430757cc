#!/bin/sh
# Times this tree's frames against a base revision's on the same machine, alternately, and
# prints the ratios current / base: on a shared, noisy machine ratios are what can be measured,
# absolute times are not.
#   scripts/bench-compare.sh BASE_REV [REPEATS]     (default 5 repeats; BUILD_DIR default: build;
#                                                    BENCH_CPU: the core, default the last)
# The base revision is exported (git archive) into BUILD_DIR/bench-base/REV and built there
# without tests, window or benchmarks; a later call reuses it. Both sides run with this tree's
# measuring code (the runner, its timing and its states from tools/sim/lib copied over the
# base's, so both time the same phases the same way)
# and on this tree's built art, so only the game code differs. A base older than some names the
# measuring code uses is built with scripts/bench-compare-names.h force-included; should it still
# not build, its own runner is used and the cases it cannot set up are left out.
# Both sides are pinned to one core when taskset is there.
# Cases, 300 passes each:
#   default   the default level left alone          median of update + draw per pass
#   running   the default level, the player running right   (the same)
#   stress    the stress state (500 actors, water, backgrounds)   (the same)
#   water     water in every open cell               median of the passes with the water step
# For each case: the median over the runs of the runs' medians and of their p90s, and the range
# of the runs' medians, so the noise of a shared machine shows beside the figures.
set -eu

[ $# -ge 1 ] || { echo "usage: scripts/bench-compare.sh BASE_REV [REPEATS]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$root/build"}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
repeats=${2:-5}
rev=$(git -C "$root" rev-parse --short "$1^{commit}")

cmake --build "$build" --target ravelon-sim ravelon_art >/dev/null
current="$build/ravelon-sim"

base_dir="$build/bench-base/$rev"
base="$base_dir/build/ravelon-sim"
launcher=""
command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
# $1: "ours" to time the base with this tree's measuring code, "ours+shim" the same with the
# names header force-included for what the base lacks, "ours+names" with the codes' names too,
# "theirs" with the base's own runner.
build_base() {
  rm -rf "$base_dir"
  mkdir -p "$base_dir/src"
  git -C "$root" archive "$rev" | tar -x -C "$base_dir/src"
  if [ "$1" != theirs ]; then
    for f in runner timing stress; do
      cp "$root/tools/sim/lib/$f.cpp" "$root/tools/sim/lib/$f.h" "$base_dir/src/tools/sim/lib/"
    done
  fi
  flags=""
  [ "$1" = ours+shim ] && flags="-include $root/scripts/bench-compare-names.h"
  [ "$1" = ours+names ] && flags="-include $root/scripts/bench-compare-names.h -DBENCH_COMPARE_OLD_NAMES"
  # shellcheck disable=SC2086
  cmake -S "$base_dir/src" -B "$base_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRAVELON_WITH_SDL=OFF -DRAVELON_WITH_TESTS=OFF -DRAVELON_WITH_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" $launcher >/dev/null &&
    cmake --build "$base_dir/build" --target ravelon-sim -j 2 >"$base_dir/build.log" 2>&1
}
if [ ! -x "$base" ]; then
  echo "building $rev in $base_dir ..." >&2
  if ! build_base ours && ! build_base ours+shim && ! build_base ours+names; then
    echo "the base does not build with this tree's measuring code; using its own runner" >&2
    build_base theirs || { echo "the base does not build: $base_dir/build.log" >&2; exit 1; }
  fi
fi
# A base timed by its own runner prints no update+draw line: both sides use the whole pass then.
if "$base" --help 2>&1 | grep -q -- '--water'; then own_runner=no; else own_runner=yes; fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ravelon-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/art"
cp "$build/art/"* "$work/art/"
printf '2 key 39 down\n' >"$work/run_right.txt"

case_args() {
  case $1 in
    default) echo "--frames 300" ;;
    running) echo "--frames 300 --script $work/run_right.txt" ;;
    stress) echo "--frames 300 --stress" ;;
    water) echo "--frames 300 --water" ;;
  esac
}
case_line() {
  if [ "$own_runner" = yes ]; then echo "frame"; elif [ "$1" = water ]; then echo "water step";
  else echo "upd+draw"; fi
}
cases="default running stress water"
[ "$own_runner" = yes ] && cases="default running stress"

# Both sides run on the same core, where taskset is at hand: a run that the scheduler moves
# between cores finds its caches cold and times the move, not the frames. The last core, unless
# BENCH_CPU names another (to keep clear of other work pinned there).
pin=""
if command -v taskset >/dev/null 2>&1 && command -v nproc >/dev/null 2>&1; then
  pin="taskset -c ${BENCH_CPU:-$(($(nproc) - 1))}"
fi

# One run: the median and the p90 of the case's line, appended to $work/SIDE.CASE as one line
# (a runner that prints no p90, as an old base's own does, leaves "-" in its place).
run_one() {  # side binary case
  # shellcheck disable=SC2046,SC2086
  $pin "$2" --dir "$work/art" $(case_args "$3") --bench 2>"$work/err" >/dev/null
  line=$(case_line "$3")
  grep "^bench: $line *median" "$work/err" | awk '{
    m = ""; p = ""
    for (i = 1; i < NF; i++) { if ($i == "median") m = $(i + 1); if ($i == "p90") p = $(i + 1) }
    if (m != "") print m, (p != "" ? p : "-") }' >>"$work/$1.$3"
}

i=1
while [ "$i" -le "$repeats" ]; do
  for c in $cases; do
    if [ $((i % 2)) -eq 1 ]; then
      run_one base "$base" "$c"; run_one current "$current" "$c"
    else
      run_one current "$current" "$c"; run_one base "$base" "$c"
    fi
  done
  i=$((i + 1))
done

# The median of column $2 of file $1 ("-" where a run had no such figure), and the smallest and
# largest value of it.
median() {
  awk -v c="$2" '{ print $c }' "$1" | sort -n | awk '
    $1 == "-" { none = 1 } { v[NR] = $1 }
    END { if (none || !NR) print "-"; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
spread() { awk -v c="$2" '{ print $c }' "$1" | sort -n | awk '{ v[NR] = $1 } END { printf "%.0f-%.0f", v[1], v[NR] }'; }
ratio() { echo "$1 $2" | awk '{ if ($1 == "-" || $2 == "-" || $2 == 0) print "-"; else printf "%.3f", $1 / $2 }'; }
echo "bench-compare: current $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet HEAD || echo '+changes') against base $rev, $repeats alternating runs of 300 passes"
[ "$own_runner" = yes ] && echo "bench-compare: the base timed by its own runner: whole passes compared, no water case"
echo "bench-compare: the medians over the runs of each run's median and of each run's p90, in us; the range of the runs' medians beside them"
printf '%-8s %10s %10s %10s %10s %8s %8s %13s %13s\n' case "base med" "cur med" "base p90" "cur p90" ratio "p90 rat" "base range" "cur range"
for c in $cases; do
  b=$(median "$work/base.$c" 1)
  n=$(median "$work/current.$c" 1)
  bp=$(median "$work/base.$c" 2)
  np=$(median "$work/current.$c" 2)
  printf '%-8s %10s %10s %10s %10s %8s %8s %13s %13s\n' "$c" "$b" "$n" "$bp" "$np" "$(ratio "$n" "$b")" \
    "$(ratio "$np" "$bp")" "$(spread "$work/base.$c" 1)" "$(spread "$work/current.$c" 1)"
done
