#!/usr/bin/env bash
# Prints the include graph between the folders of src/ (how many includes run along each arrow)
# and lists the arrows that run back up the layers, with the includes behind them.
# Layers, bottom to top: platform, the web backend (over the platform alone; the web page's
# program in frame/ starts it), shared, world, actors, fluid, art, editor, frame, and the SDL
# backend's main over everything.
# Exits 1 when more than 3 arrows run back up.
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A rank=([platform]=0 [platform/web]=1 [shared]=1 [world]=2 [actors]=3 [fluid]=4 [art]=5 [editor]=6 [frame]=7
  [platform/sdl]=8)
max_upward=3

# One line per include between two different folders: "from to file included". The SDL backend
# holds the game's main, which starts everything, so it is a node of its own on top.
folder_of() { sed -E 's#^(platform/(sdl|web))/.*#\1#; t; s#/.*##'; }
edges=$(grep -rH '^#include "[a-z_]*/' --include='*.h' --include='*.cpp' . | sed -E 's#^\./##' |
  while IFS=: read -r file line; do
    included=$(sed -E 's#^\#include "([^"]*)".*#\1#' <<<"$line")
    from=$(folder_of <<<"$file")
    to=$(folder_of <<<"$included")
    [[ "$from" != "$to" ]] && echo "$from $to $file $included"
  done || true)

echo "Folder include graph (includes per arrow):"
echo "$edges" | awk '{ print $1 " -> " $2 }' | sort | uniq -c | awk '{ printf "  %-26s %d\n", $2 " " $3 " " $4, $1 }'

echo "Arrows running back up:"
upward=0
while read -r from to; do
  [[ -z "$from" ]] && continue
  if [[ -z "${rank[$from]+x}" || -z "${rank[$to]+x}" ]]; then
    echo "  unknown folder in $from -> $to: give it a layer in scripts/include-graph.sh"
    upward=$((upward + 1))
    continue
  fi
  if ((rank[$from] < rank[$to])); then
    upward=$((upward + 1))
    echo "  $from -> $to"
    echo "$edges" | awk -v f="$from" -v t="$to" '$1 == f && $2 == t { print "      " $3 " includes " $4 }'
  fi
done < <(echo "$edges" | awk '{ print $1, $2 }' | sort -u)
echo "$upward upward arrow(s), at most $max_upward allowed."
((upward <= max_upward))
