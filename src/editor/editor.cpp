// Painting the map with the mouse in the left view, pouring water, and the save, load and
// refresh keys; the black frame around the left view and the picker overlay.
#include "editor/editor.h"
#include "shared/game_codes.h"

#include <cstdint>

#include "editor/build_mode.h"
#include "editor/editor_layout.h"
#include "editor/free_camera.h"
#include "editor/level_name_prompt.h"
#include "editor/map_overview.h"
#include "editor/stroke_events.h"
#include "editor/undo_history.h"
#include "fluid/fluid.h"
#include "fluid/level_apply.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "shared/game_events.h"
#include "shared/game_images.h"
#include "world/current_level.h"
#include "world/level_save.h"
#include "world/map.h"
#include "world/map_files.h"
#include "world/random_styles.h"
#include "world/recovery_level.h"
#include "world/scroller.h"

namespace {
enum class Button { None, Left, Right };

Button HeldButton() {
  Button button = Button::None;
  if (CommandHeld(Command::kPaint)) button = Button::Left;
  if (CommandHeld(Command::kErase)) button = Button::Right;  // right wins when both are held
  return button;
}

// Window pixel plus camera corner, in units, to a cell: the shift works on the low 32 bits
// of the sum, as a logical shift.
int PixelToCell(int pixel, int64_t corner) {
  const uint64_t units = static_cast<uint64_t>(int64_t{pixel} * PIXEL_UNITS + corner);
  return static_cast<int>(static_cast<uint32_t>(units) >> TILE_SHIFT);
}

// Solid families of six (0..17 and 32..49) keep their family but vary the tile on every
// painted cell; other styles paint exactly as picked.
void RepickBlockStyle() {
  if (EditorBlockStyle < 18) EditorBlockStyle = RandomStyleNear((EditorBlockStyle / 6) * 6);
  if (EditorBlockStyle >= 32 && EditorBlockStyle <= 49) {
    EditorBlockStyle = RandomStyleNear(((EditorBlockStyle - 32) / 6) * 6 + 32);
  }
}

void PaintBlock(int cx, int cy, Button button) {
  if (button == Button::Left) {
    RepickBlockStyle();
    TMap::FCreateBlock(cx, cy, EditorBlockStyle);
  } else if (button == Button::Right) {
    TMap::FCreateBlock(cx, cy, -1);
  }
}

void PaintBackground(int cx, int cy, Button button) {
  if (button == Button::Left) {
    if (EditorBGStyle < 8) EditorBGStyle = RandomStyleSpread(0);
    TMap::FBGSet(cx, cy, EditorBGStyle);
  } else if (button == Button::Right) {
    TMap::FBGSet(cx, cy, kNoStyle);
  }
}

struct CellState {
  uint8_t Solid, Fill, BG;
  int Style;
  bool operator==(const CellState&) const = default;
};

CellState CellStateAt(int cx, int cy) {
  return {SolidGrid[cx][cy], FillGrid[cx][cy], BGGrid[cx][cy], TMap::FBlockStyleAtCell(cx, cy)};
}

void EditCell(int cx, int cy, Button button) {
  // The border ring stays as it is: no painting, no erasing, no water there.
  if (!TMap::FBoundsMargin(cx, cy)) return;
  const bool pouring = CommandHeld(Command::kPour);
  if (!pouring && button == Button::None) return;
  TUndoHistory::FBeforeEdit();
  const CellState before = CellStateAt(cx, cy);
  if (pouring) TFluid::FCreateWater(cx, cy);
  if (EditorMode == kEditorBlockMode) {
    PaintBlock(cx, cy, button);
  } else {
    PaintBackground(cx, cy, button);
  }
  if (CellStateAt(cx, cy) == before) return;
  TUndoHistory::FEdited();
  TBuild::FCellEdited(cx, cy);
  if (pouring) ReportStrokeCell(GameEvent::kWaterPoured, cx, cy);
  if (button == Button::Left) ReportStrokeCell(GameEvent::kBlockPainted, cx, cy);
  if (button == Button::Right) ReportStrokeCell(GameEvent::kBlockErased, cx, cy);
}

void Undo() {
  UndoneStep what = UndoneStep::kStroke;
  if (TUndoHistory::FUndo(&what)) {
    TBuild::FLevelReplaced();
    TGameEvents::FReport(GameEvent::kUndo, 0, 0, static_cast<int32_t>(what));
  } else {
    TGameEvents::FReport(GameEvent::kNothingToUndo);
  }
}

void Redo() {
  UndoneStep what = UndoneStep::kStroke;
  if (TUndoHistory::FRedo(&what)) {
    TBuild::FLevelReplaced();
    TGameEvents::FReport(GameEvent::kRedo, 0, 0, static_cast<int32_t>(what));
  } else {
    TGameEvents::FReport(GameEvent::kNothingToRedo);
  }
}

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo: one step per press, however long it is held.
// Whether this pass's Ctrl went to an undo or a redo.
bool UndoChordThisPass = false;

void UndoRedoKeys() {
  // Ctrl+Z and Ctrl+Shift+Z share the letter: one read gives the presses of both.
  const int zPresses = CommandPresses(Command::kUndo);
  const int yPresses = CommandPresses(Command::kRedo);
  // A quick tap can release the modifier before the pass that sees the letter: a modifier down
  // at any moment since the last pass counts as held.
  const bool ctrl = ModifiersHeldDuringPass(Command::kUndo);
  const bool shift = ModifiersHeldDuringPass(Command::kRedoShifted);
  UndoChordThisPass = ctrl && zPresses + yPresses > 0;
  if (!ctrl) return;
  for (int i = 0; i < zPresses; ++i)
    shift ? Redo() : Undo();
  for (int i = 0; i < yPresses; ++i)
    Redo();
}

// Ctrl+L on a level file (or a new level): its newest copy in recovery/, grids, water and
// starts, read whole before anything of the map changes. The level stays the one S saves to.
bool LoadRecoveryLevel(LoadFailure& why) {
  TLevel level;
  std::string where, reason;
  bool none = false;
  if (!ReadRecoveryLevel(level, where, reason, none)) {
    why = none ? LoadFailure::kNoRecoveryLevel : LoadFailure::kRecoveryLevel;
    if (!none) PrintLine("The recovered level " + where + " is refused: " + reason + ".");
    return false;
  }
  PrintLine("Loading recovered edits " + where + ".");
  SetMapFromLevel(level);
  return true;
}

// L loads the map files; Ctrl+L the edits the last run kept in recovery/ of what is played:
// the pair on the map files, the level's own copy on a level file. Either is one step.
void LoadKeys() {
  if (!CommandPresses(Command::kLoad)) return;
  const bool recovery = ModifiersHeldDuringPass(Command::kLoadRecovery);
  TUndoHistory::FBeginWholeMapStep(UndoneStep::kLoad);
  LoadFailure why = LoadFailure::kMapFiles;
  bool loaded = false;
  if (!recovery) {
    loaded = LoadMapFiles();
  } else if (!RecoveryLevelName().empty()) {
    loaded = LoadRecoveryLevel(why);
  } else {
    loaded = LoadRecoveryPair(why);
  }
  TUndoHistory::FEndWholeMapStep();
  TBuild::FLevelReplaced();
  if (loaded) {
    TGameEvents::FReport(recovery ? GameEvent::kRecoveryLoaded : GameEvent::kLoadDone);
  } else {
    TGameEvents::FReport(GameEvent::kLoadFailed, 0, 0, static_cast<int32_t>(why));
  }
}

// S saves the level where it came from: the map files, or its level file. Ctrl+S saves it as a
// new level file, which S saves from then on. The map files keep no water and no starts: a save
// of a map with them says so on screen. Once build mode has been used, every save writes the
// level as built, never what play did to the map.
// A pass that undoes or redoes has its Ctrl for that: an S in it is the plain save, as it always
// was (undo, then save what the undo left).
void SaveKeys() {
  if (!CommandPresses(Command::kSave)) return;
  // A new level from the level list has no file yet: S gives it its first, as Ctrl+S does.
  // The new file's name is asked for first; the prompt saves it.
  if ((ModifiersHeldDuringPass(Command::kSaveNewLevel) && !UndoChordThisPass) ||
      CurrentLevel.Untitled) {
    TNamePrompt::FOpen();
    return;
  }
  const TLevel level = LevelToSave();
  bool saved = false;
  if (!CurrentLevel.Path.empty()) {
    saved = SaveCurrentLevelFile(level);
  } else {
    saved = SaveMapFiles(level.Backgrounds, level.Blocks);
    if (saved && LevelHasMoreThanThePair(level)) TGameEvents::FReport(GameEvent::kPairKeepsNoWater);
  }
  if (saved) TUndoHistory::FMarkSaved();
}

void FileAndRefreshKeys() {
  SaveKeys();
  LoadKeys();
  if (CommandPresses(Command::kRefresh)) {
    TScroller::FRefreshFromMap();
    TGameEvents::FReport(GameEvent::kRefreshed);
  }
}
}  // namespace

