// Game events to effects: the table of which event plays which recipe, how loud a landing is,
// and the hearing of a position through the two views.
#include "frame/game_sounds.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/sound/recipe_file.h"
#include "shared/units.h"
#include "world/current_level.h"
#include "world/scroller.h"

namespace {

struct EventSound {
  GameEvent Kind;
  const char* Name;
  bool Placed;  // heard where it happens; otherwise straight ahead (the editor's keys)
};

// Events not listed play nothing.
constexpr EventSound kEventSounds[] = {
    {GameEvent::kJump, "jump", true},
    {GameEvent::kWallJump, "wall_jump", true},
    {GameEvent::kLanding, "land", true},
    {GameEvent::kHeadBump, "head_bump", true},
    {GameEvent::kEnteredWater, "splash", true},
    {GameEvent::kBrickCracked, "brick_crack", true},
    {GameEvent::kBrickBroken, "brick_break", true},
    {GameEvent::kContainerOpened, "container_open", true},
    {GameEvent::kBadguyReleased, "badguy_out", true},
    {GameEvent::kWaterPoured, "pour", true},
    {GameEvent::kBlockPainted, "paint", true},
    {GameEvent::kBlockErased, "erase", true},
    {GameEvent::kSaveDone, "save", false},
    {GameEvent::kSaveFailed, "save_failed", false},
    {GameEvent::kLevelSaved, "save", false},
    {GameEvent::kLevelNotSaved, "save_failed", false},
    {GameEvent::kUndo, "undo", false},
    {GameEvent::kRedo, "redo", false},
    {GameEvent::kLoadDone, "load", false},
    {GameEvent::kRefreshed, "refresh", false},
    {GameEvent::kRestarted, "restart", false},
    {GameEvent::kWorldHeld, "hold", false},
    {GameEvent::kFreeCamera, "free_camera", false},
    {GameEvent::kWaterFlowed, "water_flow", true},
    {GameEvent::kBoulderFell, "boulder_fall", true},
    {GameEvent::kBoulderLanded, "boulder_land", true},
    {GameEvent::kLevelListShown, "level_list", false},
    {GameEvent::kBuildToolUsed, "build_tool", true},
    {GameEvent::kBuildModeSwitched, "build_mode", false},
    {GameEvent::kPaused, "pause", false},
    {GameEvent::kPadConnected, "pad_in", false},
    {GameEvent::kPadGone, "pad_out", false},
    {GameEvent::kRecoveryOffered, "recovery", false},
    {GameEvent::kRecoveryLoaded, "load", false},
    {GameEvent::kLoadFailed, "save_failed", false},
    {GameEvent::kNothingToUndo, "nothing", false},
    {GameEvent::kNothingToRedo, "nothing", false},
    {GameEvent::kPanelShown, "panel", false},
};

// Played by no event of its own: the pause's end, where the pause takes real time.
constexpr const char* kResumeSound = "resume";
// What is queued before a pause: the pause cue whole, with room for its variation.
constexpr uint32_t kPauseCueFrames = kSoundRate / 4;

constexpr const char* kRecipeExtension = ".sfx";

// The right view is across the window: it is heard, but behind the left one.
constexpr float kRightViewGain = 0.35f;
// Just off the left view's edges (half a view) a sound is faint rather than gone, so a brick
// breaking off screen is not lost entirely.
constexpr float kNearbyGain = 0.12f;
// The sides are not hard left and right: a sound at the view's edge still reaches both ears.
constexpr float kPanWidth = 0.8f;

// Landings by falling speed (units per frame): stepping down a pixel is not heard, a fall from
// a full jump is at full gain.
constexpr int32_t kQuietestLanding = 90000;
constexpr int32_t kLoudestLanding = 250000;

// Flowing water by how many cells moved: a trickle is faint, a few dozen cells at full gain.
constexpr float kFullFlowCells = 48.0f;
constexpr float kFaintestFlow = 0.2f;

// A switch turned off sounds its recipe lower than turned on.
constexpr float kSwitchedOffPitch = 0.8f;

// A bad guy is heard under the player: softer, a little lower, and fading with its distance
// from the middle of the left view (half as loud at half a view's width away).
constexpr float kBadguyGain = 0.3f;
constexpr float kBadguyPitch = 0.84f;

GameSounds* Active = nullptr;

bool Inside(int64_t x, int64_t y, const ViewCorner& view, int64_t margin_x, int64_t margin_y) {
  return x >= view.X - margin_x && x < view.X + SCREEN_WIDTH_UNITS + margin_x &&
         y >= view.Y - margin_y && y < view.Y + SCREEN_HEIGHT_UNITS + margin_y;
}

float LandingGain(int32_t speed) {
  if (speed < kQuietestLanding) return 0;
  const float share = static_cast<float>(speed - kQuietestLanding) /
                      static_cast<float>(kLoudestLanding - kQuietestLanding);
  return std::clamp(0.3f + 0.7f * share, 0.3f, 1.0f);
}

float FlowGain(int32_t cells) {
  if (cells <= 0) return 0;
  return std::clamp(std::sqrt(static_cast<float>(cells) / kFullFlowCells), kFaintestFlow, 1.0f);
}

bool IsSwitch(GameEvent kind) {
  return kind == GameEvent::kWorldHeld || kind == GameEvent::kFreeCamera ||
         kind == GameEvent::kBuildModeSwitched || kind == GameEvent::kPanelShown;
}

float BadguyFalloff(int64_t x, int64_t y, const ViewCorner* left) {
  if (!left) return 0.5f;
  const double dx = static_cast<double>(x - (left->X + SCREEN_WIDTH_UNITS / 2));
  const double dy = static_cast<double>(y - (left->Y + SCREEN_HEIGHT_UNITS / 2));
  const double away = std::sqrt(dx * dx + dy * dy) / SCREEN_WIDTH_UNITS;
  return static_cast<float>(1.0 / (1.0 + 2.0 * away));
}

SoundPriority PriorityOf(EventActor actor) {
  switch (actor) {
    case EventActor::kPlayer:
      return SoundPriority::kPlayer;
    case EventActor::kBadguy:
      return SoundPriority::kCrowd;
    case EventActor::kNone:
      break;
  }
  return SoundPriority::kWorld;
}

std::string RecipePath(const std::string& folder, const std::string& file) {
  if (folder.empty()) return file;
  return folder.back() == '/' ? folder + file : folder + "/" + file;
}

// Every recipe read: the events' and the pause's end.
std::vector<const char*> RecipeNames() {
  std::vector<const char*> names;
  for (const EventSound& entry : kEventSounds)
    names.push_back(entry.Name);
  names.push_back(kResumeSound);
  return names;
}

// One line for a folder holding no recipe at all (the art of an older build, a bare folder),
// one per recipe otherwise.
void LoadRecipes(SoundMixer& mixer, const std::string& folder) {
  std::vector<std::optional<SoundRecipe>> recipes;
  std::vector<std::string> problems;
  bool any_file = false;
  const std::vector<const char*> names = RecipeNames();
  for (const char* name : names) {
    const std::string file = std::string(name) + kRecipeExtension;
    std::string why;
    recipes.push_back(ReadRecipeFile(RecipePath(folder, file), why));
    if (why != "not found") any_file = true;
    // A recipe several events share is said once.
    const std::string problem = "Sound " + file + " " + why + ": it plays silent.";
    if (!recipes.back() && std::find(problems.begin(), problems.end(), problem) == problems.end())
      problems.push_back(problem);
  }
  if (!any_file) {
    PrintNote("No sound recipes (*.sfx) in " + (folder.empty() ? std::string(".") : folder) +
              ": the game plays silent.");
  } else {
    for (const std::string& problem : problems)
      PrintNote(problem);
  }
  for (size_t i = 0; i < recipes.size(); ++i)
    mixer.AddSound(names[i], std::move(recipes[i]));
}

}  // namespace

