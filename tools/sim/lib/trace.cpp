// The per-frame trace: the FNV-1a hashes of the grids and the lines of one frame, in the
// order the golden traces keep.
#include "trace.h"

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
