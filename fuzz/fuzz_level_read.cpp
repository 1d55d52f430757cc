// libFuzzer target: a level file from arbitrary bytes. Whatever the reader accepts must be a
// level the game can play (every grid one byte per cell, water 1..16 only where no block
// stands, the starts inside the map, bad guys within the cap, a fit name), and the game's own
// writing of it must read back as the same level.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "world/level_file.h"

namespace {

bool InsideMap(const TStartPoint& at) {
  return at.X >= 0 && at.Y >= 0 && at.X <= MAP_WIDTH_UNITS && at.Y <= MAP_HEIGHT_UNITS;
}

void CheckLevel(const TLevel& level) {
  fuzz::Check(level.Backgrounds.size() == kMapFileBytes && level.Blocks.size() == kMapFileBytes &&
                  level.Water.size() == kMapFileBytes,
              "every grid one byte per cell");
  for (size_t i = 0; i < kMapFileBytes; ++i) {
    fuzz::Check(level.Water[i] <= kFullWater, "water 0..16");
    fuzz::Check(level.Water[i] == 0 || level.Blocks[i] == kNoStyle, "no water under a block");
  }
  fuzz::Check(!level.Starts.Badguys.empty() && level.Starts.Badguys.size() <= kLevelBadguyCap,
              "bad guys within the cap");
  fuzz::Check(InsideMap(level.Starts.Player), "the player starts inside the map");
  for (const TStartPoint& at : level.Starts.Badguys)
    fuzz::Check(InsideMap(at), "a bad guy starts inside the map");
  fuzz::Check(level.Name.empty() || WhyNotLevelName(level.Name).empty(), "a fit name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxLevelFileBytes) return 0;
  // External tilesets are looked for in the scratch folder, where none lie.
  const std::string folder = fuzz::ScratchDir();
  TLevel level;
  std::string why;
  std::vector<std::string> notes;
  if (!ParseLevelTmx({reinterpret_cast<const char*>(data), size}, folder, level, why, notes)) {
    fuzz::Check(!why.empty(), "a refusal says why");
    return 0;
  }
  CheckLevel(level);
  TLevel again;
  notes.clear();
  const std::string text = LevelTmxText(level);
  fuzz::Check(ParseLevelTmx(text, folder, again, why, notes), "the game's writing reads back");
  fuzz::Check(again == level, "the game's writing reads back as the same level");
  return 0;
}
