// The game's commands: every key, mouse button and wheel use it answers, each with its code, the
// mode in which it acts, what it does and a line of help. Input code asks for a command by its
// name; the codes themselves are written only here and in commands.cpp. The help overlay, the
// web page's controls list and the README's check are all made from this one table.
#pragma once

#include <span>
#include <string>
#include <vector>

// The key codes the game answers (virtual-key codes 0..255), named for the table and for the
// scripts and tests that press them.
enum KeyCode : int {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyShift = 16,
  kKeyCtrl = 17,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyDelete = 46,
  kKey1 = 49,
  kKey2 = 50,
  kKey3 = 51,
  kKey4 = 52,
  kKey5 = 53,
  kKey6 = 54,
  kKey7 = 55,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyB = 66,
  kKeyC = 67,
  kKeyE = 69,
  kKeyF = 70,
  kKeyG = 71,
  kKeyH = 72,
  kKeyL = 76,
  kKeyM = 77,
  kKeyN = 78,
  kKeyO = 79,
  kKeyP = 80,
  kKeyR = 82,
  kKeyS = 83,
  kKeyT = 84,
  kKeyV = 86,
  kKeyW = 87,
  kKeyX = 88,
  kKeyY = 89,
  kKeyZ = 90,
  kKeyF1 = 112,
  kKeyF9 = 120,
  kKeyF11 = 122,
};

enum class Command {
  // Playing.
  kRunLeft,
  kRunRight,
  kClimbUp,
  kDuck,
  kJump,
  kAButton,
  kPause,
  kRestart,
  kQuit,
  // The mouse in the left view.
  kPaint,
  kErase,
  kEyedropper,
  kPour,
  // Over the picker.
  kShowPicker,
  kPickWithLeft,
  kPickWithRight,
  // The map's files and history, at any time.
  kSave,
  kLoad,
  kLoadRecovery,
  kSaveNewLevel,
  kRefresh,
  kUndo,
  kRedo,
  kRedoShifted,
  kOpenLevelList,
  // The level list.
  kListUp,
  kListDown,
  kListWheel,
  kListOpen,
  kListClick,
  kListClose,
  // The building switches.
  kFreeCamera,
  kHoldWorld,
  kPlayFromPointer,
  kPanel,
  kMute,
  kBuildMode,
  // The free camera.
  kScrollLeft,
  kScrollRight,
  kScrollUp,
  kScrollDown,
  kScrollFaster,
  kWheelScroll,
  kOverviewSteer,
  // Build mode.
  kToolBrush,
  kToolLine,
  kToolRectangle,
  kToolFilledRectangle,
  kToolFill,
  kToolSelect,
  kToolStarts,
  kBuildDraw,
  kBuildErase,
  kMovePlayerStart,
  kHideBackgrounds,
  kHideBlocks,
  kHideWater,
  kHideStarts,
  kWaterLayer,
  kGrid,
  kCopy,
  kCut,
  kPaste,
  kClearSelection,
  kDropStamp,
  // The help.
  kHelp,
  kHideHelp,
  // The window's own.
  kFullScreen,
  kFitPicture,
};

// What a command is read from.
enum class CommandInput {
  kKey,             // a key, KeyHitCount / KeyIsDown of its code
  kMouseButton,     // a mouse button, numbered as MouseButtonDown numbers them
  kAnyMouseButton,  // any of the three mouse buttons
  kWheel,           // the wheel's steps
  kPointer,         // where the pointer stands: no button, no code
  kWindowKey,       // taken by the window (or the page) before the game sees it
};

// Keys that must be held with a command's key (any moment of the pass counts).
enum CommandModifier : int {
  kNoModifier = 0,
  kWithCtrl = 1,
  kWithShift = 2,
};

// Where a command acts. While the help or the level list is shown only its commands act.
enum class CommandMode {
  kPlay,        // the game running (the arrows only while the free camera is off)
  kLeftView,    // the pointer in the left view
  kPicker,      // the pointer over the right view, where the picker shows
  kAnyTime,     // the map's files and history, whatever else goes on
  kLevelList,   // while the level list is shown (Ctrl+O opens it)
  kSwitches,    // the building switches, at any time
  kFreeCamera,  // while the free camera is on
  kBuild,       // in build mode (Enter)
  kHelp,        // while the help is shown (F1 also opens it)
  kWindow,      // the window's or the page's, never the game's
};
constexpr int kCommandModeCount = 10;

struct CommandInfo {
  Command Name;
  CommandInput Input;
  int Code;       // key code, mouse button, or 0
  int Modifiers;  // CommandModifier bits
  CommandMode Mode;
  const char* Key;     // as the help names the input: "Ctrl+Z", "Left button"
  const char* Does;    // what it does in the game, for a reader of the code
  const char* Help;    // the help's line, short enough for a column of the help overlay
  const char* Readme;  // the README controls row that documents it, by its key column
};

// Every command, grouped by mode in the help's order.
std::span<const CommandInfo> AllCommands();
const CommandInfo& CommandOf(Command name);
// The command's key code or mouse button (0 for those read from neither).
int CodeOf(Command name);
// The mode's heading in the help.
const char* ModeHeading(CommandMode mode);

// Questions for the input code, by the command's name.
// Presses of the command's key or button since it was last asked (KeyHitCount); modifiers are
// not looked at, so commands sharing a key (Z for undo and Ctrl+Shift+Z) share its presses.
int CommandPresses(Command name);
// The command's key or button is down (KeyIsDown, MouseButtonDown).
bool CommandHeld(Command name);
// Every modifier of the command was down at some moment of the pass (KeyHeldDuringPass).
bool ModifiersHeldDuringPass(Command name);
// Reads and forgets the presses of every key and button in the table: a pass the help takes
// leaves none of them for a later pass.
void ForgetCommandPresses();
// The browser lets the game have these keys even with Ctrl, Alt or Meta down: every key the
// table reads with Ctrl (undo, redo, the recovered edits' Ctrl+L, ...), and Shift and Ctrl.
bool PageGivesChordToGame(int key);
// The browser's own use of a key without Ctrl, Alt or Meta (scrolling, its function keys) is kept
// from it only for the keys the table reads; the game still hears every key.
bool PageGivesKeyToGame(int key);
// The page's key that is the pour's, whose holding the page follows for its focus note.
bool IsPourKey(int key);

// The help's text lines for one mode, each the keys of the command (or of neighbours that share
// the same help, joined by "/") and its help.
struct HelpLine {
  std::string Key;
  std::string Help;
};
std::vector<HelpLine> HelpLinesOf(CommandMode mode);