Hearing HearingAt(int64_t x, int64_t y, const ViewCorner* left, const ViewCorner* right) {
  if (left && Inside(x, y, *left, 0, 0)) {
    const float across = static_cast<float>(x - left->X) / static_cast<float>(SCREEN_WIDTH_UNITS);
    return {1.0f, (across * 2.0f - 1.0f) * kPanWidth};
  }
  if (right && Inside(x, y, *right, 0, 0)) return {kRightViewGain, 0.0f};
  if (left && Inside(x, y, *left, SCREEN_WIDTH_UNITS / 2, SCREEN_HEIGHT_UNITS / 2)) {
    return {kNearbyGain, x < left->X ? -kPanWidth : kPanWidth};
  }
  return {};
}

Hearing EventHearing(const GameEventRecord& event, const ViewCorner* left,
                     const ViewCorner* right) {
  const auto entry = std::find_if(std::begin(kEventSounds), std::end(kEventSounds),
                                  [&event](const EventSound& e) { return e.Kind == event.Kind; });
  if (entry == std::end(kEventSounds)) return {};
  Hearing hearing{1.0f, 0.0f};
  if (entry->Placed) hearing = HearingAt(event.X, event.Y, left, right);
  if (event.Kind == GameEvent::kLanding) hearing.Gain *= LandingGain(event.Value);
  if (event.Kind == GameEvent::kWaterFlowed) hearing.Gain *= FlowGain(event.Value);
  if (IsSwitch(event.Kind) && event.Value == 0) hearing.Pitch = kSwitchedOffPitch;
  if (event.Actor == EventActor::kBadguy) {
    hearing.Gain *= kBadguyGain * BadguyFalloff(event.X, event.Y, left);
    hearing.Pitch = kBadguyPitch;
  }
  return hearing;
}

