// The table of commands and the questions the input code asks of it.
#include "platform/commands.h"

#include <iterator>

#include "platform/input.h"

namespace {

using In = CommandInput;
using Mode = CommandMode;

constexpr const char* kArrows = "Arrow keys (or joystick)";
constexpr const char* kLeftRightButtons = "Left / right mouse button in the left view";
constexpr const char* kPicker = "Mouse over the right view";
constexpr const char* kRedoRow = "Ctrl+Y or Ctrl+Shift+Z";
constexpr const char* kFiles = "S / L / E";
constexpr const char* kTab = "Tab";
constexpr const char* kTools = "1 to 7 (in build mode)";
constexpr const char* kBuildButtons = "Left / right mouse button in build mode";
constexpr const char* kHides = "Shift+1 to Shift+4 (in build mode)";
constexpr const char* kClipboard = "Ctrl+C / Ctrl+X / Ctrl+V / Delete / Escape (tool 6)";
constexpr const char* kLevelListRow = "Ctrl+O";

// One row per name, in the order of Command, which is also the help's: grouped by mode, the
// modes in the order of CommandMode.
constexpr CommandInfo kCommands[] = {
    {Command::kRunLeft, In::kKey, kKeyLeft, kNoModifier, Mode::kPlay, "Left", "player's pad left",
     "run", kArrows},
    {Command::kRunRight, In::kKey, kKeyRight, kNoModifier, Mode::kPlay, "Right",
     "player's pad right", "run", kArrows},
    {Command::kClimbUp, In::kKey, kKeyUp, kNoModifier, Mode::kPlay, "Up", "player's pad up",
     "climb a wall", kArrows},
    {Command::kDuck, In::kKey, kKeyDown, kNoModifier, Mode::kPlay, "Down", "player's pad down",
     "duck; down a wall", kArrows},
    {Command::kJump, In::kKey, kKeyB, kNoModifier, Mode::kPlay, "B", "player's B button",
     "jump (pad 2, 3), hold: higher", "B (joystick buttons 2, 3)"},
    {Command::kAButton, In::kKey, kKeyN, kNoModifier, Mode::kPlay, "N", "player's A button",
     "walk slowly, cling (pad 0, 1)", "N (joystick buttons 0, 1)"},
    {Command::kPause, In::kKey, kKeySpace, kNoModifier, Mode::kPlay, "Space",
     "the main loop sleeps 3 s", "pause 3 seconds", "Space"},
    {Command::kRestart, In::kKey, kKeyR, kNoModifier, Mode::kPlay, "R", "play state entered again",
     "restart on the test map", "R"},
    {Command::kQuit, In::kKey, kKeyEscape, kNoModifier, Mode::kPlay, "Escape",
     "QuitFlag set; unsaved edits kept", "quit", "Escape"},

    {Command::kPaint, In::kMouseButton, kMouseLeft, kNoModifier, Mode::kLeftView, "Left button",
     "paints the picked style", "paint", kLeftRightButtons},
    {Command::kErase, In::kMouseButton, kMouseRight, kNoModifier, Mode::kLeftView, "Right button",
     "erases the block or background", "erase", kLeftRightButtons},
    {Command::kEyedropper, In::kMouseButton, kMouseMiddle, kNoModifier, Mode::kLeftView,
     "Middle button", "picks the style under the pointer", "eyedropper",
     "Middle mouse button in the left view"},
    {Command::kPour, In::kKey, kKeyF, kNoModifier, Mode::kLeftView, "F",
     "pours water under the pointer", "pour water", "F"},

    {Command::kShowPicker, In::kPointer, 0, kNoModifier, Mode::kPicker, "Pointer",
     "the picker drawn over the right view", "shows the tile picker", kPicker},
    {Command::kPickWithLeft, In::kMouseButton, kMouseLeft, kNoModifier, Mode::kPicker, "Left",
     "picks a block (top) or a background", "pick a style", kPicker},
    {Command::kPickWithRight, In::kMouseButton, kMouseRight, kNoModifier, Mode::kPicker,
     "Right button", "picks as the left button does", "pick a style", kPicker},

    {Command::kSave, In::kKey, kKeyS, kNoModifier, Mode::kAnyTime, "S", "writes the map files",
     "save the map", kFiles},
    {Command::kLoad, In::kKey, kKeyL, kNoModifier, Mode::kAnyTime, "L",
     "reads the map files, one undo step", "load the map", kFiles},
    {Command::kLoadRecovery, In::kKey, kKeyL, kWithCtrl, Mode::kAnyTime, "Ctrl+L",
     "reads recovery/, one undo step", "load the kept edits", "Ctrl+L"},
    {Command::kSaveNewLevel, In::kKey, kKeyS, kWithCtrl, Mode::kAnyTime, "Ctrl+S",
     "writes a new level file in levels/", "save as a new level", "Ctrl+S"},
    {Command::kRefresh, In::kKey, kKeyE, kNoModifier, Mode::kAnyTime, "E",
     "shading and scroll locks anew", "refresh the shading", kFiles},
    {Command::kUndo, In::kKey, kKeyZ, kWithCtrl, Mode::kAnyTime, "Ctrl+Z",
     "takes back a stroke, load or restart", "undo", "Ctrl+Z"},
    {Command::kRedo, In::kKey, kKeyY, kWithCtrl, Mode::kAnyTime, "Ctrl+Y",
     "puts the undone step again", "redo", kRedoRow},
    {Command::kRedoShifted, In::kKey, kKeyZ, kWithCtrl | kWithShift, Mode::kAnyTime, "Ctrl+Shift+Z",
     "puts the undone step again", "redo", kRedoRow},
    {Command::kOpenLevelList, In::kKey, kKeyO, kWithCtrl, Mode::kAnyTime, "Ctrl+O",
     "the level list shown over the picture", "open a level", kLevelListRow},

    {Command::kListUp, In::kKey, kKeyUp, kNoModifier, Mode::kLevelList, "Up",
     "the choice one row up", "choose", kLevelListRow},
    {Command::kListDown, In::kKey, kKeyDown, kNoModifier, Mode::kLevelList, "Down",
     "the choice one row down", "choose", kLevelListRow},
    {Command::kListWheel, In::kWheel, 0, kNoModifier, Mode::kLevelList, "Wheel",
     "the choice a row a notch", "choose", kLevelListRow},
    {Command::kListOpen, In::kKey, kKeyEnter, kNoModifier, Mode::kLevelList, "Enter",
     "opens the chosen level", "open it", kLevelListRow},
    {Command::kListClick, In::kMouseButton, kMouseLeft, kNoModifier, Mode::kLevelList,
     "Left button", "opens the level clicked", "open it", kLevelListRow},
    {Command::kListClose, In::kKey, kKeyEscape, kNoModifier, Mode::kLevelList, "Escape",
     "the list closed, the game goes on", "close the list", kLevelListRow},

    {Command::kFreeCamera, In::kKey, kKeyTab, kNoModifier, Mode::kSwitches, "Tab",
     "the free camera on or off", "free camera on / off", kTab},
    {Command::kHoldWorld, In::kKey, kKeyP, kNoModifier, Mode::kSwitches, "P", "WorldHeld on or off",
     "hold the world / go on", "P"},
    {Command::kPlayFromPointer, In::kKey, kKeyT, kNoModifier, Mode::kSwitches, "T",
     "the player stands under the pointer", "play from the pointer", "T"},
    {Command::kPanel, In::kKey, kKeyH, kNoModifier, Mode::kSwitches, "H", "PanelShown on or off",
     "instructions panel", "H"},
    {Command::kMute, In::kKey, kKeyM, kNoModifier, Mode::kSwitches, "M", "the mixer muted or not",
     "sound off / on", "M"},
    {Command::kBuildMode, In::kKey, kKeyEnter, kNoModifier, Mode::kSwitches, "Enter",
     "build mode on; again: play the level as built", "build mode / play it", "Enter"},

    {Command::kScrollLeft, In::kKey, kKeyLeft, kNoModifier, Mode::kFreeCamera, "Left",
     "the left view's camera left", "move the view", kTab},
    {Command::kScrollRight, In::kKey, kKeyRight, kNoModifier, Mode::kFreeCamera, "Right",
     "the left view's camera right", "move the view", kTab},
    {Command::kScrollUp, In::kKey, kKeyUp, kNoModifier, Mode::kFreeCamera, "Up",
     "the left view's camera up", "move the view", kTab},
    {Command::kScrollDown, In::kKey, kKeyDown, kNoModifier, Mode::kFreeCamera, "Down",
     "the left view's camera down", "move the view", kTab},
    {Command::kScrollFaster, In::kKey, kKeyShift, kNoModifier, Mode::kFreeCamera, "Shift",
     "arrows four times faster, wheel across", "faster; wheel sideways", kTab},
    {Command::kWheelScroll, In::kWheel, 0, kNoModifier, Mode::kFreeCamera, "Wheel",
     "three cells a notch", "move the view", kTab},
    {Command::kOverviewSteer, In::kAnyMouseButton, 0, kNoModifier, Mode::kFreeCamera,
     "Overview click", "centres the view on the cell", "go there", kTab},

    {Command::kToolBrush, In::kKey, kKey1, kNoModifier, Mode::kBuild, "1",
     "every cell the pointer crosses", "brush", kTools},
    {Command::kToolLine, In::kKey, kKey2, kNoModifier, Mode::kBuild, "2",
     "a line from the press to the release", "line", kTools},
    {Command::kToolRectangle, In::kKey, kKey3, kNoModifier, Mode::kBuild, "3",
     "the edge of the dragged rectangle", "rectangle", kTools},
    {Command::kToolFilledRectangle, In::kKey, kKey4, kNoModifier, Mode::kBuild, "4",
     "the whole dragged rectangle", "filled rectangle", kTools},
    {Command::kToolFill, In::kKey, kKey5, kNoModifier, Mode::kBuild, "5",
     "the 4-connected cells equal to the clicked one", "flood fill", kTools},
    {Command::kToolSelect, In::kKey, kKey6, kNoModifier, Mode::kBuild, "6",
     "a rectangle for the clipboard keys", "select", kTools},
    {Command::kToolStarts, In::kKey, kKey7, kNoModifier, Mode::kBuild, "7",
     "click: a bad guy's start; drag: moves one", "starts", kTools},
    {Command::kBuildDraw, In::kMouseButton, kMouseLeft, kNoModifier, Mode::kBuild, "Left button",
     "the tool draws the picked style", "draw with the tool", kBuildButtons},
    {Command::kBuildErase, In::kMouseButton, kMouseRight, kNoModifier, Mode::kBuild, "Right button",
     "the tool erases; tool 7: removes a start", "erase, remove start", kBuildButtons},
    {Command::kMovePlayerStart, In::kMouseButton, kMouseLeft, kWithShift, Mode::kBuild,
     "Shift+click", "tool 7: the player's start there", "the player's start", kBuildButtons},
    {Command::kHideBackgrounds, In::kKey, kKey1, kWithShift, Mode::kBuild, "Shift+1",
     "backgrounds hidden or shown", "hide backgrounds", kHides},
    {Command::kHideBlocks, In::kKey, kKey2, kWithShift, Mode::kBuild, "Shift+2",
     "blocks hidden or shown", "hide blocks", kHides},
    {Command::kHideWater, In::kKey, kKey3, kWithShift, Mode::kBuild, "Shift+3",
     "water hidden or shown", "hide water", kHides},
    {Command::kHideStarts, In::kKey, kKey4, kWithShift, Mode::kBuild, "Shift+4",
     "the actors and start marks hidden or shown", "hide starts", kHides},
    {Command::kWaterLayer, In::kKey, kKeyW, kNoModifier, Mode::kBuild, "W",
     "water the active layer, or the picker's again", "water layer on / off", "W"},
    {Command::kGrid, In::kKey, kKeyG, kNoModifier, Mode::kBuild, "G", "the cell grid on or off",
     "grid on / off", "G"},
    {Command::kCopy, In::kKey, kKeyC, kWithCtrl, Mode::kBuild, "Ctrl+C",
     "the selection into the clipboard", "copy the selection", kClipboard},
    {Command::kCut, In::kKey, kKeyX, kWithCtrl, Mode::kBuild, "Ctrl+X", "copied, then cleared",
     "cut the selection", kClipboard},
    {Command::kPaste, In::kKey, kKeyV, kWithCtrl, Mode::kBuild, "Ctrl+V",
     "the clipboard follows the pointer; click places", "paste (click places)", kClipboard},
    {Command::kClearSelection, In::kKey, kKeyDelete, kNoModifier, Mode::kBuild, "Delete",
     "the selection's cells emptied", "clear the selection", kClipboard},
    {Command::kDropStamp, In::kKey, kKeyEscape, kNoModifier, Mode::kBuild, "Escape",
     "the paste dropped; no quit while one shows", "drop the paste", kClipboard},

    {Command::kHelp, In::kKey, kKeyF1, kNoModifier, Mode::kHelp, "F1", "the help shown or hidden",
     "this help on / off", "F1"},
    {Command::kHideHelp, In::kKey, kKeyEscape, kNoModifier, Mode::kHelp, "Escape",
     "the help hidden, the game goes on", "close the help", "F1"},

    {Command::kFullScreen, In::kWindowKey, kKeyF11, kNoModifier, Mode::kWindow, "F11/Alt+Enter",
     "the window fills its display", "full screen", "F11 or Alt+Enter"},
    {Command::kFitPicture, In::kWindowKey, kKeyF9, kNoModifier, Mode::kWindow, "F9",
     "the largest picture that fits, or whole steps", "fill the window / sharp steps", "F9"},
};

// Each name's row sits at the name's place: a lookup is an index.
constexpr bool RowsInNameOrder() {
  for (size_t i = 0; i < std::size(kCommands); ++i)
    if (static_cast<size_t>(kCommands[i].Name) != i) return false;
  return std::size(kCommands) == static_cast<size_t>(Command::kFitPicture) + 1;
}
static_assert(RowsInNameOrder(), "the rows of kCommands follow the order of Command");

constexpr const char* kModeHeadings[kCommandModeCount] = {
    "Playing",
    "Mouse in the left view",
    "Over the right view",
    "The map, any time",
    "Level list (Ctrl+O)",
    "Building",
    "Free camera (Tab)",
    "Build mode (Enter)",
    "Help",
    "Window",
};

int ModifierKey(int modifier) {
  return modifier == kWithCtrl ? kKeyCtrl : kKeyShift;
}

}  // namespace

