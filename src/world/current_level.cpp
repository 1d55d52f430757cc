// The current level, and the map as a level file.
#include "world/current_level.h"

#include <filesystem>

#include "platform/save/safe_write.h"
#include "shared/units.h"
#include "world/map.h"

TCurrentLevel CurrentLevel;

TLevel LevelFromMap() {
  TLevel level;
  level.Name = CurrentLevel.Name;
  level.Music = CurrentLevel.Music;
  level.Backgrounds = BGBytes();
  level.Blocks = BlockBytes();
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      if (SolidGrid[x][y] == kSolidFluid)
        level.Water[static_cast<size_t>(y) * MAP_WIDTH_TILES + x] = FillGrid[x][y];
  level.Starts = LevelStarts;
  if (level.Starts.Badguys.empty()) level.Starts.Badguys = DefaultLevelStarts().Badguys;
  return level;
}

TLevel LevelFromAuthored(const TAuthoredLevel& authored) {
  TLevel level;
  level.Name = CurrentLevel.Name;
  level.Music = CurrentLevel.Music;
  level.Backgrounds = AuthoredBGBytes(authored);
  level.Blocks = AuthoredBlockBytes(authored);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      if (authored.Water[x][y] != 0)
        level.Water[static_cast<size_t>(y) * MAP_WIDTH_TILES + x] = kFullWater;
  level.Starts = authored.Starts;
  if (level.Starts.Badguys.empty()) level.Starts.Badguys = DefaultLevelStarts().Badguys;
  return level;
}

std::string LevelNameFromPath(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmx") == 0)
    name.resize(name.size() - 4);
  return WhyNotLevelName(name).empty() ? name : "level";
}

bool WriteLevelFile(const std::string& path, TLevel level, std::string& why) {
  if (level.Name.empty()) level.Name = LevelNameFromPath(path);
  const std::string text = LevelTmxText(level);
  return WriteFileSafely(path, std::vector<uint8_t>(text.begin(), text.end()), why);
}
