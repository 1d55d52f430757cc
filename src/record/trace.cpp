// The per-frame trace: the FNV-1a hashes of the grids and the lines of one frame, in the
// order the golden traces keep.
#include "record/trace.h"

#include <cstdio>

#include "actors/actor.h"
#include "actors/profile.h"
#include "platform/random.h"
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

uint64_t Fnv1a64(const uint8_t* data, size_t size) {
  uint64_t hash = kFnvOffsetBasis;
  for (size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= kFnvPrime;
  }
  return hash;
}

std::string HashHex(uint64_t hash) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

void GridRowMajor(const uint8_t (&grid)[75][54], uint8_t* out) {
  for (int row = 0; row < MAP_HEIGHT_TILES; ++row)
    for (int column = 0; column < MAP_WIDTH_TILES; ++column)
      *out++ = grid[column][row];
}

void BlockStylesRowMajor(uint8_t* out) {
  for (int row = 0; row < MAP_HEIGHT_TILES; ++row)
    for (int column = 0; column < MAP_WIDTH_TILES; ++column) {
      const auto& block = BlockGrid[column][row];
      *out++ = block ? static_cast<uint8_t>(block->MStyle()) : kNoStyle;
    }
}

namespace {

void Append(std::string& out, const char* word, std::initializer_list<long long> values) {
  out += word;
  for (long long value : values) {
    out += ' ';
    out += std::to_string(value);
  }
  out += '\n';
}

void AppendActor(std::string& out, long long index, const TActor& a) {
  Append(out, "actor",
         {index, a.XPos, a.YPos, a.XVel, a.YVel, a.Grounded, a.Hugged, a.ForceDuck, a.Pose,
          a.HoldPose, a.LastFacing, a.VPad, a.Hpad, a.AButton, a.BButton});
}

std::string GridHash(const uint8_t (&grid)[75][54]) {
  uint8_t bytes[kGridBytes];
  GridRowMajor(grid, bytes);
  return HashHex(Fnv1a64(bytes, kGridBytes));
}

std::string BlockHash() {
  uint8_t bytes[kGridBytes];
  BlockStylesRowMajor(bytes);
  return HashHex(Fnv1a64(bytes, kGridBytes));
}

}  // namespace

// One frame of the trace, in this order (positions and speeds in world units, 65536 a pixel;
// direction codes 0 none, 1 up, 2 right, 3 down, 4 left):
//   frame F        the pass just ended, from 1
//   actor I XPos YPos XVel YVel Grounded Hugged ForceDuck Pose HoldPose LastFacing VPad Hpad
//         AButton BButton
//                  one line per actor: I is 0 for the player, then 1, 2, ... for the bad guys in
//                  list order (an empty slot keeps its number); XPos the centre line, YPos the
//                  feet line; Grounded, Hugged (clinging to a wall) and ForceDuck (no head room)
//                  0 or 1; Pose the picture drawn and HoldPose the frames it is still held;
//                  LastFacing 0 until the actor first moves, then 2 or 4; VPad, Hpad, AButton,
//                  BButton the pad as the actor read it (buttons 0 or 1)
//   camera K CameraXPos CameraYPos CameraCornerX CameraCornerY
//                  one line per view, K 0 for the left one and 1 for the right one
//   grid SOLID FILL BLOCKS BACKGROUND
//                  FNV-1a 64-bit hashes of the four map grids, row by row (see GridRowMajor);
//                  BLOCKS holds each cell's block style, 255 where none stands
//   count ACTORS BLOCKS ANIMATING
//                  actors and blocks created since the last clear, blocks bumping right now
//   seed S         the random generator's state
std::string TraceFrame(int frame) {
  std::string out;
  Append(out, "frame", {frame});
  if (Profiles[kPlayerProfile] && Profiles[kPlayerProfile]->Actor)
    AppendActor(out, 0, *Profiles[kPlayerProfile]->Actor);
  long long index = 1;
  for (const auto& actor : ActorLists[kBadguyList]) {
    if (actor) AppendActor(out, index, *actor);
    ++index;
  }
  for (int k = 0; k < 2; ++k) {
    const auto& s = Scrollers[k];
    if (s)
      Append(out, "camera", {k, s->CameraXPos, s->CameraYPos, s->CameraCornerX, s->CameraCornerY});
  }
  out += "grid " + GridHash(SolidGrid) + ' ' + GridHash(FillGrid) + ' ' + BlockHash() + ' ' +
         GridHash(BGGrid) + '\n';
  Append(out, "count", {ActorCount, TBlock::Count, static_cast<long long>(ActiveBlocks.size())});
  Append(out, "seed", {RandomSeedState});
  return out;
}
