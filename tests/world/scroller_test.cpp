// The views: scroll locks, the easing camera and its clamp, and what the passes draw.
#include "world/scroller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "actors/actor.h"
#include "art/palette.h"
#include "frame/main_program.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "support/test_env.h"
#include "world/block.h"
#include "world/map.h"

namespace {

constexpr uint32_t kPaper = 0x123456;

// An actor whose camera target is its own position lifted by the two-cell view lift: standing
// in the air, facing neither way, falling at exactly the vertical velocity bias.
std::shared_ptr<TActor> StillActor(int64_t x, int64_t y) {
  auto actor = std::make_shared<TActor>();
  actor->XPos = x;
  actor->YPos = y;
  actor->YVel = 64000;
  return actor;
}

// A scroller whose camera already rests on the still actor's target.
TScroller ScrollerOn(const TActor& actor) {
  TScroller scroller;
  scroller.CameraXPos = actor.XPos;
  scroller.CameraYPos = actor.YPos - 2097152;
  return scroller;
}

// A 16x16 sheet whose frames are all transparent but one, opaque white.
std::shared_ptr<TImage> SheetShowing(int frames, int shown) {
  auto image = std::make_shared<TImage>();
  image->width = 16;
  image->height = 16;
  image->flags = kImageMasked;
  image->frames.resize(frames);
  for (int f = 0; f < frames; ++f) {
    image->frames[f].argb.assign(256, f == shown ? 0xFFFFFFFFu : 0u);
    image->frames[f].opaque = f == shown;
  }
  return image;
}

uint32_t PaletteColour(int n) {
  TPalette::FSet(n);
  const DrawState& s = CurrentDrawState();
  return static_cast<uint32_t>(s.r << 16 | s.g << 8 | s.b);
}

uint32_t Pixel(int x, int y) {
  return BackBuffer()[y * kBackBufferWidth + x] & 0xFFFFFF;
}

class ScrollerTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    BootSubsystems();
    TMap::FClear();
    std::fill_n(BackBuffer(), kBackBufferWidth * kBackBufferHeight, kPaper);
  }
  static void AllChunks(uint8_t style, uint8_t visible) {
    for (auto& column : ChunkStyleGrid)
      std::fill(std::begin(column), std::end(column), style);
    for (auto& column : ChunkVisibleGrid)
      std::fill(std::begin(column), std::end(column), visible);
  }
};

// --- Scroll locks -------------------------------------------------------------------------------

TEST_F(ScrollerTest, DummyMapLocksTheOuterWalls) {
  TMap::FDummyMap();
  TScroller::FEvaluateScrollLocks();
  for (int sx = 0; sx < 3; ++sx) {
    for (int sy = 0; sy < 3; ++sy) {
      EXPECT_EQ(ScrollLocks[sx][sy][kSideTop], sy == 0 ? 1 : 0) << sx << "," << sy << " top";
      EXPECT_EQ(ScrollLocks[sx][sy][kSideRight], sx == 2 ? 1 : 0) << sx << "," << sy << " right";
      EXPECT_EQ(ScrollLocks[sx][sy][kSideBottom], sy >= 1 ? 1 : 0) << sx << "," << sy << " bottom";
      EXPECT_EQ(ScrollLocks[sx][sy][kSideLeft], sx == 0 ? 1 : 0) << sx << "," << sy << " left";
    }
  }
}

TEST_F(ScrollerTest, AWallTakesThirteenOfEighteenOrNineteenOfTwentyFiveBlocks) {
  // Region (1, 1): cells 25..49 by 18..35. Left edge column 25, top edge row 18.
  for (int y = 18; y < 18 + 12; ++y)
    TMap::FCreateBlock(25, y, 1);
  for (int x = 26; x < 26 + 17; ++x)
    TMap::FCreateBlock(x, 18, 1);
  TScroller::FEvaluateScrollLocks();
  EXPECT_EQ(ScrollLocks[1][1][kSideLeft], 0);
  EXPECT_EQ(ScrollLocks[1][1][kSideTop], 0);  // the corner cell (25, 18) makes 18 of them
  TMap::FCreateBlock(25, 30, 1);
  TMap::FCreateBlock(43, 18, 1);
  TScroller::FEvaluateScrollLocks();
  EXPECT_EQ(ScrollLocks[1][1][kSideLeft], 1);
  EXPECT_EQ(ScrollLocks[1][1][kSideTop], 1);
  EXPECT_EQ(ScrollLocks[0][1][kSideRight],
            0);  // the neighbour's right edge is column 24, still empty
}

