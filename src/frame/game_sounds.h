// The game's sound: which effect each game event plays, and where it is heard. The events of a
// pass start their voices when the pass is over, then the pass's share of samples is mixed and
// handed on (to the audio device, or to a WAV file in the runner). Sound only listens: it
// reads the views' cameras and the events, never the game's random numbers, and changes
// nothing.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/sound/sound_mixer.h"
#include "shared/game_events.h"

// A view's top-left corner in the map, world units.
struct ViewCorner {
  int64_t X = 0, Y = 0;
};

// How an event at a world position is heard: in the left view at full gain, panned by where
// it is across the view; in the right view only, quieter and in the middle; near the left
// view, faint; anywhere else not at all. A missing view hears nothing.
struct Hearing {
  float Gain = 0;
  float Pan = 0;
  float Pitch = 1;
};
Hearing HearingAt(int64_t x, int64_t y, const ViewCorner* left, const ViewCorner* right);

// The gain and pan an event plays at with the views where they are; gain 0 for an event that
// plays nothing (unlisted, unheard, or a landing too soft to hear). A bad guy's sound is
// softer and lower than the player's, and softer still the further it is from the middle of
// the left view.
Hearing EventHearing(const GameEventRecord& event, const ViewCorner* left, const ViewCorner* right);

// The two views' corners where the views stand now; a view not made yet is null.
struct ViewsNow {
  ViewsNow();
  ViewsNow(const ViewsNow&) = delete;
  ViewsNow& operator=(const ViewsNow&) = delete;
  ViewCorner Corners[2];
  const ViewCorner* Left = nullptr;
  const ViewCorner* Right = nullptr;
};

struct SoundSettings {
  int Volume = 100;    // 0..100
  bool Muted = false;  // M turns it back on
  int Music = 0;       // the tune's level under the effects, 0..100; 0: no tune at all
  std::string Folder;  // where the recipes and the tunes are; empty: the working directory
};

// The tune played where a level names none (meadow.tune).
constexpr const char* kDefaultTune = "meadow";

class GameSounds {
 public:
  // Called once per pass with the mixer, after the pass's events have started their voices.
  using Output = std::function<void(SoundMixer&)>;

  // Reads every recipe (a bad one: one line on standard error, that sound silent) and listens
  // to the game's events until destroyed.
  GameSounds(const SoundSettings& settings, Output output);
  ~GameSounds();
  GameSounds(const GameSounds&) = delete;
  GameSounds& operator=(const GameSounds&) = delete;

  void HearPass(std::span<const GameEventRecord> events);

  // Where a pause takes real time (the desktop's 3 s), what is to be heard before it begins:
  // the mixer and how many frames to queue ahead. Without one, a pause is heard as its event.
  using PauseOutput = std::function<void(SoundMixer&, uint32_t frames)>;
  void SetPauseOutput(PauseOutput output);
  // Just before the pause: the pass's events so far are heard now (the pause's cue among
  // them), and the pass that follows the pause starts with the cue of its end.
  void BeforePause(std::span<const GameEventRecord> events);
  void ToggleMute();
  // Plays the tune NAME.tune (empty: the default one) from its start, unless it is the one
  // playing already. A missing or broken tune: one line on standard error and no music; a
  // part whose recipe is missing or broken: one line and that part silent. Nothing at all
  // with the music at 0.
  void PlayTune(const std::string& name);
  const std::string& TuneName() const { return Tune; }
  SoundMixer& Mixer() { return Mix; }

  // The recipe files' names, by sound (without the folder).
  static std::vector<std::string> RecipeFiles();

 private:
  void Hear(const GameEventRecord& event, const ViewCorner* left, const ViewCorner* right);

  SoundMixer Mix;
  Output Out;
  PauseOutput PauseOut;
  size_t HeardEarly = 0;  // the pending events heard before the pause
  bool Resuming = false;
  int ResumeSound = -1;
  std::string Folder;
  int Music = 0;
  std::string Tune;          // the tune asked for last; empty before the first
  std::vector<int> SoundOf;  // by GameEvent; -1 where the event plays nothing
  std::shared_ptr<GameSounds*> Self;
};

// For the level loader: the level's tune by the name its file gives (empty: the default tune),
// through the sound in use. Without sound, or with the music at 0, nothing.
void PlayLevelTune(const std::string& name);

// Called by the main loop just before it pauses, with the pause's event reported.
void SoundBeforePause();

// Called by the main loop before the pass's events go out: M mutes or unmutes the sound in
// use and says so (kMuted). Without sound, nothing.
void SoundKeysPass();
