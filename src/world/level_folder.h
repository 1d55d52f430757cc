// The level files of the play folder's levels/, as the level list offers them: by name, a
// bounded number, and each name in a form that is safe to show.
#pragma once

#include <string>
#include <vector>

// The most level files the list offers; a folder with more offers the first by name.
constexpr size_t kMaxListedLevels = 200;
// The most characters a level's name takes in the list.
constexpr size_t kMaxShownNameChars = 40;

struct TLevelFolder {
  std::vector<std::string> Files;  // file names in levels/ ("default.tmx"), sorted by name
  std::string Note;                // why the folder offers none or not all; empty when it is fine
};

// The regular files of levels/ whose names end in ".tmx" (not hidden files, not links), sorted
// by their bytes and cut at kMaxListedLevels. levels/ missing, a link or a file offers none,
// with the reason in Note.
TLevelFolder ListLevelFolder();
// "levels/NAME": where a listed file is opened from and saved to.
std::string LevelFolderPath(const std::string& file);
// A file name as the list shows it: without ".tmx", every byte outside printable ASCII as '?',
// and a name longer than kMaxShownNameChars cut with "...".
std::string ShownLevelName(const std::string& file);