// --- Camera -------------------------------------------------------------------------------------

TEST_F(ScrollerTest, LocksPinTheTargetToTheRegionCentre) {
  TMap::FDummyMap();
  TScroller::FEvaluateScrollLocks();
  // Region (0, 2), region column 5 and row 12: the left and the bottom lock hold.
  auto actor = StillActor(5 * 1048576 + 500000, (36 + 12) * 1048576 + 300000);
  actor->LastFacing = kRight;
  actor->XVel = 300000;
  TScroller scroller;
  scroller.CameraXPos = 13139200;
  scroller.CameraYPos = 47217920;
  scroller.MMoveCamera(*actor);
  EXPECT_EQ(scroller.CameraXPos, 13139200);
  EXPECT_EQ(scroller.CameraYPos, 47217920);

  // Without the locks the same actor pulls the camera away.
  std::fill_n(&ScrollLocks[0][0][0], 36, 0);
  scroller.MMoveCamera(*actor);
  EXPECT_NE(scroller.CameraXPos, 13139200);
}

TEST_F(ScrollerTest, AnActorOutsideTheMapUsesNoLocks) {
  std::fill_n(&ScrollLocks[0][0][0], 36, 1);
  for (int64_t x : {int64_t{-5 * 1048576}, MAP_WIDTH_UNITS + 3 * 1048576}) {
    for (int64_t y : {int64_t{5 * 1048576}, MAP_HEIGHT_UNITS + 1048576, int64_t{-1}}) {
      auto actor = StillActor(x, y);
      TScroller scroller = ScrollerOn(*actor);
      scroller.MMoveCamera(*actor);
      EXPECT_EQ(scroller.CameraXPos, x) << x << "," << y;
      EXPECT_EQ(scroller.CameraYPos, y - 2097152) << x << "," << y;
    }
  }
}

TEST_F(ScrollerTest, TheTargetLooksAheadOfFacingPadAndVelocity) {
  auto actor = StillActor(20000000, 20000000);
  actor->LastFacing = kLeft;
  actor->Grounded = 1;
  actor->VPad = kDown;
  actor->XVel = 1000;
  actor->YVel = 64100;
  TScroller scroller;
  scroller.CameraXPos = 20000000 - 2097152 + 20000;
  scroller.CameraYPos = 20000000 + 3145728 + 2000 - 2097152;
  scroller.MMoveCamera(*actor);  // already on target: it stays
  EXPECT_EQ(scroller.CameraXPos, 20000000 - 2097152 + 20000);
  EXPECT_EQ(scroller.CameraYPos, 20000000 + 3145728 + 2000 - 2097152);
  actor->Grounded = 0;  // in the air the pad does not look down
  scroller.MMoveCamera(*actor);
  EXPECT_LT(scroller.CameraYPos, 20000000 + 3145728 + 2000 - 2097152);
}

