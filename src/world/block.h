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

  // world/blocks.cpp holds every block function not written out here. The map makes its blocks
  // through TMap::FCreateBlock, which picks the kind by style.
  static int FResetTables();  // Count 0, ActiveBlocks empty
  static int FBoot();         // empties ActiveBlocks
  static int FUpdate();       // one animation step of every block in ActiveBlocks
  // Not called by the game: kept as part of TBlock's interface.
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);  // always null
  int MStyle() const { return Style; }
  // The kinds override these three (MDraw draws at view pixel px, py); a plain block never
  // animates, draws nothing and ignores bumps.
  virtual int MUpdate() { return 0; }
  virtual int MDraw(int px, int py) { return 0; }
  virtual int MBump(uint8_t direction) { return 0; }
  // The frame of TileSet0 that MDraw puts exactly onto the block's own cell, or -1 while it
  // draws elsewhere or nothing (a bump shifts it). The views read it, never the game.
  virtual int MRestingFrame() const { return -1; }
};

// The FCreate of each kind returns null for style -1 or kNoStyle; a style outside 0..255 makes
// style 15. Each block made counts in TBlock::Count.
class TBlockSolid : public TBlock {
 public:
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);
  int MDraw(int px, int py) override;
  int MRestingFrame() const override { return Style; }
};

// A brick bumped from below rises for four frames and breaks at the top of the bump, leaving
// its cell empty. A bump while one runs is ignored.
class TBlockBrick : public TBlock {
 public:
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);
  int MUpdate() override;
  int MDraw(int px, int py) override;
  int MBump(uint8_t direction) override;
  int MRestingFrame() const override { return Angle == kNoDirection ? Style : -1; }
};

// A container bumped from below shows the next style's frame while it rises and falls back,
// and releases a bad guy above it at the top of the bump (while the actor cap allows). A bump
// while one runs is ignored.
class TBlockContainer : public TBlock {
 public:
  static std::shared_ptr<TBlock> FCreate(int style, int x, int y);
  int MUpdate() override;
  int MDraw(int px, int py) override;
  int MBump(uint8_t direction) override;
  int MRestingFrame() const override { return Angle == kNoDirection ? Style : -1; }
};

// world/map_grids.cpp
// A new block of the kind its style selects (bricks, containers, else solid); null for -1 and
// 255. Counts in TBlock::Count like every creation.
std::shared_ptr<TBlock> CreateBlockOfStyle(int style, int x, int y);
// The styles of bricks (18 to 20, 50 to 52) and of containers (21, 53).
bool IsBrickStyle(int style);
bool IsContainerStyle(int style);

// The animating blocks, in the order they were bumped. Defined with TBlock::Count in
// world/blocks.cpp.
extern std::list<std::shared_ptr<TBlock>> ActiveBlocks;
