#!/usr/bin/env bash
# The play folder's layout, read from src/shared/play_files.h (the one list the game, the web
# page and the tests use too): sourced by the scripts that lay out a play folder.
#   play_folder_files "every run" | "when missing": the file names of that kind, one a line
#   lay_out_play_folder ART PLAY [--level-always] [--no-sounds]: copies the art of ART (a
#     build's art folder) into PLAY, made if missing: every file copied on every run, the
#     sound recipes and the tunes, the default level only where no map file is there yet (always with
#     --level-always, for a fresh scratch folder); false when a file cannot be copied.
# Run as a program it prints the layout: "every run NAME", "when missing NAME" lines.

play_files_header="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src/shared/play_files.h"

play_folder_files() {
  sed -nE "s#^constexpr const char\* k[A-Za-z]+ = \"([^\"]+)\";[[:space:]]*// $1\$#\1#p" \
    "$play_files_header"
}

lay_out_play_folder() {
  local art=$1 play=$2 level=missing sounds=1 name recipes tunes option
  shift 2
  for option in "$@"; do
    case "$option" in
    --level-always) level=always ;;
    --no-sounds) sounds=0 ;;
    *)
      echo "lay_out_play_folder: unknown option $option" >&2
      return 2
      ;;
    esac
  done
  mkdir -p "$play" || return 1
  for name in $(play_folder_files "every run"); do
    cp "$art/$name" "$play/" || return 1
  done
  if ((sounds)); then
    recipes=$(sed -nE 's#^constexpr const char\* kSoundRecipeExtension = "([^"]+)";.*#\1#p' \
      "$play_files_header")
    compgen -G "$art/*$recipes" >/dev/null || {
      echo "no sound recipes (*$recipes) in $art" >&2
      return 1
    }
    cp "$art"/*"$recipes" "$play/" || return 1
    tunes=$(sed -nE 's#^constexpr const char\* kMusicScoreExtension = "([^"]+)";.*#\1#p' \
      "$play_files_header")
    if compgen -G "$art/*$tunes" >/dev/null; then
      cp "$art"/*"$tunes" "$play/" || return 1
    fi
  fi
  for name in $(play_folder_files "when missing"); do
    [[ $level == always || ! -e "$play/$name" ]] || continue
    cp "$art/$name" "$play/$name" || return 1
  done
  # The default level as a level file in levels/, only where none of its name is there yet
  # (and never into a levels that is a link or a file).
  if [[ -f "$art/default.tmx" ]]; then
    [[ -e "$play/levels" || -L "$play/levels" ]] || mkdir "$play/levels" || return 1
    if [[ -d "$play/levels" && ! -L "$play/levels" && ! -e "$play/levels/default.tmx" ]]; then
      cp "$art/default.tmx" "$play/levels/default.tmx" || return 1
    fi
  fi
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  set -euo pipefail
  for kind in "every run" "when missing"; do
    play_folder_files "$kind" | sed "s/^/$kind /"
  done
fi