TEST_F(ScrollerTest, EasingStartsPastAThousandUnits) {
  auto actor = StillActor(10000000, 10000000 + 2097152);  // target (10000000, 10000000)
  TScroller scroller;
  scroller.CameraXPos = 10001000;
  scroller.CameraYPos = 10000000;
  scroller.MMoveCamera(*actor);
  EXPECT_EQ(scroller.CameraXPos, 10001000);

  // 4 % of 1001 is 40.04; the float sum 10000960.96 rounds to 10000961 (a double step would
  // truncate to 10000960).
  scroller.CameraXPos = 10001001;
  scroller.MMoveCamera(*actor);
  EXPECT_EQ(scroller.CameraXPos, 10000961);
  EXPECT_EQ(scroller.CameraYPos, 10000000);

  // The distance is taken on the diagonal: 707, 707 is 999.8 away, 708, 708 is 1001.3.
  scroller.CameraXPos = 10000707;
  scroller.CameraYPos = 10000707;
  scroller.MMoveCamera(*actor);
  EXPECT_EQ(scroller.CameraXPos, 10000707);
  scroller.CameraXPos = 10000708;
  scroller.CameraYPos = 10000708;
  scroller.MMoveCamera(*actor);
  EXPECT_LT(scroller.CameraXPos, 10000708);
  EXPECT_LT(scroller.CameraYPos, 10000708);
}

TEST_F(ScrollerTest, EasingRoundsTheCameraToSinglePrecision) {
  // Above 2^25 a float holds every fourth integer: 40000001 becomes 40000000 before the step.
  auto actor = StillActor(40100001, 10000000 + 2097152);
  TScroller scroller;
  scroller.CameraXPos = 40000001;
  scroller.CameraYPos = 10000000;
  scroller.MMoveCamera(*actor);
  EXPECT_EQ(scroller.CameraXPos, 40004000);
}

TEST_F(ScrollerTest, AStillActorDrawsTheCameraToARestPoint) {
  auto actor = StillActor(30000000, 30000000);
  actor->LastFacing = kRight;
  actor->YVel = 0;
  TScroller scroller;
  for (int frame = 0; frame < 1000; ++frame)
    scroller.MMoveCamera(*actor);
  const double dx = static_cast<double>(scroller.CameraXPos - (30000000 + 2097152));
  const double dy = static_cast<double>(scroller.CameraYPos - (30000000 - 3377152));
  EXPECT_LE(std::sqrt(dx * dx + dy * dy), 1000.0);
  const TScroller rested = scroller;
  scroller.MMoveCamera(*actor);
  EXPECT_EQ(scroller.CameraXPos, rested.CameraXPos);
  EXPECT_EQ(scroller.CameraYPos, rested.CameraYPos);
}

TEST_F(ScrollerTest, TheCornerStaysInsideTheMap) {
  auto far = StillActor(MAP_WIDTH_UNITS + 50000000, MAP_HEIGHT_UNITS + 50000000);
  TScroller scroller = ScrollerOn(*far);
  scroller.MMoveCamera(*far);
  EXPECT_EQ(scroller.CameraCornerX, 52428799);
  EXPECT_EQ(scroller.CameraCornerY, 37748735);
  EXPECT_GT(scroller.CameraXPos, MAP_WIDTH_UNITS);  // the centre itself is not clamped

  auto near = StillActor(-50000000, -50000000);
  scroller = ScrollerOn(*near);
  scroller.MMoveCamera(*near);
  EXPECT_EQ(scroller.CameraCornerX, 0);
  EXPECT_EQ(scroller.CameraCornerY, 0);
}

// --- Frame choices ------------------------------------------------------------------------------

TEST_F(ScrollerTest, WaterRipplesOnlyOverAFullCell) {
  FillGrid[10][20] = 10;
  FillGrid[10][21] = 16;
  AnimPhase = 2;
  EXPECT_EQ(WaterFrameAt(10, 20), 57);
  AnimPhase = 3;
  FillGrid[10][20] = 16;
  EXPECT_EQ(WaterFrameAt(10, 20), 79);
  FillGrid[10][20] = 10;
  FillGrid[10][21] = 15;
  EXPECT_EQ(WaterFrameAt(10, 20), 9);
  FillGrid[10][21] = 0;
  EXPECT_EQ(WaterFrameAt(10, 20), 9);
  FillGrid[10][20] = 1;
  EXPECT_EQ(WaterFrameAt(10, 20), 0);
}