int TEditor::FInput() {
  // The free camera moves first: the cell under the pointer is the one this frame shows there.
  FreeCameraInput();
  const int mx = MousePosX();
  const int my = MousePosY();
  const Button button = HeldButton();
  const PickerPlace place = PickerPlaceAt(mx, my);
  const TScroller* left_view = Scrollers[0].get();
  const int cx = PixelToCell(mx, left_view ? left_view->CameraCornerX : 0);
  const int cy = PixelToCell(my, left_view ? left_view->CameraCornerY : 0);
  TBuild::FKeys();
  const bool on_map = mx <= kLeftViewRight && !PointerOnOverview();
  if (mx > kLeftViewRight) {
    if (CommandHeld(Command::kPickWithLeft) || CommandHeld(Command::kPickWithRight)) {
      PickerClick(place);
      Build.WaterLayer = false;  // a pick chooses the picker's layer again
    }
  } else if (on_map) {
    if (CommandHeld(Command::kEyedropper)) {
      EyedropperPick(cx, cy);
      Build.WaterLayer = false;
    }
    if (!Build.On) EditCell(cx, cy, button);
  }
  if (Build.On) TBuild::FPointer(cx, cy, on_map);
  UndoRedoKeys();
  FileAndRefreshKeys();
  return 0;
}

