#!/usr/bin/env bash
# Every program the test suite's scripts and the README's commands call comes from a package
# scripts/setup.sh installs, or from one every Debian system has (priority "required": what a
# minimal debootstrap installs). A program that came onto this machine some other way would
# pass here and fail on a fresh one: that is what this catches, on any machine.
#   scripts/check-setup-packages.sh
# Exit 77 (a skip for CTest) where there is no dpkg to ask.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v dpkg >/dev/null || ! command -v dpkg-query >/dev/null; then
  echo "SKIP: no dpkg on this machine"
  exit 77
fi

# The README's two commands, every script a CMake file gives CTest to run, and every script those
# source or call, followed to the end: a test script added later is scanned without a word here.
scan=(scripts/setup.sh scripts/play.sh scripts/test.sh)
while read -r script; do scan+=("$script"); done < <(
  find CMakeLists.txt src tests tools fuzz \( -name CMakeLists.txt -o -name '*.cmake' \) \
    -exec sed -e 's/#.*//' {} + | grep -E 'COMMAND' | grep -oE 'scripts/[A-Za-z0-9_-]+\.sh' | sort -u)
scripts=()
while [ ${#scan[@]} -gt 0 ]; do
  script=${scan[0]}
  scan=("${scan[@]:1}")
  [[ " ${scripts[*]} " == *" $script "* ]] && continue
  [ -f "$script" ] || { echo "FAIL: $script is named but not there" >&2; exit 1; }
  scripts+=("$script")
  while read -r called; do scan+=("$called"); done < <(
    sed -e 's/#.*//' "$script" | grep -oE 'scripts/[A-Za-z0-9_-]+\.sh' | sort -u)
done
# Named by the scripts' own checks, so a new one is never missed by the word scan below; and
# file, which cpack -G DEB runs itself.
named=(Xvfb xdotool xeyes xwininfo xwd python3 file)
# sudo is called only by a user who is not root, who has it; the build's compilers are
# checked through the packages that bring them (g++, cmake, ninja-build).
skipped=" sudo "

read -r -a setup_packages <<<"$(sed -n '/^packages=(/,/)/p' scripts/setup.sh |
  sed -e 's/^packages=(//' -e 's/)//' | tr '\n' ' ')"

# Words at the start of a command (line start, after a pipe, &&, || or "$("): programs once
# the shell's builtins, keywords and the scripts' own functions are left out.
words=$(sed -e 's/#.*//' "${scripts[@]}" |
  grep -oE '(^|[|&;(]|\$\()[[:space:]]*[A-Za-z][A-Za-z0-9_.+-]*' |
  sed -E 's/^[^A-Za-z]*//' | sort -u)

owners() {  # the packages that own the file, or nothing
  dpkg -S "$1" 2>/dev/null | sed -n 's/: \/.*//p' | tr ',' '\n' | sed -e 's/^ *//' -e 's/:.*//'
}

# A path as dpkg knows it: with merged /usr, /bin/grep may be listed under either name.
candidates() {
  local path=$1 real
  real=$(realpath "$path")
  printf '%s\n' "$path" "$real" "${path#/usr}" "${real#/usr}" "/usr$path" "/usr$real"
}

# Setup's packages and the ones they depend on (installed with them on every machine, unlike
# the ones they only recommend, which a machine set not to install recommends goes without).
installed_by_setup=" ${setup_packages[*]} "
for p in "${setup_packages[@]}"; do
  for dependency in $(dpkg-query -W -f '${Depends},${Pre-Depends}' "$p" 2>/dev/null |
    tr ',|' '\n' | sed -e 's/([^)]*)//g' -e 's/:any//g' | tr -d ' '); do
    installed_by_setup+="$dependency "
  done
done

acceptable() {  # true when setup installs the package or every Debian system has it
  local package=$1
  [[ $installed_by_setup == *" $package "* ]] && return 0
  [ "$(dpkg-query -W -f '${Priority}' "$package" 2>/dev/null)" = required ]
}

failures=0
checked=0
system_path=/usr/sbin:/usr/bin:/sbin:/bin
for word in $(printf '%s\n' $words "${named[@]}" | sort -u); do
  [[ $skipped == *" $word "* ]] && continue
  [ "$(type -t "$word" 2>/dev/null || true)" = file ] || continue
  # Where a fresh machine finds it: a copy earlier on this PATH (a version manager's shim, a
  # program built by hand) would hide that the system has none.
  path=$(PATH=$system_path type -P "$word" || true)
  if [ -z "$path" ]; then
    echo "FAIL: $word ($(type -P "$word")) is not in $system_path; scripts/setup.sh does not install it" >&2
    failures=$((failures + 1))
    continue
  fi
  found=""
  ok=""
  for candidate in $(candidates "$path" | awk '!seen[$0]++'); do
    for package in $(owners "$candidate"); do
      found="$found $package"
      acceptable "$package" && ok=yes
    done
    [ -n "$found" ] && break
  done
  checked=$((checked + 1))
  [ -n "${VERBOSE:-}" ] && echo "$word:$found"
  if [ -z "$found" ]; then
    echo "FAIL: $word ($path) comes from no Debian package; scripts/setup.sh cannot install it" >&2
    failures=$((failures + 1))
  elif [ -z "$ok" ]; then
    echo "FAIL: $word comes from${found} (dpkg -S), which scripts/setup.sh does not install" >&2
    failures=$((failures + 1))
  fi
done
# Named programs must be here at all: setup.sh installs them.
for word in "${named[@]}"; do
  command -v "$word" >/dev/null || {
    echo "FAIL: $word is missing: run scripts/setup.sh" >&2
    failures=$((failures + 1))
  }
done
[ "$failures" -eq 0 ] || exit 1
echo "ok: $checked programs, each from a package scripts/setup.sh installs or every system has"
