#!/usr/bin/env bash
# Installs what the build needs on a Debian 12 machine (only what is missing), then configures
# and builds into the folder given (default: build), with warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
# xvfb, xdotool, x11-apps (xeyes, xwd) and x11-utils (xwininfo) carry the tests that play the
# real game with real X input; python3 compares the overlay test's window grabs (named here
# though libsdl2-dev's own dependencies bring it today, so the test does not hang on theirs).
# scripts/check-setup-packages.sh checks that this list covers every program the tests call.
packages=(cmake g++ ninja-build pkg-config libsdl2-dev libgtest-dev libbenchmark-dev
  xvfb xdotool x11-apps x11-utils python3)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    # A minimal system has no sudo: say what to install rather than "sudo: command not found".
    command -v sudo >/dev/null || {
      echo "scripts/setup.sh: missing packages: ${missing[*]}" >&2
      echo "  install them as root (apt-get install ${missing[*]}) or install sudo, then run this again" >&2
      exit 1
    }
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -qq || true
  # Through env: sudo would drop the variable from the environment it was given.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVELON_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
