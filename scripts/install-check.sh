#!/usr/bin/env bash
# The game installed like any other: installed into a scratch prefix, started from another
# folder with XDG_DATA_HOME pointing at a scratch folder, it lays out its play folder there
# (the art, and the default level only where no map is yet) and starts; an unusable data folder
# is said and nothing is written; the menu entry and the metainfo validate; cpack makes a
# Debian package that dpkg installs (for real as root, else as a dry run).
#   scripts/install-check.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$scratch/err" ] && sed 's/^/  game: /' "$scratch/err" >&2
  exit 1
}

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
mkdir -p "$scratch/elsewhere" "$scratch/data"
# The game runs until stopped: a few seconds with SDL's dummy drivers, then a TERM.
run_installed() {
  (cd "$scratch/elsewhere" &&
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$1" \
      timeout 5 "$scratch/prefix/bin/ravelon" >"$scratch/out" 2>"$scratch/err") || true
}

run_installed "$scratch/data"
folder="$scratch/data/ravelon"
for file in AllTiles8.bmp tall_water.bmp jump.sfx BGMap75x54.raw BlockMap75x54.raw; do
  [ -f "$folder/$file" ] || fail "the installed game did not lay out $file in $folder"
done
grep -q "Loaded All Tiles Image" "$scratch/out" || fail "the installed game did not load its art"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote into the folder it was started in"
echo "ok   the installed game lays out its play folder in XDG_DATA_HOME and starts"

# A map the player saved stays; art that was damaged is copied afresh.
printf 'x%.0s' $(seq 4050) >"$folder/BlockMap75x54.raw"
printf 'broken' >"$folder/AllTiles8.bmp"
run_installed "$scratch/data"
[ "$(head -c 3 "$folder/BlockMap75x54.raw")" = "xxx" ] || fail "a saved map was overwritten"
cmp -s "$folder/AllTiles8.bmp" "$scratch/prefix/share/ravelon/AllTiles8.bmp" ||
  fail "the art was not copied afresh"
echo "ok   a saved map is kept and the art is copied afresh"

# A data folder that cannot be made: one line, status 1, nothing written anywhere.
: >"$scratch/a-file"
set +e
(cd "$scratch/elsewhere" && SDL_VIDEODRIVER=dummy XDG_DATA_HOME="$scratch/a-file" \
  timeout 20 "$scratch/prefix/bin/ravelon" >"$scratch/out" 2>"$scratch/err")
status=$?
set -e
[ "$status" -eq 1 ] || fail "an unusable data folder gave status $status, not 1"
grep -q "cannot be made" "$scratch/err" || fail "an unusable data folder was not said"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote elsewhere"
echo "ok   an unusable data folder is said, and nothing is written"

desktop-file-validate "$scratch/prefix/share/applications/ravelon.desktop" ||
  fail "desktop-file-validate refused the menu entry"
appstreamcli validate --no-net "$scratch/prefix/share/metainfo/io.github.ravelon.Ravelon.metainfo.xml" \
  >/dev/null || fail "appstreamcli refused the metainfo"
[ -f "$scratch/prefix/share/icons/hicolor/scalable/apps/ravelon.svg" ] || fail "no icon"
echo "ok   the menu entry, the icon and the metainfo"

rm -f "$scratch/err"  # the game's lines say nothing of the package
(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >"$scratch/cpack.txt" 2>&1) ||
  fail "cpack -G DEB failed: $(grep -m 3 -i 'error' "$scratch/cpack.txt" | tr '\n' ' ')"
deb=$(ls "$scratch"/deb/*.deb)
dpkg-deb --contents "$deb" >"$scratch/contents"
grep -q "/usr/share/ravelon/AllTiles8.bmp" "$scratch/contents" || fail "the package lacks the art"
if [ "$(id -u)" -eq 0 ] && [ "${RAVELON_DPKG_INSTALL:-1}" = 1 ] && ! dpkg -s ravelon >/dev/null 2>&1; then
  dpkg -i "$deb" >/dev/null || fail "dpkg -i refused the package"
  [ -x /usr/bin/ravelon ] && [ -f /usr/share/ravelon/BGMap75x54.raw ] || fail "the package installed no game"
  dpkg -r ravelon >/dev/null
  echo "ok   cpack -G DEB makes a package that dpkg installs"
else
  dpkg -i --dry-run "$deb" >/dev/null || fail "dpkg -i --dry-run refused the package"
  echo "ok   cpack -G DEB makes a package that dpkg would install"
fi
