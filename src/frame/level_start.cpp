// The level file of start-up and the lines a level file is read with.
#include "frame/level_start.h"
#include "fluid/level_apply.h"
#include "frame/game_sounds.h"
#include "platform/console.h"
#include "world/current_level.h"
#include "world/level_save.h"

namespace {
std::string StartLevelPath;
}  // namespace

void SetStartLevelFile(const std::string& path) {
  StartLevelPath = path;
}

const std::string& StartLevelFile() {
  return StartLevelPath;
}

bool ReadLevelWithLines(const std::string& path, TLevel& level, std::string* why_out) {
  PrintLine("Loading level " + path + ".");
  std::string why;
  std::vector<std::string> notes;
  if (!ReadLevelFile(path, level, why, notes)) {
    PrintLine("Level " + path + " refused: " + why + ".");
    if (why_out) *why_out = why;
    return false;
  }
  for (const std::string& note : notes)
    PrintLine("Level " + path + ": " + note + ".");
  if (level.Name.empty()) level.Name = LevelNameFromPath(path);
  return true;
}

bool ReadStartLevel(TLevel& level) {
  CurrentLevel = {};
  if (StartLevelPath.empty()) return false;
  if (ReadLevelWithLines(StartLevelPath, level)) return true;
  PrintLine("Playing the map files instead.");
  return false;
}

void UseStartLevel(const TLevel& level) {
  UseLevel(StartLevelPath, level);
}

void UseLevel(const std::string& path, const TLevel& level) {
  SetMapFromLevel(level);
  CurrentLevel = {};
  CurrentLevel.Path = path;
  CurrentLevel.Name = level.Name;
  CurrentLevel.Music = level.Music;
  PlayLevelTune(level.Music);
}
