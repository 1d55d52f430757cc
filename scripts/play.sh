#!/usr/bin/env bash
# Builds the game and starts it in its play folder, ./play at the top of the checkout.
# The art is copied in every time; the default level only where no map file is there yet, so
# a map the player saved is never overwritten. Options (--scale N, --fullscreen) go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
# The layout is src/shared/play_files.h's, as the web page's.
source scripts/play-folder.sh
lay_out_play_folder build/art play
# A sanitizer build still checks for leaks, all but the system's own (see the file).
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
cd play
exec ../build/ravelon "$@"
