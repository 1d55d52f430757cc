// The world's units and sizes: 64-bit fixed-point units, 65536 to a pixel, 1048576 to a
// 16-pixel cell; the screen, the map and the chunk grid measured in pixels, cells and units.
#pragma once

#include <cstdint>

constexpr int PIXEL_SHIFT = 16;
constexpr int TILE_SHIFT = 20;
constexpr int CHUNK_SHIFT = 22;  // a chunk is 4 cells (64 pixels) each way
constexpr int64_t PIXEL_UNITS = int64_t{1} << PIXEL_SHIFT;
constexpr int64_t TILE_UNITS = int64_t{1} << TILE_SHIFT;
constexpr int SCREEN_WIDTH_PIXELS = 400;
constexpr int SCREEN_HEIGHT_PIXELS = 288;
constexpr int TILE_SIZE_PIXELS = 16;
constexpr int SCREEN_WIDTH_TILES = SCREEN_WIDTH_PIXELS / TILE_SIZE_PIXELS;
constexpr int SCREEN_HEIGHT_TILES = SCREEN_HEIGHT_PIXELS / TILE_SIZE_PIXELS;
constexpr int64_t SCREEN_WIDTH_UNITS = SCREEN_WIDTH_PIXELS * PIXEL_UNITS;
constexpr int64_t SCREEN_HEIGHT_UNITS = SCREEN_HEIGHT_PIXELS * PIXEL_UNITS;
constexpr int MAP_WIDTH_TILES = 75;
constexpr int MAP_HEIGHT_TILES = 54;
constexpr int MAP_WIDTH_PIXELS = MAP_WIDTH_TILES * TILE_SIZE_PIXELS;
constexpr int MAP_HEIGHT_PIXELS = MAP_HEIGHT_TILES * TILE_SIZE_PIXELS;
constexpr int64_t MAP_WIDTH_UNITS = MAP_WIDTH_PIXELS * PIXEL_UNITS;
constexpr int64_t MAP_HEIGHT_UNITS = MAP_HEIGHT_PIXELS * PIXEL_UNITS;

constexpr int CHUNK_COLUMNS = 20;
constexpr int CHUNK_ROWS = 15;
constexpr int WINDOW_WIDTH = 816;
constexpr int WINDOW_HEIGHT = 300;

// A cell's span of units must be its pixels' span, or cells and pixels would disagree.
static_assert(TILE_UNITS == TILE_SIZE_PIXELS * PIXEL_UNITS);

// Units to cells (or chunks, pixels): a logical shift of the 64-bit value, low 32 bits signed.
inline int32_t UnitsToCell(int64_t units) {
  return static_cast<int32_t>(static_cast<uint64_t>(units) >> TILE_SHIFT);
}
inline int32_t UnitsToChunk(int64_t units) {
  return static_cast<int32_t>(static_cast<uint64_t>(units) >> CHUNK_SHIFT);
}
