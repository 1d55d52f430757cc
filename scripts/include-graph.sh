#!/usr/bin/env bash
# Prints the include graph between the rooms of src/ (how many includes run along each arrow)
# and checks the floor plan. Every quoted include is resolved as the compiler does (the
# including file's own folder first, then src/), with or without a folder in its name.
# Layers, bottom to top: shared (units, codes and the program-level variables: it includes
# nothing of the game), platform (with its software renderer, platform/render, and the save's
# file machinery, platform/save), world, actors, fluid, art, editor, record, frame. The
# backends, SDL's (platform/sdl) and the web page's (platform/web), sit on platform and shared
# alone, and only frame/ (the process entries, which choose the backend) includes them.
# Exits 1 on any of:
#   - an arrow running up the layers other than the three the game's design makes (world to
#     actors, to fluid, to art), or one of those three without "// up:" and its reason;
#   - a backend including anything above platform/ and shared/, or included outside frame/;
#   - a file of src/ including anything under tools/, or an include that names no file.
# Usage: include-graph.sh [ROOT]: the checkout whose src/ (and tools/) it reads, this one by
# default (the tests run it over a copy with an arrow planted).
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2
[[ -d src ]] || {
  echo "include-graph.sh: no src/ in $PWD" >&2
  exit 2
}

declare -A rank=([shared]=0 [platform]=1 [platform/render]=1 [platform/sdl]=2 [platform/web]=2
  [world]=3 [actors]=4 [fluid]=5 [art]=6 [editor]=7 [record]=8 [frame]=9)
declare -A allowed_up=([world actors]=1 [world fluid]=1 [world art]=1)
declare -A backend_may_include=([platform]=1 [platform/render]=1 [shared]=1)
declare -A backend=([platform/sdl]=SDL [platform/web]=web)

# The room of a path under src/: platform/render, platform/sdl and platform/web are rooms of
# their own.
room_of() {
  case "$1" in
  platform/render/*) echo platform/render ;;
  platform/sdl/*) echo platform/sdl ;;
  platform/web/*) echo platform/web ;;
  */*) echo "${1%%/*}" ;;
  *) echo . ;;
  esac
}

# A path (src/...) as it stands under src/; only a path with "." or ".." in it asks realpath.
relative_to_src() {
  case "/$1/" in
  */./* | */../*) realpath -m --relative-to=src "$1" ;;
  *) echo "${1#src/}" ;;
  esac
}

failures=0
fail() {
  echo "  $*"
  failures=$((failures + 1))
}

# One line per include between two different rooms: "from to file included".
edges=""
problems=""
while IFS= read -r hit; do
  including=${hit%%:*}
  line=${hit#*:}
  [[ "$line" =~ include[[:space:]]*\"([^\"]*)\" ]] || continue
  included=${BASH_REMATCH[1]}
  own_dir=${including%/*}
  if [[ -f "$own_dir/$included" ]]; then
    target=$(relative_to_src "$own_dir/$included")
  elif [[ -f "src/$included" ]]; then
    target=$(relative_to_src "src/$included")
  elif [[ "$included" == *tools/* ]] ||
    [[ -d tools && -n "$(find tools -name "${included##*/}" -print -quit)" ]]; then
    problems+="${including#src/} includes $included from tools/"$'\n'
    continue
  else
    problems+="${including#src/} includes $included, which names no file"$'\n'
    continue
  fi
  if [[ "$target" == ../* ]]; then
    problems+="${including#src/} includes $included, outside src/"$'\n'
    continue
  fi
  from=$(room_of "${including#src/}")
  to=$(room_of "$target")
  marked=0
  [[ "$line" == *"// up:"* ]] && marked=1
  [[ "$from" != "$to" ]] && edges+="$from $to ${including#src/} $target $marked"$'\n'
done < <(grep -rH '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' src)
edges=${edges%$'\n'}

echo "Room include graph (includes per arrow):"
echo "$edges" | awk 'NF { print $1 " -> " $2 }' | sort | uniq -c |
  awk '{ printf "  %-34s %d\n", $2 " " $3 " " $4, $1 }'

echo "Checks:"
while IFS= read -r problem; do
  [[ -n "$problem" ]] && fail "$problem"
done <<<"$problems"
upward=0
while read -r from to; do
  [[ -z "$from" ]] && continue
  if [[ -z "${rank[$from]+x}" || -z "${rank[$to]+x}" ]]; then
    fail "unknown room in $from -> $to: give it a layer in scripts/include-graph.sh"
    continue
  fi
  behind=$(echo "$edges" | awk -v f="$from" -v t="$to" '$1 == f && $2 == t')
  if [[ -n "${backend[$from]+x}" && -z "${backend_may_include[$to]+x}" ]]; then
    fail "the ${backend[$from]} backend includes $to:"
    echo "$behind" | awk '{ print "      " $3 " includes " $4 }'
    continue
  fi
  if [[ -n "${backend[$to]+x}" && "$from" != frame ]]; then
    fail "$from includes the ${backend[$to]} backend (only the process entries in frame/ may):"
    echo "$behind" | awk '{ print "      " $3 " includes " $4 }'
    continue
  fi
  ((rank[$from] < rank[$to])) || continue
  upward=$((upward + 1))
  if [[ -z "${allowed_up[$from $to]+x}" ]]; then
    fail "$from -> $to runs up the layers:"
    echo "$behind" | awk '{ print "      " $3 " includes " $4 }'
    continue
  fi
  echo "  $from -> $to runs up, by design"
  unmarked=$(echo "$behind" | awk '$5 == 0 { print "      " $3 " includes " $4 }')
  [[ -n "$unmarked" ]] && fail "$from -> $to: includes without \"// up:\" and their reason:" &&
    echo "$unmarked"
done < <(echo "$edges" | awk 'NF { print $1, $2 }' | sort -u)
echo "$upward upward arrow(s) (at most world to actors, to fluid and to art); $failures problem(s)."
((failures == 0))
