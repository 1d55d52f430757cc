// Blocks: solid blocks, bricks that break when bumped from below, containers that release a
// bad guy. A block is shared by BlockGrid and, while it animates, by ActiveBlocks.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "shared/game_codes.h"

class TBlock : public std::enable_shared_from_this<TBlock> {
 public:
  virtual ~TBlock() = default;

  uint8_t Angle = 0;    // the Direction of the bump while animating, kNoDirection at rest
  uint8_t Counter = 0;  // frames left in the bump animation, 8 down to 0
  uint8_t Style = 0;    // the frame of TileSet0 the block shows
  uint16_t XPos = 0;    // column of the block's cell
  uint16_t Ypos = 0;    // row of the block's cell

  static int32_t Count;  // blocks created since the last reset

  static int FBoot();
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);  // always null
  int MStyle() const { return Style; }
  static int FUpdate();
  virtual int MUpdate() { return 0; }
  virtual int MDraw(int px, int py) { return 0; }
  virtual int MBump(uint8_t direction) { return 0; }
};

class TBlockSolid : public TBlock {
 public:
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);
  int MDraw(int px, int py) override;
};

class TBlockBrick : public TBlock {
 public:
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);
  int MUpdate() override;
  int MDraw(int px, int py) override;
  int MBump(uint8_t direction) override;
};

class TBlockContainer : public TBlock {
 public:
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);
  int MUpdate() override;
  int MDraw(int px, int py) override;
  int MBump(uint8_t direction) override;
};

// A new block of the kind its style selects (bricks, containers, else solid); null for -1 and
// 255. Counts in TBlock::Count like every creation.
std::shared_ptr<TBlock> CreateBlockOfStyle(int style, int x, int y);

// The animating blocks, in the order they were bumped.
extern std::list<std::shared_ptr<TBlock>> ActiveBlocks;
