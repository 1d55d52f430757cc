// The overlay's messages: the words for each event, and the few lines on show with their fade.
#include "frame/overlay_messages.h"

#include <algorithm>
#include <cstdio>
#include <deque>

#include "platform/render/font.h"
#include "shared/play_files.h"
#include "world/current_level.h"

namespace {

struct Line {
  std::string Text;
  uint32_t Start;
  uint32_t Shown;
};

std::deque<Line>& Lines() {
  static std::deque<Line> lines;
  return lines;
}

constexpr int kTop = 4;
constexpr int kLineStep = kGlyphHeight + 2;

std::string SaveFailureWords(int32_t value) {
  switch (static_cast<SaveFailure>(value)) {
    case SaveFailure::kReadOnlyFile:
      return "a map file is read-only";
    case SaveFailure::kFolderNotWritable:
      return "the folder cannot be written to";
    case SaveFailure::kDiskFull:
      return "the disk is full";
    case SaveFailure::kBackupsUnusable:
      return "backups/ cannot be used";
    default:
      return "the files could not be written";
  }
}

std::string LoadFailureWords(int32_t value) {
  switch (static_cast<LoadFailure>(value)) {
    case LoadFailure::kRecoveryPair:
      return "Recovered edits NOT loaded: the pair in recovery/ is damaged or incomplete";
    case LoadFailure::kNoRecoveryPair:
      return "No recovered edits to load: recovery/ holds none";
    case LoadFailure::kRecoveryLevel:
      return "Recovered edits NOT loaded: the level kept in recovery/ was refused";
    case LoadFailure::kNoRecoveryLevel:
      return "No recovered edits to load: recovery/ holds none of this level";
    case LoadFailure::kBGFileWrongSize:
      return std::string("Map NOT loaded: ") + kBGMapFile + " is of the wrong size; S keeps it";
    case LoadFailure::kBlockFileWrongSize:
      return std::string("Map NOT loaded: ") + kBlockMapFile + " is of the wrong size; S keeps it";
    case LoadFailure::kBGFileUnreadable:
      return std::string("Map NOT loaded: ") + kBGMapFile + " cannot be read";
    case LoadFailure::kBlockFileUnreadable:
      return std::string("Map NOT loaded: ") + kBlockMapFile + " cannot be read";
    default:
      return "Map NOT loaded: a map file is missing or damaged";
  }
}

std::string StepWords(int32_t value) {
  switch (static_cast<UndoneStep>(value)) {
    case UndoneStep::kLoad:
      return "a load";
    case UndoneStep::kRestart:
      return "a restart";
    case UndoneStep::kBuildTool:
      return "a build tool's change";
    case UndoneStep::kOpenLevel:
      return "opening a level";
    default:
      return "a stroke";
  }
}

std::string BuildWords(int32_t value) {
  switch (static_cast<BuildNote>(value)) {
    case BuildNote::kBuilding:
      return "Building: the level holds still; Enter plays it";
    case BuildNote::kPlaying:
      return "Playing the level as built: Enter builds again";
    case BuildNote::kNeedsBuildMode:
      return "Build tools work in build mode: press Enter";
    case BuildNote::kStartsFull:
      return "No more bad guys' starts: the actor cap is reached";
    case BuildNote::kPlayerStartStays:
      return "The player's start cannot be removed, only moved";
    case BuildNote::kLastBadguyStays:
      return "One bad guy's start stays: the right view follows it";
    case BuildNote::kStartNeedsRoom:
      return "A start needs an empty cell inside the border";
    case BuildNote::kNothingSelected:
      return "Nothing selected: drag a rectangle with tool 6";
    case BuildNote::kNothingCopied:
      return "Nothing to paste: copy a selection with Ctrl+C";
    case BuildNote::kHeldWhileBuilding:
      return "Build mode holds the world: Enter plays the level";
    case BuildNote::kRestartedPlay:
      return "Restarted the level as built";
    case BuildNote::kCopied:
      return "Copied: Ctrl+V pastes";
    default:
      return "Build mode";
  }
}

std::string TimeWords(int32_t hhmmss) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", (hhmmss / 10000) % 100, (hhmmss / 100) % 100,
                hhmmss % 100);
  return text;
}

std::string Switched(const char* what, int32_t value) {
  return std::string(what) + (value ? " on" : " off");
}

}  // namespace