TEST_F(ScrollerTest, WaterInTheBottomRowShowsTheStillFrames) {
  FillGrid[10][53] = 10;
  FillGrid[11][0] = 16;  // what a read one row past the column would find
  FillGrid[74][53] = 4;
  EXPECT_EQ(WaterFrameAt(10, 53), 9);
  EXPECT_EQ(WaterFrameAt(74, 53), 3);
}

TEST_F(ScrollerTest, ShadedBackgroundsUseTheirVariantEightFramesOn) {
  ShadowGrid[3][4] = 1;
  EXPECT_EQ(BackgroundFrameAt(3, 4, 5), 13);
  EXPECT_EQ(BackgroundFrameAt(3, 4, 7), 15);
  EXPECT_EQ(BackgroundFrameAt(3, 4, 8), 8);
  EXPECT_EQ(BackgroundFrameAt(3, 4, 9), 9);
  ShadowGrid[3][4] = 0;
  EXPECT_EQ(BackgroundFrameAt(3, 4, 5), 5);
}

// --- Drawing ------------------------------------------------------------------------------------

TEST_F(ScrollerTest, ANullActorDrawsNothingAndTouchesNothing) {
  SetDrawOrigin(5, 6);
  SetViewport(1, 2, 3, 4);
  TScroller& scroller = *Scrollers[1];
  scroller.CameraXPos = 777;
  EXPECT_EQ(scroller.MDraw(nullptr, 416, 0), 0);
  EXPECT_EQ(CurrentDrawState().origin_x, 5);
  EXPECT_EQ(CurrentDrawState().origin_y, 6);
  EXPECT_EQ(CurrentDrawState().view_x, 1);
  EXPECT_EQ(CurrentDrawState().view_w, 3);
  EXPECT_EQ(scroller.CameraXPos, 777);
  EXPECT_EQ(Pixel(500, 100), kPaper);
}

TEST_F(ScrollerTest, AfterAViewOriginAndViewportAreReset) {
  AllChunks(7, 1);
  auto actor = StillActor(30000000, 30000000);
  Scrollers[1]->MDraw(actor.get(), 416, 0);
  const DrawState& s = CurrentDrawState();
  EXPECT_EQ(s.origin_x, 0);
  EXPECT_EQ(s.origin_y, 0);
  EXPECT_EQ(s.view_x, 0);
  EXPECT_EQ(s.view_y, 0);
  EXPECT_EQ(s.view_w, 672);
  EXPECT_EQ(s.view_h, 600);
  // The view was drawn at x 416 and clipped to it: the gap and the strip below stay.
  EXPECT_EQ(Pixel(416, 0), PaletteColour(7));
  EXPECT_EQ(Pixel(815, 287), PaletteColour(7));
  EXPECT_EQ(Pixel(415, 100), kPaper);
  EXPECT_EQ(Pixel(600, 288), kPaper);
}

TEST_F(ScrollerTest, BackdropsByChunkStyleAndCover) {
  AllChunks(3, 1);  // style 3: no backdrop
  ChunkStyleGrid[0][0] = 1;
  ChunkStyleGrid[1][0] = 7;
  ChunkVisibleGrid[2][0] = 0;
  auto actor = StillActor(0, 0);  // corner (0, 0)
  Scrollers[0]->MDraw(actor.get(), 0, 0);
  EXPECT_EQ(Pixel(10, 10), PaletteColour(1));
  EXPECT_EQ(Pixel(70, 10), PaletteColour(7));
  EXPECT_EQ(Pixel(140, 10), PaletteColour(12));
  EXPECT_EQ(Pixel(200, 10), kPaper);
}

