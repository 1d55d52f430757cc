// The game's command line: how big the window opens, whether it fills the screen, what the
// play records. Without options the game opens its 816x300 window exactly as it always has.
#pragma once

#include <string>
#include <vector>

struct GameOptions {
  int scale = 1;  // the window opens at scale times the frame's size
  bool fullscreen = false;
  bool fit = false;         // the largest picture that fits, even where whole steps of 2 or more do
  std::string record;       // a replay of this play is written here; empty: none
  std::string trace;        // the per-frame state trace of this play is written here; empty: none
  bool muted = false;       // the sound starts off
  int volume = 100;         // the sound's volume, 0..100
  int music = 50;           // the music's level under the effects, 0..100; 0: no music
  bool plain_draw = false;  // every frame drawn without the drawing shortcuts (the same picture)
  std::string level;        // the level file to start with; empty: the map files, as always
  std::string dir;    // the play folder; empty: the current folder, or the installed game's own
  bool help = false;  // list the options and end
};

struct OptionsOutcome {
  bool ok = true;
  std::string error;  // one line saying what was wrong, when not ok
};

// Reads the arguments after the program's name into options. The first bad argument stops the
// reading and is named in the error.
OptionsOutcome ParseGameOptions(const std::vector<std::string>& args, GameOptions& options);

// The text of --help, one line per option, ending with a line feed.
std::string GameOptionsHelp();

// The exit status for a command line that could not be read.
constexpr int kBadOptionsStatus = 2;
