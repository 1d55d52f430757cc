// A level opened in a running game: read whole before anything changes, then put in place as
// the play state is entered at start-up with a level file.
#include "frame/level_open.h"

#include "editor/build_mode.h"
#include "editor/undo_history.h"
#include "frame/game.h"
#include "frame/kept_edits.h"
#include "frame/level_start.h"
#include "frame/main_program.h"
#include "frame/overlay_messages.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "shared/game_events.h"
#include "world/current_level.h"
#include "world/recovery_level.h"
#include "world/scroller.h"

namespace {

// The test map's wall style, which its ring of walls is built of.
constexpr uint8_t kRingStyle = 23;

void Say(const std::string& text) {
  TOverlayMessages::FAdd(text, static_cast<uint32_t>(ClockMillis()));
}

// The actors made anew at the level's starts, the map the level, the views worked out anew.
// `untitled`: a new level no save has named yet.
void PlayLevel(const std::string& path, const TLevel& level, bool untitled) {
  KeepEditsOnQuit();
  TUndoHistory::FBeginWholeMapStep(UndoneStep::kOpenLevel);
  LevelStarts = level.Starts;
  TGame::FEnterState();
  UseLevel(path, level);
  CurrentLevel.Untitled = untitled;
  TUndoHistory::FEndWholeMapStep();
  TScroller::FRefreshFromMap();
  TBuild::FLevelReplaced();
  // The map is what its file holds; Ctrl+Z brings the last level back, its file and all, as an
  // unsaved edit.
  TUndoHistory::FMarkSaved();
  // Edits of this level file kept by an earlier run (or before it was left) are offered as at
  // start-up; a new level starts afresh.
  if (!untitled && RecoveryLevelIsNewer()) TGameEvents::FReport(GameEvent::kRecoveryOffered);
}

}  // namespace

TLevel EmptyLevel() {
  TLevel level;
  level.Name.clear();
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      if (x == 0 || y == 0 || x == MAP_WIDTH_TILES - 1 || y == MAP_HEIGHT_TILES - 1)
        level.Blocks[static_cast<size_t>(y) * MAP_WIDTH_TILES + x] = kRingStyle;
  return level;
}

bool OpenLevelFile(const std::string& path) {
  TLevel level;
  std::string why;
  if (!ReadLevelWithLines(path, level, &why)) {
    Say("Level NOT opened: " + why);
    return false;
  }
  PlayLevel(path, level, false);
  Say("Level " + level.Name + " opened from " + path + ": Ctrl+Z takes it back");
  return true;
}

void OpenEmptyLevel() {
  PrintLine("New empty level.");
  PlayLevel("", EmptyLevel(), true);
  Say("New empty level: S or Ctrl+S saves it in levels/");
}