// Every cell of the view shows its chunk's backdrop unless a tile of the cell pass covers it
// whole: on a map of random backdrops, opaque and clear backgrounds and blocks, seen from
// corners across the map and at its far edges.
TEST_F(ScrollerTest, BackdropsShowWhereNoTileCoversTheCell) {
  constexpr int kOpaque = 5, kClear = 6;  // the frames of SheetShowing(256, 5)
  TileSet0 = SheetShowing(256, kOpaque);
  TileSet1 = SheetShowing(256, kOpaque);
  TileSet2 = SheetShowing(256, kOpaque);
  std::mt19937 rng(11);
  const uint8_t styles[] = {kChunkStyleSky, kChunkStyleDark, 3};
  for (int cx = 0; cx < CHUNK_COLUMNS; ++cx) {
    for (int cy = 0; cy < CHUNK_ROWS; ++cy) {
      ChunkStyleGrid[cx][cy] = styles[rng() % 3];
      ChunkVisibleGrid[cx][cy] = rng() % 5 ? 1 : 0;
    }
  }
  for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
      const unsigned pick = rng() % 8;
      if (pick == 0) TMap::FBGSet(x, y, kOpaque);
      if (pick == 1) TMap::FBGSet(x, y, kClear);
      if (pick == 2) TMap::FCreateBlock(x, y, kOpaque);
      if (pick == 3) TMap::FCreateBlock(x, y, kClear);
    }
  }
  auto expected = [](int64_t corner_x, int64_t corner_y, int px, int py) {
    const int64_t mx = (corner_x >> PIXEL_SHIFT) + px, my = (corner_y >> PIXEL_SHIFT) + py;
    const int x = static_cast<int>(mx / 16), y = static_cast<int>(my / 16);
    const TBlock* block = BlockGrid[x][y].get();
    const uint8_t chunk = ChunkStyleGrid[x / 4][y / 4];
    // Backgrounds come from the sky's or the dark's sheet: a chunk of neither shows none.
    const bool sheet = chunk == kChunkStyleSky || chunk == kChunkStyleDark;
    if ((sheet && BGGrid[x][y] == kOpaque) || (block && block->MRestingFrame() == kOpaque)) {
      return PaletteColour(15);
    }
    if (ChunkVisibleGrid[x / 4][y / 4] == 0) return PaletteColour(12);
    if (ChunkStyleGrid[x / 4][y / 4] == kChunkStyleDark) return PaletteColour(1);
    if (ChunkStyleGrid[x / 4][y / 4] == kChunkStyleSky) return PaletteColour(7);
    return kPaper;
  };
  const int64_t spots[][2] = {{0, 0},
                              {3 * 1048576 + 12345, 2 * 1048576 + 777},
                              {MAP_WIDTH_UNITS / 2 + 40000, MAP_HEIGHT_UNITS / 2 + 90000},
                              {MAP_WIDTH_UNITS - 1, MAP_HEIGHT_UNITS - 1},
                              {MAP_WIDTH_UNITS - 7 * 1048576 - 5, 9 * 1048576 + 65536 * 7}};
  for (const auto& spot : spots) {
    auto actor = StillActor(spot[0], spot[1]);
    TScroller& scroller = *Scrollers[0];
    scroller = ScrollerOn(*actor);
    std::fill_n(BackBuffer(), kBackBufferWidth * kBackBufferHeight, kPaper);
    scroller.MDraw(actor.get(), 0, 0);
    for (int py = 0; py < SCREEN_HEIGHT_PIXELS; ++py) {
      for (int px = 0; px < SCREEN_WIDTH_PIXELS; ++px) {
        ASSERT_EQ(Pixel(px, py), expected(scroller.CameraCornerX, scroller.CameraCornerY, px, py))
            << "corner " << scroller.CameraCornerX << "," << scroller.CameraCornerY << " pixel "
            << px << "," << py;
      }
    }
  }
}

TEST_F(ScrollerTest, ShadedBackgroundCellDrawsItsVariant) {
  AllChunks(7, 1);
  TMap::FBGSet(3, 2, 5);
  ShadowGrid[3][2] = 1;
  auto actor = StillActor(0, 0);
  TileSet1 = SheetShowing(256, 13);
  Scrollers[0]->MDraw(actor.get(), 0, 0);
  EXPECT_EQ(Pixel(3 * 16 + 8, 2 * 16 + 8), PaletteColour(15));
  EXPECT_EQ(Pixel(2 * 16 + 8, 2 * 16 + 8), PaletteColour(7));

  // A chunk of a style without a sheet shows no background tiles.
  ChunkStyleGrid[0][0] = 3;
  std::fill_n(BackBuffer(), kBackBufferWidth * kBackBufferHeight, kPaper);
  Scrollers[0]->MDraw(actor.get(), 0, 0);
  EXPECT_EQ(Pixel(3 * 16 + 8, 2 * 16 + 8), kPaper);
}

