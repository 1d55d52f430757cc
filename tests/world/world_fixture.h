// A booted game with a cleared map (no border ring), and snapshots of the map grids.
#pragma once

#include <cstring>
#include <vector>

#include "actors/actor.h"
#include "fluid/fluid.h"
#include "support/map_units.h"
#include "support/test_env.h"
#include "world/block.h"
#include "world/map.h"

// The two map files, by the names the game gives them, and their bytes.
inline constexpr const char* kBG = "BGMap75x54.raw";
inline constexpr const char* kBlocks = "BlockMap75x54.raw";
using Bytes = std::vector<unsigned char>;

class WorldTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    BootSubsystems();
    TMap::FClear();
    ClearConsole();
  }

  // Everything of the map a load, a save or a refused call could change.
  struct MapSnapshot {
    std::vector<uint8_t> Solid, Fill, BG, Styles;
    std::vector<const TBlock*> Blocks;
    int32_t Count = 0;

    bool operator==(const MapSnapshot&) const = default;
  };

  static MapSnapshot Snapshot() {
    MapSnapshot s;
    for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
      for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
        s.Solid.push_back(SolidGrid[x][y]);
        s.Fill.push_back(FillGrid[x][y]);
        s.BG.push_back(BGGrid[x][y]);
        s.Styles.push_back(static_cast<uint8_t>(TMap::FBlockStyleAtCell(x, y)));
        s.Blocks.push_back(BlockGrid[x][y].get());
      }
    }
    s.Count = TBlock::Count;
    return s;
  }

  // Water written straight into the grid, without re-evaluating the fluid columns.
  static void RawWater(int x, int y, int units) {
    SolidGrid[x][y] = kSolidFluid;
    FillGrid[x][y] = static_cast<uint8_t>(units);
  }
};
