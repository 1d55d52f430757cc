#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs
# each for a bounded time on its seed corpus.
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Default 60 s per target, every target. FUZZ_JOBS=N runs N processes per target (default 1).
# New inputs that add coverage go to build-fuzz/corpus/<target> (the checked-in seeds are
# read, never written); a crash leaves its input in build-fuzz/crashes/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_bmp_decode fuzz_image_load fuzz_pixmap_load fuzz_map_load
                                     fuzz_palette fuzz_script fuzz_script_play fuzz_replay)
jobs="${FUZZ_JOBS:-1}"

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-14-dev cmake ninja-build
fi

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DRAVELON_WERROR=ON -DRAVELON_FUZZ=ON -DRAVELON_WITH_SDL=OFF -DRAVELON_WITH_TESTS=OFF \
  -DRAVELON_WITH_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" ravelon-fuzz-seeds
bash scripts/make-fuzz-seeds.sh "$build"

status=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  crashes="$build/crashes/$target"
  mkdir -p "$work" "$crashes"
  max_len=16384
  [ "$target" = fuzz_map_load ] && max_len=9000
  # A level file is text: a whole CSV map is some 50 KB.
  [ "$target" = fuzz_level_read ] && max_len=65536
  echo "== $target: ${seconds}s"
  # Parallel jobs write their fuzz-N.log files into the working directory: keep them in the build.
  rc=0
  (cd "$build" && rm -f fuzz-*.log && "./$target" -max_total_time="$seconds" -max_len="$max_len" \
      -timeout=20 -rss_limit_mb=3072 -jobs="$jobs" -workers="$jobs" -print_final_stats=1 \
      -artifact_prefix="$root/$crashes/" "$root/$work" "$root/fuzz/corpus/$target") \
      >"$build/$target.log" 2>&1 || rc=$?
  if [ "$jobs" -gt 1 ]; then
    cat "$build"/fuzz-*.log >>"$build/$target.log" 2>/dev/null || true
    rm -f "$build"/fuzz-*.log
  fi
  if [ $rc -ne 0 ] || grep -q '^==[0-9]*==ERROR\|^SUMMARY: \|invariant broken' "$build/$target.log"; then
    echo "!! $target found a crash; input in $crashes/, log in $build/$target.log"
    grep -m1 -A30 'ERROR\|invariant broken\|runtime error' "$build/$target.log" || tail -40 "$build/$target.log"
    status=1
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|DONE' "$build/$target.log" | tail -4
  fi
done
exit $status