TEST_F(ScrollerTest, WaterCellBlendsItsSurfaceFrame) {
  AllChunks(7, 1);
  SolidGrid[3][2] = kSolidFluid;
  FillGrid[3][2] = 10;
  FillGrid[3][3] = 16;
  AnimPhase = 2;
  auto actor = StillActor(0, 0);
  WaterImage = SheetShowing(80, 9);  // the still frame: not the one to draw
  Scrollers[0]->MDraw(actor.get(), 0, 0);
  EXPECT_EQ(Pixel(3 * 16 + 8, 2 * 16 + 8), PaletteColour(7));
  WaterImage = SheetShowing(80, 57);
  Scrollers[0]->MDraw(actor.get(), 0, 0);
  const uint32_t blended = Pixel(3 * 16 + 8, 2 * 16 + 8);
  EXPECT_NE(blended, PaletteColour(7));
  EXPECT_NE(blended, PaletteColour(15));  // seven tenths water, three tenths sky
}

TEST_F(ScrollerTest, AtTheFarCornerTheCellPassStartsAtColumn49Row35) {
  AllChunks(7, 1);
  TMap::FBGSet(49, 35, 20);
  TileSet1 = SheetShowing(256, 20);
  auto far = StillActor(MAP_WIDTH_UNITS - 1048576, MAP_HEIGHT_UNITS - 1048576);
  TScroller& scroller = *Scrollers[0];
  scroller = ScrollerOn(*far);
  scroller.MDraw(far.get(), 0, 0);
  EXPECT_EQ(scroller.CameraCornerX, 52428799);
  EXPECT_EQ(scroller.CameraCornerY, 37748735);
  EXPECT_EQ(scroller.XPosPixelOfs, 15);
  EXPECT_EQ(scroller.YPosPixelOfs, 15);
  // Only the last pixel of cell (49, 35) shows, in the view's corner.
  EXPECT_EQ(Pixel(0, 0), PaletteColour(15));
  EXPECT_EQ(Pixel(1, 0), PaletteColour(7));
  EXPECT_EQ(Pixel(0, 1), PaletteColour(7));
}

TEST_F(ScrollerTest, OnlyActorsFiledInChunksInSightAreDrawn) {
  auto followed = StillActor(30000000, 20000000);  // corner in chunk column 4, row 2
  TScroller& scroller = *Scrollers[0];
  scroller = ScrollerOn(*followed);
  struct Filed {
    int c, r;
    bool seen;
  };
  const Filed places[] = {{4, 2, true},   {11, 7, true}, {3, 4, false},
                          {12, 4, false}, {5, 1, false}, {5, 8, false}};
  std::vector<std::shared_ptr<TActor>> actors;
  for (const Filed& place : places) {
    auto actor = StillActor(place.c * 4194304 + 100 * 65536, place.r * 4194304 + 50 * 65536);
    actor->XRelPixel = -777;
    ActorBuckets[place.c][place.r].push_back(actor);
    actors.push_back(actor);
  }
  ActorBuckets[6][3].push_back(nullptr);  // an empty entry is skipped
  scroller.MDraw(followed.get(), 0, 0);
  for (size_t i = 0; i < actors.size(); ++i) {
    const Filed& place = places[i];
    if (place.seen) {
      EXPECT_EQ(actors[i]->XRelPixel, (actors[i]->XPos - scroller.CameraCornerX) >> 16);
      EXPECT_EQ(actors[i]->YRelPixel, (actors[i]->YPos - scroller.CameraCornerY) >> 16);
    } else {
      EXPECT_EQ(actors[i]->XRelPixel, -777) << place.c << "," << place.r;
    }
  }
}

}  // namespace
