// Build mode's state, its keys and the tools' gestures: a press, the drag, the release; each
// tool's change of the map is one step of the undo history (the brush's a stroke, as painting in
// play makes).
#include "editor/build_mode.h"

#include <algorithm>

#include "actors/actor.h"
#include "editor/editor.h"
#include "editor/undo_history.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "shared/game_events.h"
#include "world/current_level.h"
#include "world/map.h"
#include "world/scroller.h"

TBuildState Build;

namespace {

// Bad guys' starts: as many as the actor cap leaves beside the player.
constexpr size_t kMostBadguyStarts = kActorCap - 1;

void Note(BuildNote note) {
  TGameEvents::FReport(GameEvent::kBuildNote, 0, 0, static_cast<int32_t>(note));
}

// The change `change` makes, as one step of the history (none if it changed nothing).
template <typename Change>
void OneStep(Change change) {
  TUndoHistory::FBeginWholeMapStep(UndoneStep::kBuildTool);
  change();
  TUndoHistory::FEndWholeMapStep();
  TGameEvents::FReport(GameEvent::kBuildToolUsed, 0, 0, static_cast<int32_t>(Build.Tool));
}

void PaintCells(const std::vector<BuildCell>& cells, bool erase) {
  const BuildLayer layer = TBuild::FActiveLayer();
  OneStep([&] {
    for (const BuildCell& cell : cells)
      SetBuildCell(cell.X, cell.Y, layer, erase);
  });
}

// The brush's cells go into the open stroke.
void BrushCells(const std::vector<BuildCell>& cells) {
  const BuildLayer layer = TBuild::FActiveLayer();
  for (const BuildCell& cell : cells) {
    TUndoHistory::FBeforeEdit();
    if (SetBuildCell(cell.X, cell.Y, layer, Build.Erasing)) TUndoHistory::FEdited();
  }
}

void EndGestures() {
  Build.Dragging = false;
  Build.Pouring = false;
  Build.DraggedStart = -2;
  Build.StampShown = false;
}

bool StartCellFree(BuildCell cell) {
  return TMap::FBoundsMargin(cell.X, cell.Y) && !BlockGrid[cell.X][cell.Y];
}

// -1 for the player's start in the cell, the bad guy's number for one of theirs, -2 for none.
int StartIn(BuildCell cell) {
  if (StartCell(LevelStarts.Player) == cell) return -1;
  for (size_t i = 0; i < LevelStarts.Badguys.size(); ++i)
    if (StartCell(LevelStarts.Badguys[i]) == cell) return static_cast<int>(i);
  return -2;
}

void StartsPress() {
  const int at = StartIn(Build.From);
  if (Build.Erasing) {
    if (at == -1) {
      Note(BuildNote::kPlayerStartStays);
    } else if (at >= 0 && LevelStarts.Badguys.size() <= 1) {
      Note(BuildNote::kLastBadguyStays);
    } else if (at >= 0) {
      OneStep([&] { LevelStarts.Badguys.erase(LevelStarts.Badguys.begin() + at); });
    }
    return;
  }
  if (at != -2) {
    Build.DraggedStart = at;  // the release puts it where the pointer is then
    return;
  }
  if (!StartCellFree(Build.From)) {
    Note(BuildNote::kStartNeedsRoom);
  } else if (ModifiersHeldDuringPass(Command::kMovePlayerStart)) {
    OneStep([] { LevelStarts.Player = StartAtCell(Build.From.X, Build.From.Y); });
  } else if (LevelStarts.Badguys.size() >= kMostBadguyStarts) {
    Note(BuildNote::kStartsFull);
  } else {
    OneStep([] { LevelStarts.Badguys.push_back(StartAtCell(Build.From.X, Build.From.Y)); });
  }
}

void StartsRelease() {
  const int dragged = Build.DraggedStart;
  Build.DraggedStart = -2;
  if (dragged == -2 || Build.To == Build.From) return;
  if (!StartCellFree(Build.To)) {
    Note(BuildNote::kStartNeedsRoom);
    return;
  }
  if (dragged == -1 && StartIn(Build.To) == -2) {
    OneStep([] { LevelStarts.Player = StartAtCell(Build.To.X, Build.To.Y); });
  } else if (dragged >= 0 && static_cast<size_t>(dragged) < LevelStarts.Badguys.size() &&
             StartIn(Build.To) == -2) {
    OneStep([&] { LevelStarts.Badguys[dragged] = StartAtCell(Build.To.X, Build.To.Y); });
  }
}

void Press() {
  switch (Build.Tool) {
    case BuildTool::kBrush:
      BrushCells({Build.From});
      break;
    case BuildTool::kFill:
      PaintCells(FloodRegion(Build.From.X, Build.From.Y, TBuild::FActiveLayer()), Build.Erasing);
      break;
    case BuildTool::kSelect:
      Build.Selected = !Build.Erasing;  // the right button lets the selection go
      Build.SelectionFrom = Build.SelectionTo = Build.From;
      break;
    case BuildTool::kStarts:
      StartsPress();
      break;
    default:
      break;
  }
}

void Move(BuildCell to) {
  if (Build.Tool == BuildTool::kBrush && !(to == Build.To)) BrushCells(LineCells(Build.To, to));
  Build.To = to;
  if (Build.Tool == BuildTool::kSelect && Build.Selected) Build.SelectionTo = to;
}

void Release() {
  switch (Build.Tool) {
    case BuildTool::kLine:
      PaintCells(LineCells(Build.From, Build.To), Build.Erasing);
      break;
    case BuildTool::kRectangle:
    case BuildTool::kFilledRectangle:
      PaintCells(RectangleCells(Build.From, Build.To, Build.Tool == BuildTool::kFilledRectangle),
                 Build.Erasing);
      break;
    case BuildTool::kStarts:
      StartsRelease();
      break;
    default:
      break;
  }
}

bool Chord(Command command) {
  return CommandPresses(command) != 0 && ModifiersHeldDuringPass(command);
}

void ClipboardKeys() {
  const bool copy = Chord(Command::kCopy);
  const bool cut = Chord(Command::kCut);
  const bool paste = Chord(Command::kPaste);
  const bool clear = CommandPresses(Command::kClearSelection) != 0;
  if (!Build.On) {
    if (copy || cut || paste || clear) Note(BuildNote::kNeedsBuildMode);
    return;
  }
  if (copy || cut || clear) {
    if (!Build.Selected) {
      Note(BuildNote::kNothingSelected);
    } else {
      if (copy || cut) {
        Build.Clip = CopyCells(Build.SelectionFrom, Build.SelectionTo);
        Note(BuildNote::kCopied);
      }
      if (cut || clear) OneStep([] { ClearCells(Build.SelectionFrom, Build.SelectionTo); });
    }
  }
  if (paste) {
    if (Build.Clip.Width == 0) {
      Note(BuildNote::kNothingCopied);
    } else {
      Build.Dragging = false;
      Build.StampShown = true;
    }
  }
}

constexpr Command kToolKeys[] = {Command::kToolBrush,     Command::kToolLine,
                                 Command::kToolRectangle, Command::kToolFilledRectangle,
                                 Command::kToolFill,      Command::kToolSelect,
                                 Command::kToolStarts};

}  // namespace

