// The level as it is built, apart from whatever play does to the map: each cell's block style,
// background and water, and the starts. Build mode builds on it, a play-test starts from it and
// returning to building puts it back; the saves write it once build mode has been used.
#pragma once

#include <cstdint>
#include <vector>

#include "shared/units.h"
#include "world/level_starts.h"

struct TAuthoredLevel {
  uint8_t Blocks[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];  // block style, kNoStyle where none stands
  uint8_t BG[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];      // kNoStyle: no background
  uint8_t Water[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];   // 1: a full cell of water
  TLevelStarts Starts;
  bool operator==(const TAuthoredLevel&) const = default;
};

// The map as it stands (water is any cell that holds some) and LevelStarts.
void CaptureAuthoredLevel(TAuthoredLevel& level);
// One cell of the map as it stands into the level.
void CaptureAuthoredCell(TAuthoredLevel& level, int x, int y);
// The map made anew from the level: fresh blocks at rest (TBlock::Count counts them, as a load
// does), the backgrounds, full water cells, and LevelStarts. Actors are left to the caller; the
// shading, chunks and scroll locks wait for TScroller::FRefreshFromMap.
void PutAuthoredLevel(const TAuthoredLevel& level);
// The level as the two map files' bytes, one byte per cell, row after row.
std::vector<uint8_t> AuthoredBGBytes(const TAuthoredLevel& level);
std::vector<uint8_t> AuthoredBlockBytes(const TAuthoredLevel& level);
