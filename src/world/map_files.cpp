// The two map files: backgrounds and block styles, one byte per cell, 54 rows of 75 bytes.
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"
#include "world/safe_save.h"

namespace {

const char* const kBGFile = "BGMap75x54.raw";
const char* const kBlockFile = "BlockMap75x54.raw";
constexpr size_t kMapFileBytes = MAP_WIDTH_TILES * MAP_HEIGHT_TILES;

size_t ByteOf(int x, int y) {
  return static_cast<size_t>(y) * MAP_WIDTH_TILES + x;
}

std::vector<uint8_t> BGBytes() {
  std::vector<uint8_t> bytes(kMapFileBytes);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      bytes[ByteOf(x, y)] = BGGrid[x][y];
  return bytes;
}

std::vector<uint8_t> BlockBytes() {
  std::vector<uint8_t> bytes(kMapFileBytes);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      bytes[ByteOf(x, y)] =
          BlockGrid[x][y] ? static_cast<uint8_t>(BlockGrid[x][y]->MStyle()) : kNoStyle;
  return bytes;
}

// Reads a map file that must be exactly kMapFileBytes long, with the game's two messages.
// The size is checked before anything is read, so a huge or odd file costs nothing.
bool ReadMapFile(const char* path, std::vector<uint8_t>& bytes) {
  if (FileLength(path) < 0 || !OpenFileForRead(path)) {
    PrintLine("Failure to load file.");
    return false;
  }
  if (FileLength(path) != static_cast<int64_t>(kMapFileBytes)) {
    PrintLine("Wrong size!");
    return false;
  }
  if (!ReadWholeFile(path, bytes, kMapFileBytes)) {
    PrintLine("Failure to load file.");
    return false;
  }
  if (bytes.size() != kMapFileBytes) {  // the file changed under us
    PrintLine("Wrong size!");
    return false;
  }
  return true;
}

}  // namespace

// Both files are replaced together or not at all, so a failed or interrupted save never leaves
// a half-written map or a background file out of step with its block file.
int TMap::FSaveState() {
  PrintLine("Saving maps.");
  if (!SaveFilesTogether({{kBGFile, BGBytes()}, {kBlockFile, BlockBytes()}}))
    PrintLine("Failure to create save file.");
  return 0;
}

int TMap::FLoadState() {
  PrintLine("Loading maps.");
  std::vector<uint8_t> bytes;
  if (!ReadMapFile(kBGFile, bytes)) return 0;
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      BGGrid[x][y] = bytes[ByteOf(x, y)];
  // A bad block file leaves the backgrounds just loaded and the blocks as they were.
  if (!ReadMapFile(kBlockFile, bytes)) return 0;
  TBlock::Count = 0;
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      FCreateBlock(x, y, bytes[ByteOf(x, y)]);
  PrintLine("Created " + std::to_string(TBlock::Count) + " block instances.");
  return 0;
}