void TBuild::FReset() {
  Build = TBuildState{};
  CaptureAuthoredLevel(Build.Level);
  HiddenViewLayers = 0;
}

TLevel LevelToSave() {
  return Build.Used ? LevelFromAuthored(TBuild::FLevel()) : LevelFromMap();
}

const TAuthoredLevel& TBuild::FLevel() {
  if (Build.On) CaptureAuthoredLevel(Build.Level);
  return Build.Level;
}

void TBuild::FLevelReplaced() {
  if (!Build.On) CaptureAuthoredLevel(Build.Level);
}

void TBuild::FCellEdited(int x, int y) {
  if (!Build.On) CaptureAuthoredCell(Build.Level, x, y);
}

void TBuild::FEnter() {
  TUndoHistory::FCommitStroke();
  EndGestures();
  // Clicks of play are not the tools'.
  MouseHitCount(kMouseLeft);
  MouseHitCount(kMouseRight);
  Build.LeftWasHeld = CommandHeld(Command::kBuildDraw);
  Build.RightWasHeld = CommandHeld(Command::kBuildErase);
  PutAuthoredLevel(Build.Level);
  Build.On = Build.Used = true;
  HiddenViewLayers = FHiddenBits();
  TGameEvents::FReport(GameEvent::kBuildModeSwitched, 0, 0, 1);
}

void TBuild::FLeave() {
  TUndoHistory::FCommitStroke();
  EndGestures();
  CaptureAuthoredLevel(Build.Level);
  PutAuthoredLevel(Build.Level);
  Build.On = false;
  HiddenViewLayers = 0;
  TGameEvents::FReport(GameEvent::kBuildModeSwitched, 0, 0, 0);
}

