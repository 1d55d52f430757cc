#!/usr/bin/env bash
# Builds everything and runs every test; needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
cd build
ctest --output-on-failure -j "$(nproc)"
