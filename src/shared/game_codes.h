// The game's codes, shared by every layer that reads or writes them.
#pragma once

#include <cstdint>

// The four directions, as the pads, the facing and a block's bump hold them; 0 is none. The
// fields keep their plain integer type because traces and scripts record the numbers.
enum Direction : int32_t { kNoDirection = 0, kUp = 1, kRight = 2, kDown = 3, kLeft = 4 };

// A style byte that means "nothing here": no block in a map file cell, no background in a cell.
constexpr uint8_t kNoStyle = 255;

// A chunk's style picks the background sheet and the colour the overview draws it in.
constexpr uint8_t kChunkStyleDark = 1;  // the cave: TileSet2
constexpr uint8_t kChunkStyleSky = 7;   // open air: TileSet1; a cleared map is all sky
