// One view of the world: a 400x288 window onto the map whose camera follows one actor.
#pragma once

#include <cstdint>
#include <memory>

class TActor;

class TScroller {
 public:
  int64_t XHandleUnits = 0;
  int64_t YHandleUnits = 0;
  int64_t XPosPixelOfs = 0;
  int64_t YPosPixelOfs = 0;
  int64_t XPosTile = 0;
  int64_t YPosTile = 0;
  int64_t CameraXPos = 0;
  int64_t CameraYPos = 0;
  int64_t CameraXVel = 0;
  int64_t CameraYVel = 0;
  int64_t CameraCornerX = 0;
  int64_t CameraCornerY = 0;

  static int FBoot();
  static int FDefaultState();
  static int FEvaluateScrollLocks();
  int MDraw(const TActor* actor, int screen_x, int screen_y);
  static int FUpdate() { return 0; }

  // The camera half of MDraw (target, locks, easing, corner clamp), without drawing.
  void MMoveCamera(const TActor& actor);

 private:
  struct CellWindow;
  CellWindow MCellWindow() const;
  void MDrawBackdrops();
  void MDrawBackdrop(int c, int r, float px, float py, const CellWindow& window);
  void MDrawCells();
  void MDrawActors();
};

// The frame choices of the cell pass, kept apart so they can be checked without drawing.
// The water frame of fluid cell (x, y): a rippling surface frame over a full cell, else a still
// frame; the bottom row has no cell below it and shows the still frames.
int WaterFrameAt(int x, int y);
// The background frame of style b in cell (x, y): the first eight styles have a shaded variant
// eight frames on, used where the light map puts the cell in shadow.
int BackgroundFrameAt(int x, int y, int b);

extern std::shared_ptr<TScroller> Scrollers[2];
