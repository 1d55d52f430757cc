#!/bin/sh
# Rewrites tests/sim/pixel_hashes.txt, the hashes of the back buffer that the pixel-identity test
# compares against. Run it on purpose, when the picture changes because it is meant to (new art,
# a changed drawing rule), never to make a faster drawing path pass.
#   scripts/refresh-pixel-hashes.sh [BUILD_DIR]     (default: build)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
case $build in /*) ;; *) build="$PWD/$build" ;; esac

cmake --build "$build" --target tests_sim ravelon-sim ravelon_art >/dev/null
cd "$build"
RAVELON_WRITE_PIXEL_HASHES=1 RAVELON_SIM="$build/ravelon-sim" \
  "$build/tests_sim" --gtest_filter='PixelIdentity.EveryRunDrawsTheKeptPicture' >/dev/null
echo "tests/sim/pixel_hashes.txt rewritten; review and commit it"
