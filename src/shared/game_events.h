// What happened during a pass, told to those who only listen: the sound and the on-screen
// messages. The places where the game already decides a thing (a jump, a broken brick, a save)
// report it here with its world position; reporting changes nothing in the game, allocates
// nothing and draws no random number, so a game with listeners plays exactly as one without.
//
// The main loop hands the pass's events to every listener once the pass is over, then forgets
// them. Events reported before the first pass (start-up) go with the first pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// New kinds are added at the end of their group; listeners switch on the kind and ignore the
// ones they do not know.
enum class GameEvent : uint8_t {
  // Actors. X, Y: the actor's position in world units; the record says which actor it was.
  kJump,
  kWallJump,
  kLanding,  // Value: the falling speed at touch-down, in units per frame
  kHeadBump,
  kEnteredWater,
  // Blocks. X, Y: the block's cell centre in world units.
  kBrickCracked,
  kBrickBroken,
  kContainerOpened,
  kBadguyReleased,
  // The editor. X, Y: the cell centre where there is one.
  kWaterPoured,
  kBlockPainted,
  kBlockErased,
  kSaveDone,    // Value: the local time of the save as HHMMSS
  kSaveFailed,  // Value: a SaveFailure
  kLoadDone,
  kLoadFailed,  // Value: a LoadFailure
  kRefreshed,
  kRestarted,
  kUndo,  // Value: an UndoneStep
  kRedo,  // Value: an UndoneStep
  kNothingToUndo,
  kNothingToRedo,
  kBuildNote,  // Value: a BuildNote
  // The frame and the window. Value: 1 on, 0 off, where a thing is switched.
  kPaused,
  kFreeCamera,
  kWorldHeld,
  kPanelShown,
  kPadConnected,
  kPadGone,
  kRecoveryOffered,
  kRecoveryLoaded,
  kMuted,
  // The world moving by itself. X, Y: where, in world units.
  kWaterFlowed,    // Value: how many cells near the left view moved in the last water step
  kBoulderFell,    // a boulder dropped a cell, with room still under it
  kBoulderLanded,  // a boulder dropped onto something
  // The level list and the build mode. X, Y: the cell centre a tool was used on; Value: the
  // tool, or 1 on and 0 off.
  kLevelListShown,
  kBuildToolUsed,
  kBuildModeSwitched,
  kLevelSaved,        // Value: the local time of the save as HHMMSS
  kLevelNotSaved,     // Value: a SaveFailure
  kPairKeepsNoWater,  // the map files were saved: the water and the starts only a level file keeps
};

// Why a save was refused, in the words a player can act on.
enum class SaveFailure : int32_t {
  kUnknown = 0,
  kReadOnlyFile,
  kFolderNotWritable,
  kDiskFull,
  kBackupsUnusable,
};

// What a refused load was reading: the map files (L) or a pair or a level file's copy in
// recovery/ (Ctrl+L); and, at
// start-up, which map file was there but refused, and why.
enum class LoadFailure : int32_t {
  kMapFiles = 0,
  kRecoveryPair,
  kNoRecoveryPair,
  kBGFileWrongSize,
  kBlockFileWrongSize,
  kBGFileUnreadable,
  kBlockFileUnreadable,
  kRecoveryLevel,    // the level's newest copy in recovery/ was refused
  kNoRecoveryLevel,  // recovery/ holds no copy of the level being played
};

// Which kind of step an undo or redo took back or put again.
enum class UndoneStep : int32_t { kStroke = 0, kLoad, kRestart, kBuildTool, kOpenLevel };

// What build mode tells the player: its switching, and what it refused and why.
enum class BuildNote : int32_t {
  kBuilding = 0,
  kPlaying,
  kNeedsBuildMode,
  kStartsFull,
  kPlayerStartStays,
  kLastBadguyStays,
  kStartNeedsRoom,
  kNothingSelected,
  kNothingCopied,
  kHeldWhileBuilding,
  kRestartedPlay,
  kCopied,
};

// Which actor caused an event: the player's own, a bad guy, or none (blocks, the editor, the
// frame).
enum class EventActor : uint8_t { kNone, kPlayer, kBadguy };

struct GameEventRecord {
  GameEvent Kind;
  int32_t Value;
  int64_t X, Y;
  EventActor Actor = EventActor::kNone;
};

class TGameEvents {
 public:
  // A pass holds at most this many events; later ones in the same pass are dropped (a crowd of
  // bad guys landing together is heard as the first thousand of them).
  static constexpr size_t kCapacity = 1024;

  using Listener = std::function<void(std::span<const GameEventRecord>)>;

  static void FReport(GameEvent kind, int64_t x = 0, int64_t y = 0, int32_t value = 0,
                      EventActor actor = EventActor::kNone) {
    if (Count >= kCapacity) return;
    Records[Count++] = GameEventRecord{kind, value, x, y, actor};
  }

  // Listeners are called in the order they were added; a listener added twice hears twice.
  static void FListen(Listener listener) { Listeners().push_back(std::move(listener)); }
  static void FForgetListeners() { Listeners().clear(); }

  // Called by the main loop at the end of a pass.
  static void FDeliver() {
    const std::span<const GameEventRecord> events(Records, Count);
    for (auto& listener : Listeners())
      listener(events);
    Count = 0;
  }

  static void FClear() { Count = 0; }
  static std::span<const GameEventRecord> FPending() { return {Records, Count}; }

 private:
  static std::vector<Listener>& Listeners() {
    static std::vector<Listener> listeners;
    return listeners;
  }
  static inline GameEventRecord Records[kCapacity];
  static inline size_t Count = 0;
};
