// One view of the world: a 400x288 window onto the map whose camera follows one actor.
#pragma once

#include <cstdint>
#include <memory>

class TActor;

// Two views exist, Scrollers[0] on the left following the player and Scrollers[1] on the right
// following BadguyActor.
class TScroller {
 public:
  // Never read or written by the game: kept with the view's other fields.
  int64_t XHandleUnits = 0;
  int64_t YHandleUnits = 0;
  int64_t XPosTile = 0;
  int64_t YPosTile = 0;
  int64_t CameraXVel = 0;
  int64_t CameraYVel = 0;

  int64_t XPosPixelOfs = 0;  // the pixel offset of the pass being drawn within its chunk or cell
  int64_t YPosPixelOfs = 0;
  int64_t CameraXPos = 0;  // the eased point the view centres on, units
  int64_t CameraYPos = 0;
  int64_t CameraCornerX = 0;  // the view's top-left corner in the map, units
  int64_t CameraCornerY = 0;

  // world/scroller.cpp: the views, the scroll locks and the drawing.
  static int FResetTables();  // no view at all
  static int FBoot();         // creates both views
  static int FDefaultState();
  // ScrollLocks anew: a side of a screen region is locked when more than seven in ten of its
  // cells hold a block; the camera then stays inside the region near that side.
  static int FEvaluateScrollLocks();
  // What the views derive from the map grids, anew: the scroll locks, the light map and which
  // chunks need a backdrop. Called after a new map (start-up, R) and on E; painting leaves it.
  static int FRefreshFromMap();
  // Moves the camera after the actor, then draws the view at window pixel (screen_x, screen_y):
  // backdrops, then background tiles, water and blocks, then the actors. Null draws nothing.
  int MDraw(const TActor* actor, int screen_x, int screen_y);
  // Draws the view as MDraw does, with the camera left where it stands.
  int MDrawStill(int screen_x, int screen_y);
  // Not called by the game: kept as part of TScroller's interface.
  static int FUpdate() { return 0; }

  // world/scroller_camera.cpp
  // The camera half of MDraw (target, locks, easing, corner clamp), without drawing.
  void MMoveCamera(const TActor& actor);
  // The free camera, steered rather than following: the corner moves by (dx, dy) units, or is
  // put where the view centres on (x, y), always kept inside the map, and the camera's centre
  // goes with it (an actor followed again later eases from there).
  void MShiftCamera(int64_t dx, int64_t dy);
  void MCentreCameraOn(int64_t x, int64_t y);

  // Private, in world/scroller.cpp: the passes of MDraw.
 private:
  void MDrawPasses(int screen_x, int screen_y);  // at that window pixel, the camera as it is
  struct CellWindow;
  CellWindow MCellWindow() const;
  void MDrawBackdrops();  // world/scroller_backdrops.cpp
  void MFillBackdropRuns(int c0, int r0, int c1, int r1, const CellWindow& window);
  void MDrawCells();
  void MDrawActors();
};

// world/scroller.cpp: the frame choices of the cell pass, kept apart so they can be checked
// without drawing.
// The water frame of fluid cell (x, y): a rippling surface frame over a full cell, else a still
// frame; the bottom row has no cell below it and shows the still frames.
int WaterFrameAt(int x, int y);
// The background frame of style b in cell (x, y): the first eight styles have a shaded variant
// eight frames on, used where the light map puts the cell in shadow.
int BackgroundFrameAt(int x, int y, int b);
// Whether the cell pass paints every pixel of cell (x, y), a cell of the map, opaquely, with an
// opaque background tile or a block resting in it: a backdrop beneath would never be seen.
bool CellPaintedOpaquely(int x, int y);

// world/scroller_backdrops.cpp: the backdrop pass of MDraw (TScroller::MDrawBackdrops).

// What the views leave out while a level is built (build mode hides layers to see behind them):
// bits of the kinds below; 0, drawing everything, whenever build mode is off.
constexpr uint8_t kHideBackgroundLayer = 1;
constexpr uint8_t kHideBlockLayer = 2;
constexpr uint8_t kHideWaterLayer = 4;
constexpr uint8_t kHideActorLayer = 8;
extern uint8_t HiddenViewLayers;  // world/scroller.cpp

// Defined in world/scroller.cpp, emptied by TScroller::FResetTables, made by TScroller::FBoot.
extern std::shared_ptr<TScroller> Scrollers[2];  // the left view [0] and the right view [1]
