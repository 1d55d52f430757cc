// The game installed like any other (cmake --install, the Debian package): its art, sounds and
// default level under <prefix>/share/ravelon, read-only, and the play folder in the user's own
// data folder, laid out from them at every start: the art copied afresh, the default level only
// where no map file is there yet, so a map saved with S is never overwritten.
#pragma once

#include <string>

// The installed data beside an executable at exe_path: <exe's folder>/../share/ravelon (as the
// install's folders place it) when it holds the art, else empty (a build tree, a checkout).
std::string InstalledDataFolder(const std::string& exe_path);

// $XDG_DATA_HOME/ravelon where that is an absolute path, else $HOME/.local/share/ravelon; empty
// when neither can be told. xdg_data_home and home are the variables' values (null: unset).
std::string UserPlayFolder(const char* xdg_data_home, const char* home);

// Makes `folder` (and its parents) and copies the installed files into it as the start-up
// above says. False, with why, when the folder cannot be made or written; nothing is written
// anywhere else.
bool LayOutPlayFolder(const std::string& installed, const std::string& folder, std::string& why);
