// Opening a level file: read and checked whole before anything of the map changes, then put in
// place as one step of the undo history.
#include "editor/map_pair_open.h"

#include <vector>

#include "editor/undo_history.h"
#include "platform/console.h"
#include "world/map.h"
#include "world/map_pair_file.h"
#include "world/scroller.h"

bool OpenMapPairAsStep(const std::string& path) {
  PrintLine("Loading maps.");
  std::vector<uint8_t> bg, blocks;
  if (!ReadMapPairFile(path, bg, blocks)) return false;
  TUndoHistory::FBeginWholeMapStep();
  SetMapFromBytes(bg, blocks);
  TUndoHistory::FEndWholeMapStep();
  // A level from elsewhere starts as a level at start-up does, with its views' limits and
  // shading worked out.
  TScroller::FEvaluateScrollLocks();
  TMap::FEvaluateLightMap();
  TMap::FEvaluateChunks();
  return true;
}