std::vector<std::string> GameSounds::RecipeFiles() {
  std::vector<std::string> files;
  for (const char* name : RecipeNames())
    files.push_back(std::string(name) + kRecipeExtension);
  return files;
}

GameSounds::GameSounds(const SoundSettings& settings, Output output)
    : Out(std::move(output)),
      Folder(settings.Folder),
      Music(std::clamp(settings.Music, 0, 100)),
      Self(std::make_shared<GameSounds*>(this)) {
  LoadRecipes(Mix, settings.Folder);
  ResumeSound = static_cast<int>(std::size(kEventSounds));
  SoundOf.assign(256, -1);
  for (size_t i = 0; i < std::size(kEventSounds); ++i)
    SoundOf[static_cast<size_t>(kEventSounds[i].Kind)] = static_cast<int>(i);
  Mix.SetVolume(settings.Volume);
  Mix.SetMuted(settings.Muted);
  // The channel keeps its listeners; this one goes quiet once the sound is gone.
  std::weak_ptr<GameSounds*> self = Self;
  TGameEvents::FListen([self](std::span<const GameEventRecord> events) {
    if (const auto alive = self.lock(); alive && *alive) (*alive)->HearPass(events);
  });
  Active = this;
  PlayTune("");
}

GameSounds::~GameSounds() {
  *Self = nullptr;
  if (Active == this) Active = nullptr;
}

void GameSounds::Hear(const GameEventRecord& event, const ViewCorner* left,
                      const ViewCorner* right) {
  const int sound = SoundOf[static_cast<size_t>(event.Kind)];
  if (sound < 0) return;
  const Hearing hearing = EventHearing(event, left, right);
  if (hearing.Gain > 0)
    Mix.Play(sound, hearing.Gain, hearing.Pan, PriorityOf(event.Actor), hearing.Pitch);
}

ViewsNow::ViewsNow() {
  const ViewCorner** views[2] = {&Left, &Right};
  for (int i = 0; i < 2; ++i) {
    if (!Scrollers[i]) continue;
    Corners[i] = {Scrollers[i]->CameraCornerX, Scrollers[i]->CameraCornerY};
    *views[i] = &Corners[i];
  }
}

void GameSounds::HearPass(std::span<const GameEventRecord> events) {
  const ViewsNow views;
  for (const GameEventRecord& event : events.subspan(std::min(HeardEarly, events.size()))) {
    Hear(event, views.Left, views.Right);
    // Undoing or redoing an open brings the other level back, and its tune with it.
    if ((event.Kind == GameEvent::kUndo || event.Kind == GameEvent::kRedo) &&
        event.Value == static_cast<int32_t>(UndoneStep::kOpenLevel)) {
      PlayTune(CurrentLevel.Music);
    }
  }
  HeardEarly = 0;
  if (Resuming) Mix.Play(ResumeSound, 1.0f, 0.0f);
  Resuming = false;
  if (Out) Out(Mix);
}

void GameSounds::SetPauseOutput(PauseOutput output) {
  PauseOut = std::move(output);
}

// The pass's events so far (its jumps, the pause itself) are heard as the pause begins rather
// than after it, and the cue is queued whole before the sound fades out for the pause.
void GameSounds::BeforePause(std::span<const GameEventRecord> events) {
  if (!PauseOut) return;
  const ViewsNow views;
  for (const GameEventRecord& event : events.subspan(std::min(HeardEarly, events.size())))
    Hear(event, views.Left, views.Right);
  HeardEarly = events.size();
  PauseOut(Mix, kPauseCueFrames);
  Resuming = true;
}

void GameSounds::ToggleMute() {
  Mix.SetMuted(!Mix.IsMuted());
}

void SoundBeforePause() {
  if (Active) Active->BeforePause(TGameEvents::FPending());
}

void PlayLevelTune(const std::string& name) {
  if (Active) Active->PlayTune(name);
}

void SoundKeysPass() {
  if (!Active || CommandPresses(Command::kMute) == 0) return;
  Active->ToggleMute();
  TGameEvents::FReport(GameEvent::kMuted, 0, 0, Active->Mixer().IsMuted() ? 1 : 0);
}
