// The default level: character maps in assets/level/ become the two raw map files and the
// reference bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shared/game_codes.h"
#include "shared/units.h"

namespace art {

constexpr int kMapColumns = MAP_WIDTH_TILES;
constexpr int kMapRows = MAP_HEIGHT_TILES;

// One byte per cell, byte y * 75 + x, kNoStyle for an empty cell: the layout of the map files.
using MapBytes = std::vector<uint8_t>;

// Reads a character map with its "style" legend; seed picks the variants of each family.
bool ReadLevelLayer(const std::string& path, uint64_t seed, MapBytes& out, std::string& error);

// The reference bitmap of the block map: each style written as three base-8 digits in red,
// green and blue, scaled by 32 so that the reference-image reader gets the style back.
std::vector<uint32_t> ReferencePixels(const MapBytes& blocks);

// Writes BGMap75x54.raw, BlockMap75x54.raw and BlockMapImage.bmp into outDir.
bool BuildLevel(const std::string& assetsDir, const std::string& outDir);

}  // namespace art
