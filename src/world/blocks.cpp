// Blocks: creation by kind, the bump animation of bricks and containers, and their drawing.
#include <algorithm>
#include <iterator>
#include <utility>

#include "actors/actor.h"  // up: a bumped container releases a bad guy
#include "platform/console.h"
#include "platform/render/draw.h"
#include "shared/game_codes.h"
#include "shared/game_events.h"
#include "shared/game_images.h"
#include "world/block.h"
#include "world/map.h"

int32_t TBlock::Count;
std::list<std::shared_ptr<TBlock>> ActiveBlocks;

namespace {

constexpr uint8_t kBumpFrames = 8;
constexpr uint8_t kBumpPeak = 4;  // the counter value at which a brick breaks, a container releases

template <typename Kind>
std::shared_ptr<TBlock> CreateOfKind(int style, int x, int y) {
  if (style == -1 || style == kNoStyle) return nullptr;
  if (style < 0 || style >= 256) style = 15;
  auto block = std::make_shared<Kind>();
  block->Style = static_cast<uint8_t>(style);
  block->XPos = static_cast<uint16_t>(x);
  block->Ypos = static_cast<uint16_t>(y);
  ++TBlock::Count;
  return block;
}

void RemoveFromActive(const TBlock* block) {
  const auto it = std::find_if(ActiveBlocks.begin(), ActiveBlocks.end(),
                               [block](const auto& entry) { return entry.get() == block; });
  if (it != ActiveBlocks.end()) ActiveBlocks.erase(it);
}

void ReportAtBlock(GameEvent kind, const TBlock& block) {
  TGameEvents::FReport(kind, int64_t{block.XPos} * TILE_UNITS + TILE_UNITS / 2,
                       int64_t{block.Ypos} * TILE_UNITS + TILE_UNITS / 2);
}

// Bricks and containers bump alike: every bump animates upward, and a running animation
// ignores further bumps, so a block is listed at most once. True when this bump started one.
bool StartBump(TBlock& block) {
  if (block.Angle != kNoDirection) return false;
  // Only blocks made by FCreate are shared; any other has no owner the list could join.
  auto self = block.weak_from_this().lock();
  if (!self) return false;
  ActiveBlocks.push_back(std::move(self));
  block.Angle = kUp;
  block.Counter = kBumpFrames;
  return true;
}

// Counts the animation down; returns true on the update that reaches the peak.
bool CountDown(TBlock& block) {
  if (block.Counter > 0) {
    --block.Counter;
    return block.Counter == kBumpPeak;
  }
  block.Angle = kNoDirection;
  RemoveFromActive(&block);
  return false;
}

// Counter 8..0 raises the block 0, 1, 2, 3, 4 pixels and lowers it back.
void DrawBumped(const TBlock& block, int px, int py, int frame) {
  const int d = block.Counter > kBumpPeak ? kBumpFrames - block.Counter : block.Counter;
  switch (block.Angle) {
    case kUp:
      py -= d;
      break;
    case kRight:
      px += d;
      break;
    case kDown:
      py += d;
      break;
    case kLeft:
      px -= d;
      break;
    default:
      return;
  }
  DrawImageFrame(TileSet0.get(), static_cast<float>(px), static_cast<float>(py), frame);
}

void ReleaseActor(const TBlock& block) {
  if (ActorCount >= kActorCap) return;
  if (ActorCount == kActorCap - 1) PrintLine("Arbitrary Actor cap reached (500).");
  // 32-bit arithmetic, as the release always had: the cell's centre and 2 pixels above it.
  const auto x = static_cast<int32_t>(uint32_t{block.XPos} * 1048576u + 524288u);
  const auto y = static_cast<int32_t>(uint32_t{block.Ypos} * 1048576u - 131072u);
  TActor::FCreate(int64_t{x}, int64_t{y}, kUserBadguy);
  ReportAtBlock(GameEvent::kBadguyReleased, block);
}

}  // namespace

int TBlock::FResetTables() {
  Count = 0;
  ActiveBlocks.clear();
  return 0;
}

int TBlock::FBoot() {
  ActiveBlocks.clear();
  return 0;
}

std::shared_ptr<TBlock> TBlock::FCreate(int, int, int) {
  return nullptr;
}

// An element may remove itself while it updates: the next position is taken first, and a
// local reference keeps the element alive through its call (a brick that has left the map is
// held by ActiveBlocks alone).
int TBlock::FUpdate() {
  for (auto it = ActiveBlocks.begin(); it != ActiveBlocks.end();) {
    const auto next = std::next(it);
    const std::shared_ptr<TBlock> block = *it;
    block->MUpdate();
    it = next;
  }
  return 0;
}

std::shared_ptr<TBlock> TBlockSolid::FCreate(int style, int x, int y) {
  return CreateOfKind<TBlockSolid>(style, x, y);
}

int TBlockSolid::MDraw(int px, int py) {
  DrawImageFrame(TileSet0.get(), static_cast<float>(px), static_cast<float>(py), Style);
  return 0;
}

std::shared_ptr<TBlock> TBlockBrick::FCreate(int style, int x, int y) {
  return CreateOfKind<TBlockBrick>(style, x, y);
}

int TBlockBrick::MUpdate() {
  if (!CountDown(*this)) return 0;
  ReportAtBlock(GameEvent::kBrickBroken, *this);
  TMap::FCreateBlock(XPos, Ypos, -1);
  return 0;
}

int TBlockBrick::MDraw(int px, int py) {
  if (Angle == kNoDirection) {
    DrawImageFrame(TileSet0.get(), static_cast<float>(px), static_cast<float>(py), Style);
  } else {
    DrawBumped(*this, px, py, Style);
  }
  return 0;
}

int TBlockBrick::MBump(uint8_t) {
  if (StartBump(*this)) ReportAtBlock(GameEvent::kBrickCracked, *this);
  return 0;
}

std::shared_ptr<TBlock> TBlockContainer::FCreate(int style, int x, int y) {
  return CreateOfKind<TBlockContainer>(style, x, y);
}

int TBlockContainer::MUpdate() {
  if (CountDown(*this)) ReleaseActor(*this);
  return 0;
}

int TBlockContainer::MDraw(int px, int py) {
  if (Angle == kNoDirection) {
    DrawImageFrame(TileSet0.get(), static_cast<float>(px), static_cast<float>(py), Style);
  } else {
    DrawBumped(*this, px, py, Style + 1);
  }
  return 0;
}

int TBlockContainer::MBump(uint8_t) {
  if (StartBump(*this)) ReportAtBlock(GameEvent::kContainerOpened, *this);
  return 0;
}
