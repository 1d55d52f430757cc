#!/usr/bin/env bash
# The game in a web browser: installs what is missing (Debian's emscripten), builds the page
# into build-web/site and serves it on http://localhost:8080.
#   bash scripts/web.sh               build and serve (Ctrl+C stops the server)
#   bash scripts/web.sh --build-only  build only
#   RAVELON_WEB_PORT=8081 bash scripts/web.sh   another port
# The art is made by a native build of the art builder (build-web/native, which also holds the
# ravelon-sim the browser test compares with, and the tool that writes the page's list of
# controls from the table of commands), then packed into the page.
set -euo pipefail
cd "$(dirname "$0")/.."

build_only=0
for arg in "$@"; do
  case "$arg" in
    --build-only) build_only=1 ;;
    -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
    *) echo "web.sh: unknown option $arg (try --help)" >&2; exit 2 ;;
  esac
done

# The native build reads level files as the game does: Debian's XML parser, zlib and zstd.
packages=(cmake g++ ninja-build pkg-config libpugixml-dev zlib1g-dev libzstd-dev emscripten python3)
source scripts/install-missing.sh
install_missing scripts/web.sh "${packages[@]}"

# Emscripten's optimizer needs acorn, which Debian keeps among its Node packages.
for node_dir in /usr/share/nodejs /usr/lib/nodejs; do
  [ -d "$node_dir" ] && export NODE_PATH="${NODE_PATH:+$NODE_PATH:}$node_dir"
done

jobs="$(nproc)"
echo "== the art (native build in build-web/native)"
cmake -S . -B build-web/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAVELON_WERROR=ON \
  -DRAVELON_WITH_SDL=OFF -DRAVELON_WITH_TESTS=OFF -DRAVELON_WITH_BENCH=OFF >/dev/null
cmake --build build-web/native -j "$jobs" --target ravelon_art ravelon-sim ravelon-controls-page

echo "== the page (emscripten build in build-web)"
# The compiler cache of the native builds does not know emscripten's compiler.
unset CMAKE_CXX_COMPILER_LAUNCHER
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAVELON_WERROR=ON \
  -DRAVELON_WITH_SDL=OFF -DRAVELON_WITH_TESTS=OFF -DRAVELON_WITH_BENCH=OFF \
  -DRAVELON_WEB_ART_DIR="$PWD/build-web/native/art" \
  -DRAVELON_WEB_CONTROLS_TOOL="$PWD/build-web/native/ravelon-controls-page" >/dev/null
cmake --build build-web -j "$jobs"
site="$PWD/build-web/site"
echo "web page built in $site"

[ "$build_only" -eq 1 ] && exit 0
port="${RAVELON_WEB_PORT:-8080}"
echo "Ravelon in the browser: http://localhost:$port/ (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