int TEditor::FFrameStart() {
  FreeCameraFrameStart();
  const bool overLeftView = MousePosX() <= kLeftViewRight;
  const bool held =
      CommandHeld(Command::kPaint) || CommandHeld(Command::kErase) || CommandHeld(Command::kPour);
  // A press in the overview only steers the view: it opens no stroke.
  // Build mode's brush keeps its own stroke; its other tools make steps of their own.
  const bool painting =
      Build.On ? TBuild::FBrushPainting() : overLeftView && held && !OverviewDragging;
  TUndoHistory::FFrameStart(painting);
  if (!painting) ForgetStrokeCells();
  return 0;
}

int TEditor::FDraw() {
  SetColor(0, 0, 0);
  DrawRect(kLeftViewRight, 0, kPickerLeft - kLeftViewRight, kViewsBottom);
  DrawRect(0, kViewsBottom, kPickerLeft, kStripBelowHeight);
  SetColor(255, 255, 255);
  if (FreeCameraOn) DrawMapOverview();
  if (MousePosX() <= kLeftViewRight) return 0;
  SetDrawScale(0.5f, 0.5f);
  DrawImageFrame(AllTilesImage.get(), kPickerLeft, kPickerTop, 0);
  SetDrawScale(1.0f, 1.0f);
  DrawImageFrame(TileSet0.get(), kChosenBlockLeft, kChosenStylesTop, EditorBlockStyle);
  DrawImageFrame(TileSet1.get(), kChosenBackgroundLeft, kChosenStylesTop, EditorBGStyle);
  return 0;
}