std::span<const CommandInfo> AllCommands() {
  return kCommands;
}

const CommandInfo& CommandOf(Command name) {
  const auto index = static_cast<size_t>(name);
  return index < std::size(kCommands) ? kCommands[index] : kCommands[0];
}

int CodeOf(Command name) {
  return CommandOf(name).Code;
}

const char* ModeHeading(CommandMode mode) {
  const int index = static_cast<int>(mode);
  return index >= 0 && index < kCommandModeCount ? kModeHeadings[index] : "";
}

int CommandPresses(Command name) {
  const CommandInfo& info = CommandOf(name);
  switch (info.Input) {
    case In::kKey:
      return KeyHitCount(info.Code);
    case In::kMouseButton:
      return MouseHitCount(info.Code);
    default:
      return 0;
  }
}

bool CommandHeld(Command name) {
  const CommandInfo& info = CommandOf(name);
  switch (info.Input) {
    case In::kKey:
      return KeyIsDown(info.Code) != 0;
    case In::kMouseButton:
      return MouseButtonDown(info.Code) != 0;
    case In::kAnyMouseButton:
      return MouseButtonDown(kMouseLeft) || MouseButtonDown(kMouseRight) ||
             MouseButtonDown(kMouseMiddle);
    default:
      return false;
  }
}

