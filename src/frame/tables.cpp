// Every class-level table and variable of the game lives here, created (or reset, so a test
// can start the program again in the same process) before anything else of the game runs.
#include "actors/actor.h"
#include "actors/profile.h"
#include "art/ref_image.h"
#include "editor/editor.h"
#include "editor/free_camera.h"
#include "fluid/fluid.h"
#include "frame/clock.h"
#include "frame/edit_switches.h"
#include "frame/main_program.h"
#include "platform/render/image.h"
#include "platform/render/pixmap.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

#include <algorithm>
#include <cstring>

std::shared_ptr<TBlock> BlockGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t SolidGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t FillGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t BGGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t ShadowGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t ChunkStyleGrid[CHUNK_COLUMNS][CHUNK_ROWS];
uint8_t ChunkVisibleGrid[CHUNK_COLUMNS][CHUNK_ROWS];
uint8_t ScrollLocks[3][3][4];
ActorList ActorBuckets[CHUNK_COLUMNS][CHUNK_ROWS];
std::shared_ptr<TScroller> Scrollers[2];
int32_t EditorTileGrid[32][8];
ActorList ActorLists[2];
uint16_t FluidTopRow[MAP_WIDTH_TILES];
uint16_t FluidBottomRow[MAP_WIDTH_TILES];
uint8_t FluidColumnActive[MAP_WIDTH_TILES];
int64_t ClockStart[kClockCount], ClockStop[kClockCount], ClockSum[kClockCount];
int32_t ClockAverage[kClockCount];
std::shared_ptr<TProfile> Profiles[4];

std::shared_ptr<TImage> AllTilesImage, TileSet0, TileSet1, TileSet2, WaterImage, ActorImage,
    InstrImage;
uint8_t FrameTick, SlowToggle, AnimPhase, QuitFlag;
std::shared_ptr<TActor> BadguyActor;

int32_t ActorCount;
int32_t TBlock::Count;
std::list<std::shared_ptr<TBlock>> ActiveBlocks;
int32_t EditorBlockStyle, EditorBGStyle, EditorMode;
std::shared_ptr<TPixmap> RefImagePixmap;
int32_t RefImageWidth, RefImageHeight;
bool FreeCameraOn, OverviewDragging, ButtonsHeldAtFrameStart;
bool WorldHeld, PanelShown;

void CreateTables() {
  for (auto& column : BlockGrid)
    std::fill(std::begin(column), std::end(column), nullptr);
  std::memset(SolidGrid, 0, sizeof SolidGrid);
  std::memset(FillGrid, 0, sizeof FillGrid);
  std::memset(BGGrid, 0, sizeof BGGrid);
  std::memset(ShadowGrid, 0, sizeof ShadowGrid);
  std::memset(ChunkStyleGrid, 0, sizeof ChunkStyleGrid);
  std::memset(ChunkVisibleGrid, 0, sizeof ChunkVisibleGrid);
  std::memset(ScrollLocks, 0, sizeof ScrollLocks);
  for (auto& column : ActorBuckets)
    for (auto& bucket : column)
      ActorList().swap(bucket);
  for (auto& scroller : Scrollers)
    scroller = nullptr;
  std::memset(EditorTileGrid, 0, sizeof EditorTileGrid);
  for (auto& list : ActorLists)
    ActorList().swap(list);
  std::memset(FluidTopRow, 0, sizeof FluidTopRow);
  std::memset(FluidBottomRow, 0, sizeof FluidBottomRow);
  std::memset(FluidColumnActive, 0, sizeof FluidColumnActive);
  for (int i = 0; i < kClockCount; ++i)
    ClockStart[i] = ClockStop[i] = ClockSum[i] = ClockAverage[i] = 0;
  for (auto& profile : Profiles)
    profile = nullptr;

  AllTilesImage = TileSet0 = TileSet1 = TileSet2 = WaterImage = ActorImage = InstrImage = nullptr;
  FrameTick = SlowToggle = AnimPhase = QuitFlag = 0;
  BadguyActor = nullptr;
  ActorCount = 0;
  TBlock::Count = 0;
  ActiveBlocks.clear();
  EditorBlockStyle = EditorBGStyle = 0;
  EditorMode = kEditorBackgroundMode;
  RefImagePixmap = nullptr;
  RefImageWidth = RefImageHeight = 0;
  FreeCameraOn = OverviewDragging = ButtonsHeldAtFrameStart = false;
  WorldHeld = false;
  PanelShown = true;
}
