// The light map: which cells lie in a block's shade, so the view can draw the darker variant
// of their background.
#include "world/map.h"

int TMap::FEvaluateLightMap() {
  // Row 0 and 1, row 53 and column 74 keep whatever they held (0 after a clear).
  for (int y = 2; y <= 52; ++y)
    for (int x = 0; x <= 73; ++x)
      FShadowCheck(x, y);
  return 0;
}

// Shade falls straight below a block, and diagonally below-right of a block that is part of a
// vertical pair; column -1 (left of the map) holds no block.
int TMap::FShadowCheck(int x, int y) {
  if (!FBounds(x, y)) return 0;
  const bool above = FBlockAtCell(x, y - 1);
  const bool up_left = FBlockAtCell(x - 1, y - 1);
  const bool left = FBlockAtCell(x - 1, y);
  const bool two_up_left = FBlockAtCell(x - 1, y - 2);
  ShadowGrid[x][y] = above || (up_left && (left || two_up_left)) ? 1 : 0;
  return 0;
}
