#!/usr/bin/env bash
# Checks that every C++ file of the checkout is formatted as .clang-format says; changes nothing.
# Lists each file that differs and exits 1 if there is one. To mend a file:
#   clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang-format
fi
# The files git knows of, so build folders and scratch files are never looked at; outside a
# git checkout, the source folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests tools fuzz -name '*.cpp' -o -name '*.h' | sort)
fi
[ ${#files[@]} -gt 0 ] || { echo "format: no C++ files found" >&2; exit 1; }
differ=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${differ[@]}"
  echo "format: ${#differ[@]} of ${#files[@]} files differ from .clang-format"
  exit 1
fi
echo "format: all ${#files[@]} files match .clang-format"
