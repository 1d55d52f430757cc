// Build mode: the level held still while it is built with real tools (brush, line, rectangles,
// flood fill, selection with copy and paste, the starts), each tool's action one undo step; and
// the level as built, which a play-test starts from and returning to building puts back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/overlay_scene.h"
#include "world/authored_level.h"
#include "world/level_file.h"

enum class BuildTool : int {
  kBrush = 1,
  kLine,
  kRectangle,
  kFilledRectangle,
  kFill,
  kSelect,
  kStarts,
};

// The layers a tool changes, and the layers build mode can hide (kStarts hides the actors and
// the start marks).
enum class BuildLayer : int { kBackgrounds = 0, kBlocks, kWater, kStarts };
constexpr int kBuildLayerCount = 4;

struct BuildCell {
  int X = 0, Y = 0;
  bool operator==(const BuildCell&) const = default;
};

// A copied rectangle of the map: every cell's block style, background and water.
struct BuildClip {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Blocks, BG, Water;  // row after row
};

// Everything build mode keeps between frames; defined in editor/build_mode.cpp.
struct TBuildState {
  bool On = false;         // Enter switched it on
  bool Used = false;       // it has been on in this run: the saves write the level as built
  TAuthoredLevel Level{};  // the level as built; in build mode the map is it
  BuildTool Tool = BuildTool::kBrush;
  bool WaterLayer = false;  // W: water instead of the picker's layer
  bool Hidden[kBuildLayerCount] = {};
  bool GridShown = true;
  // The gesture of a held button: where it went down and where the pointer is now.
  bool Dragging = false;
  bool Erasing = false;  // the right button's
  BuildCell From, To;
  int DraggedStart = -2;  // -1 the player's, 0.. a bad guy's, -2 none
  bool Selected = false;
  BuildCell SelectionFrom, SelectionTo;
  BuildClip Clip;
  bool StampShown = false;
  // The pointer this frame: its cell and whether it is over the map in the left view.
  BuildCell Pointer;
  bool PointerOnMap = false;
  bool LeftWasHeld = false, RightWasHeld = false;
  bool Pouring = false;  // F held over the map: full water cells, in the brush's stroke
};
extern TBuildState Build;

class TBuild {
 public:
  static void FReset();  // off, never used, the brush, the grid on, nothing hidden or held
  // The level as built, taken from the map first while building.
  static const TAuthoredLevel& FLevel();
  // In play, a change of the whole map (start-up's load, L, R, undo, redo) makes the map the
  // level as built; while building the map is the level already.
  static void FLevelReplaced();
  // In play, a cell the brush of play changed goes into the level as built.
  static void FCellEdited(int x, int y);
  // Switching: the gestures under way end. Entering puts the level as built onto the map;
  // leaving takes it from the map and puts it back fresh (blocks at rest, water still).
  static void FEnter();
  static void FLeave();
  // The tool, layer, grid and clipboard keys (in play they only say that they need build mode).
  static void FKeys();
  // The pointer at cell (cx, cy), over the map or not, and the buttons: the tools act.
  static void FPointer(int cx, int cy, bool on_map);
  // The brush is painting or F pouring: their stroke is open (the undo history's stroke).
  static bool FBrushPainting();
  // Escape: drops a paste that follows the pointer or a drag under way; false when there was
  // none (Escape then quits as ever).
  static bool FEscape();
  // The layer the tools change now.
  static BuildLayer FActiveLayer();
  // What the views hide now (HiddenViewLayers' bits).
  static uint8_t FHiddenBits();
  // The cells the tool would change if the button went down or up now, in map cells.
  static std::vector<BuildCell> FTargetCells();
};

// What the saves write (S, Ctrl+S, the kept edits, the runner's --save-level): once build mode
// has been used, the level as built, never what play did to it; before that, the map as it
// stands.
TLevel LevelToSave();

// editor/build_tools.cpp: what the tools do to the map.
// Cells of a line from a to b, both ends included, no two apart by more than one step.
std::vector<BuildCell> LineCells(BuildCell a, BuildCell b);
// The edge (or all) of the rectangle with corners a and b.
std::vector<BuildCell> RectangleCells(BuildCell a, BuildCell b, bool filled);
// The 4-connected cells inside the border ring whose content in the layer equals (x, y)'s.
std::vector<BuildCell> FloodRegion(int x, int y, BuildLayer layer);
// Paints (or erases) one cell inside the border ring in the layer; true if it changed.
bool SetBuildCell(int x, int y, BuildLayer layer, bool erase);
// The selection's cells into a clip; the cells emptied of blocks, backgrounds and water.
BuildClip CopyCells(BuildCell a, BuildCell b);
bool ClearCells(BuildCell a, BuildCell b);
// The clip with its top left at (x, y); what lies over the border ring or the map's edge is
// left out. True if the map changed.
bool StampClip(const BuildClip& clip, int x, int y);
// The cell a start stands in: its centre line's column, the row above its feet line.
BuildCell StartCell(const TStartPoint& start);
// A start standing in the cell, feet on its bottom row of units.
TStartPoint StartAtCell(int x, int y);

// editor/build_overlay.cpp: the grid, the marks and the status lines over the left view.
void LayOutBuildOverlay(OverlayScene& scene, int mx, int my);
// The words for a block style's family: solid (with the family it varies within), brick or
// container; for the status line.
std::string BlockFamilyWords(int style);