bool ModifiersHeldDuringPass(Command name) {
  const int modifiers = CommandOf(name).Modifiers;
  for (const int modifier : {kWithCtrl, kWithShift})
    if ((modifiers & modifier) && KeyHeldDuringPass(ModifierKey(modifier)) == 0) return false;
  return true;
}

void ForgetCommandPresses() {
  for (const CommandInfo& info : kCommands) {
    if (info.Input == In::kKey) KeyHitCount(info.Code);
    if (info.Input == In::kMouseButton) MouseHitCount(info.Code);
  }
}

bool PageGivesChordToGame(int key) {
  if (key == kKeyShift || key == kKeyCtrl) return true;
  for (const CommandInfo& info : kCommands) {
    if (info.Input == CommandInput::kKey && info.Code == key && (info.Modifiers & kWithCtrl) != 0)
      return true;
  }
  return false;
}

bool PageGivesKeyToGame(int key) {
  for (const CommandInfo& info : kCommands) {
    if (info.Input == CommandInput::kKey && info.Code == key) return true;
  }
  return false;
}

bool IsPourKey(int key) {
  return key == CodeOf(Command::kPour);
}

std::vector<HelpLine> HelpLinesOf(CommandMode mode) {
  std::vector<HelpLine> lines;
  bool joinable = false;  // the last line's neighbour may share it
  for (const CommandInfo& info : kCommands) {
    if (info.Mode != mode) {
      joinable = false;
      continue;
    }
    if (joinable && lines.back().Help == info.Help) {
      lines.back().Key += std::string("/") + info.Key;
    } else {
      lines.push_back({info.Key, info.Help});
    }
    joinable = true;
  }
  return lines;
}