std::string MessageFor(const GameEventRecord& event) {
  switch (event.Kind) {
    case GameEvent::kSaveDone:
      return "Map saved at " + TimeWords(event.Value);
    case GameEvent::kSaveFailed:
      return "Map NOT saved: " + SaveFailureWords(event.Value);
    case GameEvent::kLevelSaved:
      return "Level " + CurrentLevel.Name + " saved in " + CurrentLevel.Path + " at " +
             TimeWords(event.Value);
    case GameEvent::kLevelNotSaved:
      return "Level NOT saved: " + SaveFailureWords(event.Value);
    case GameEvent::kPairKeepsNoWater:
      return "The map files keep no water and no starts: Ctrl+S keeps them in a level file";
    case GameEvent::kLoadDone:
      return "Map loaded from the map files";
    case GameEvent::kLoadFailed:
      return LoadFailureWords(event.Value);
    case GameEvent::kRefreshed:
      return "Shading and scroll locks refreshed";
    case GameEvent::kRestarted:
      return "Restarted on the test map: Ctrl+Z brings the level back";
    case GameEvent::kUndo:
      return "Undone: " + StepWords(event.Value);
    case GameEvent::kRedo:
      return "Redone: " + StepWords(event.Value);
    case GameEvent::kNothingToUndo:
      return "Nothing to undo";
    case GameEvent::kNothingToRedo:
      return "Nothing to redo";
    case GameEvent::kBuildNote:
      return BuildWords(event.Value);
    case GameEvent::kPaused:
      return "Paused for three seconds";
    case GameEvent::kFreeCamera:
      return Switched("Free camera", event.Value);
    case GameEvent::kWorldHeld:
      return event.Value ? "World held" : "World running again";
    case GameEvent::kPanelShown:
      return Switched("Panel", event.Value);
    case GameEvent::kPadConnected:
      return "Game pad connected";
    case GameEvent::kPadGone:
      return "Game pad gone";
    case GameEvent::kRecoveryOffered:
      return "Unsaved edits from the last run are in recovery/: Ctrl+L loads them";
    case GameEvent::kRecoveryLoaded:
      return "Recovered edits loaded: Ctrl+Z takes them back";
    case GameEvent::kMuted:
      return event.Value ? "Sound muted: M brings it back" : "Sound on";
    default:
      return {};
  }
}

void TOverlayMessages::FReset() {
  Lines().clear();
}

void TOverlayMessages::FAdd(const std::string& text, uint32_t now, uint32_t shown) {
  std::deque<Line>& lines = Lines();
  lines.push_front({text, now, shown});
  while (lines.size() > kMostShown)
    lines.pop_back();
}

void TOverlayMessages::FHear(std::span<const GameEventRecord> events, uint32_t now) {
  for (const GameEventRecord& event : events) {
    // Once the recovered edits are in, the offer of them is old news.
    if (event.Kind == GameEvent::kRecoveryLoaded) {
      const std::string offer = MessageFor({GameEvent::kRecoveryOffered, 0, 0, 0});
      std::erase_if(Lines(), [&](const Line& line) { return line.Text == offer; });
    }
    const std::string text = MessageFor(event);
    if (text.empty()) continue;
    FAdd(text, now, event.Kind == GameEvent::kRecoveryOffered ? kPromptMillis : kShownMillis);
  }
}

std::vector<TOverlayMessages::Shown> TOverlayMessages::FVisible(uint32_t now) {
  std::vector<Shown> visible;
  for (const Line& line : Lines()) {
    // Unsigned: a clock that wrapped still gives the right age.
    const uint32_t age = now - line.Start;
    if (age >= line.Shown + kFadeMillis) continue;
    uint32_t alpha = 255;
    if (age > line.Shown) alpha = 255 * (line.Shown + kFadeMillis - age) / kFadeMillis;
    visible.push_back({line.Text, static_cast<uint8_t>(alpha)});
  }
  return visible;
}

void TOverlayMessages::FLayOut(OverlayScene& scene, uint32_t now, int picture_width) {
  int y = kTop;
  for (const Shown& line : FVisible(now)) {
    const int width = static_cast<int>(line.Text.size()) * kGlyphWidth;
    OverlayText text;
    text.X = std::max(2, (picture_width - width) / 2);
    text.Y = y;
    text.Text = line.Text;
    text.Alpha = line.Alpha;
    scene.Texts.push_back(std::move(text));
    y += kLineStep;
  }
}
