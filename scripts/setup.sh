#!/usr/bin/env bash
# Installs what the build needs on a Debian 12 machine (only what is missing), then configures
# and builds into the folder given (default: build), with warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
# xvfb, xdotool, x11-apps (xeyes, xwd) and x11-utils (xwininfo) carry the tests that play the
# real game with real X input; python3 compares the overlay test's window grabs (named here
# though libsdl2-dev's own dependencies bring it today, so the test does not hang on theirs).
# scripts/check-setup-packages.sh checks that this list covers every program the tests call.
# desktop-file-utils, appstream and dpkg-dev check the installed game's menu entry, metainfo
# and Debian package; file is what cpack's Debian packager asks which installed files are
# programs (for the libraries the package depends on): without it cpack -G DEB fails.
# libpugixml-dev, zlib1g-dev and libzstd-dev read level files; tiled checks that Tiled opens the
# level files the game writes (its test is skipped where it is missing).
packages=(cmake g++ ninja-build pkg-config libsdl2-dev libgtest-dev libbenchmark-dev
  libpugixml-dev zlib1g-dev libzstd-dev tiled
  xvfb xdotool x11-apps x11-utils python3 desktop-file-utils appstream dpkg-dev file)
source scripts/install-missing.sh
install_missing scripts/setup.sh "${packages[@]}"
build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVELON_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