void TBuild::FKeys() {
  const bool shift = ModifiersHeldDuringPass(Command::kHideBackgrounds);
  for (int i = 0; i < static_cast<int>(std::size(kToolKeys)); ++i) {
    const int presses = CommandPresses(kToolKeys[i]);
    if (presses == 0) continue;
    if (!Build.On) {
      Note(BuildNote::kNeedsBuildMode);
    } else if (shift && i < kBuildLayerCount) {
      if (presses % 2 == 1) Build.Hidden[i] = !Build.Hidden[i];
    } else if (Build.Tool != static_cast<BuildTool>(i + 1)) {
      EndGestures();
      Build.Tool = static_cast<BuildTool>(i + 1);
    }
  }
  for (const Command command : {Command::kWaterLayer, Command::kGrid}) {
    const int presses = CommandPresses(command);
    if (presses == 0) continue;
    if (!Build.On) {
      Note(BuildNote::kNeedsBuildMode);
    } else if (presses % 2 == 1) {
      bool& flag = command == Command::kGrid ? Build.GridShown : Build.WaterLayer;
      flag = !flag;
    }
  }
  ClipboardKeys();
  HiddenViewLayers = Build.On ? FHiddenBits() : 0;
}

void TBuild::FPointer(int cx, int cy, bool on_map) {
  Build.Pointer = {std::clamp(cx, 0, MAP_WIDTH_TILES - 1), std::clamp(cy, 0, MAP_HEIGHT_TILES - 1)};
  Build.PointerOnMap = on_map;
  const bool left = CommandHeld(Command::kBuildDraw);
  const bool right = CommandHeld(Command::kBuildErase);
  // A click quicker than a frame is a press as well.
  const bool press_left = MouseHitCount(kMouseLeft) > 0 || (left && !Build.LeftWasHeld);
  const bool press_right = MouseHitCount(kMouseRight) > 0 || (right && !Build.RightWasHeld);
  Build.LeftWasHeld = left;
  Build.RightWasHeld = right;
  // F puts full water cells, whatever the tool.
  Build.Pouring = on_map && CommandHeld(Command::kPour);
  if (Build.Pouring) {
    TUndoHistory::FBeforeEdit();
    if (SetBuildCell(Build.Pointer.X, Build.Pointer.Y, BuildLayer::kWater, false))
      TUndoHistory::FEdited();
  }
  if (Build.StampShown) {
    if (press_right) {
      Build.StampShown = false;
    } else if (press_left && on_map) {
      OneStep([] { StampClip(Build.Clip, Build.Pointer.X, Build.Pointer.Y); });
      Build.StampShown = false;
    }
    return;
  }
  if (!Build.Dragging) {
    if (!on_map || !(press_left || press_right)) return;
    Build.Dragging = true;
    Build.Erasing = press_right;  // the right button wins when both go down
    Build.From = Build.To = Build.Pointer;
    Press();
  } else if (on_map) {
    Move(Build.Pointer);
  }
  if (!(Build.Erasing ? right : left)) {
    Release();
    Build.Dragging = false;
  }
}

bool TBuild::FBrushPainting() {
  return Build.On && ((Build.Dragging && Build.Tool == BuildTool::kBrush) || Build.Pouring);
}

bool TBuild::FEscape() {
  if (!Build.On || !(Build.StampShown || Build.Dragging)) return false;
  EndGestures();
  return true;
}

BuildLayer TBuild::FActiveLayer() {
  if (Build.WaterLayer) return BuildLayer::kWater;
  return EditorMode == kEditorBlockMode ? BuildLayer::kBlocks : BuildLayer::kBackgrounds;
}

uint8_t TBuild::FHiddenBits() {
  uint8_t bits = 0;
  if (Build.Hidden[static_cast<int>(BuildLayer::kBackgrounds)]) bits |= kHideBackgroundLayer;
  if (Build.Hidden[static_cast<int>(BuildLayer::kBlocks)]) bits |= kHideBlockLayer;
  if (Build.Hidden[static_cast<int>(BuildLayer::kWater)]) bits |= kHideWaterLayer;
  if (Build.Hidden[static_cast<int>(BuildLayer::kStarts)]) bits |= kHideActorLayer;
  return bits;
}

std::vector<BuildCell> TBuild::FTargetCells() {
  const BuildCell at = Build.Pointer;
  switch (Build.Tool) {
    case BuildTool::kBrush:
      return Build.Dragging ? LineCells(Build.To, at) : std::vector<BuildCell>{at};
    case BuildTool::kLine:
      return Build.Dragging ? LineCells(Build.From, Build.To) : std::vector<BuildCell>{at};
    case BuildTool::kRectangle:
    case BuildTool::kFilledRectangle:
      return Build.Dragging
                 ? RectangleCells(Build.From, Build.To, Build.Tool == BuildTool::kFilledRectangle)
                 : std::vector<BuildCell>{at};
    case BuildTool::kFill:
      return FloodRegion(at.X, at.Y, FActiveLayer());
    default:
      return {at};
  }
}
