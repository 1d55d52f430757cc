// Chunk visibility: a chunk wholly covered by opaque tiles needs no backdrop.
#include "world/map.h"

namespace {
constexpr int kChunkCells = 4;
// Block styles below 18 and background styles below 16 are drawn without see-through pixels.
constexpr int kFirstClearBlockStyle = 18;
constexpr int kFirstClearBGStyle = 16;
}  // namespace

int TMap::FEvaluateChunks() {
  for (int cy = 0; cy < CHUNK_ROWS; ++cy)
    for (int cx = 0; cx < CHUNK_COLUMNS; ++cx)
      ChunkVisibleGrid[cx][cy] = FChunkObscured(cx, cy) ? 0 : 1;
  return 0;
}

// Cells past the map's edge are skipped, so a chunk reaching past it never counts 16.
int TMap::FChunkObscured(int cx, int cy) {
  int opaque = 0;
  for (int y = cy * kChunkCells; y < cy * kChunkCells + kChunkCells; ++y) {
    for (int x = cx * kChunkCells; x < cx * kChunkCells + kChunkCells; ++x) {
      if (!FBounds(x, y)) continue;
      if (FBlockStyleAtCell(x, y) < kFirstClearBlockStyle ||
          FBGStyleAtCell(x, y) < kFirstClearBGStyle)
        ++opaque;
    }
  }
  return opaque == kChunkCells * kChunkCells ? 1 : 0;
}
