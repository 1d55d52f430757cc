// Every kind of event the game reports, sent through the event channel one at a time in the
// middle of the left view: each sounds, but the few that are heard as something else. And the
// desktop's pause: its cue queued before the 3 s, the pass's sounds heard once, the end's cue
// after. A recipe several events share, missing, is one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

#include "frame/game_sounds.h"
#include "shared/units.h"
#include "support/test_env.h"
#include "world/scroller.h"

namespace {

const std::string kSounds = std::string(RAVELON_SOURCE_DIR) + "/assets/sounds";
constexpr int64_t kMiddleX = SCREEN_WIDTH_UNITS / 2, kMiddleY = SCREEN_HEIGHT_UNITS / 2;

// Heard as something else: M as the sound going or coming back, build mode's notes with the
// switch or the tool they are about, the map files' note with the save it follows.
const std::set<GameEvent> kSilentByDesign = {GameEvent::kMuted, GameEvent::kBuildNote,
                                             GameEvent::kPairKeepsNoWater};

// What makes each kind heard at its loudest: a hard landing, a big flow, a switch turned on.
int32_t ValueFor(GameEvent kind) {
  switch (kind) {
    case GameEvent::kLanding:
      return 260000;
    case GameEvent::kWaterFlowed:
      return 48;
    default:
      return 1;
  }
}

class EventSoundsTest : public testing::Test {
 protected:
  void SetUp() override {
    Scrollers[0] = std::make_shared<TScroller>();
    Scrollers[0]->CameraCornerX = 0;
    Scrollers[0]->CameraCornerY = 0;
    TGameEvents::FClear();
  }
  void TearDown() override {
    Scrollers[0].reset();
    TGameEvents::FForgetListeners();
    TGameEvents::FClear();
  }

  static int Peak(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (const int16_t s : samples)
      peak = std::max(peak, std::abs(int{s}));
    return peak;
  }
};

TEST_F(EventSoundsTest, EveryKindOfEventSoundsButThoseHeardAsSomethingElse) {
  SoundSettings settings;
  settings.Folder = kSounds;
  for (int k = 0; k <= static_cast<int>(GameEvent::kPairKeepsNoWater); ++k) {
    const auto kind = static_cast<GameEvent>(k);
    SCOPED_TRACE("event kind " + std::to_string(k));
    std::vector<int16_t> heard;
    {
      GameSounds sounds(settings, [&heard](SoundMixer& mixer) {
        const size_t at = heard.size();
        heard.resize(at + 2 * kSoundFramesPerPass);
        mixer.Mix(heard.data() + at, kSoundFramesPerPass);
      });
      TGameEvents::FReport(kind, kMiddleX, kMiddleY, ValueFor(kind), EventActor::kPlayer);
      for (int pass = 0; pass < 30; ++pass)
        TGameEvents::FDeliver();
    }
    TGameEvents::FForgetListeners();
    if (kSilentByDesign.count(kind)) {
      EXPECT_EQ(Peak(heard), 0);
    } else {
      EXPECT_GT(Peak(heard), 1000) << "no sound for it";
    }
  }
}

TEST_F(EventSoundsTest, APauseQueuesItsCueBeforeHandHearsThePassOnceAndEndsWithAnotherCue) {
  SoundSettings settings;
  settings.Folder = kSounds;
  int voices_before_pass = -1, voices_at_pass = -1, outputs = 0;
  std::vector<int16_t> ahead;
  GameSounds sounds(settings, [&](SoundMixer& mixer) {
    ++outputs;
    voices_at_pass = mixer.PlayingVoices();
  });
  sounds.SetPauseOutput([&](SoundMixer& mixer, uint32_t frames) {
    EXPECT_EQ(mixer.PlayingVoices(), 2) << "the jump and the pause's cue";
    ahead.resize(size_t{frames} * 2);
    mixer.Mix(ahead.data(), static_cast<int>(frames));
    voices_before_pass = mixer.PlayingVoices();
  });
  TGameEvents::FReport(GameEvent::kJump, kMiddleX, kMiddleY, 0, EventActor::kPlayer);
  TGameEvents::FReport(GameEvent::kPaused, 0, 0, 3000);
  SoundBeforePause();
  ASSERT_GE(ahead.size(), 2u * kSoundRate / 5) << "the cue is queued whole";
  EXPECT_GT(Peak(ahead), 1000);
  EXPECT_EQ(outputs, 0) << "the pass is not over yet";
  TGameEvents::FReport(GameEvent::kMuted, 0, 0, 0);  // after the pause, in the same pass
  TGameEvents::FDeliver();
  EXPECT_EQ(outputs, 1);
  EXPECT_EQ(voices_at_pass, voices_before_pass + 1) << "only the end's cue starts: the pass's "
                                                       "events were heard before the pause";
  TGameEvents::FDeliver();
  EXPECT_EQ(voices_at_pass, voices_before_pass + 1) << "and the end's cue only once";
}

TEST_F(EventSoundsTest, ARecipeSeveralEventsShareIsOneLineWhenMissingOrBroken) {
  ScopedWorkDir dir;
  std::filesystem::copy(kSounds, dir.Path());
  std::filesystem::remove(std::filesystem::path(dir.Path()) / "save.sfx");
  std::ofstream(std::filesystem::path(dir.Path()) / "load.sfx") << "wave square\n";
  SoundSettings settings;
  settings.Folder = dir.Path();
  testing::internal::CaptureStderr();
  { GameSounds sounds(settings, nullptr); }
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
  EXPECT_NE(lines.find("save.sfx not found"), std::string::npos) << lines;
  EXPECT_NE(lines.find("load.sfx"), std::string::npos) << lines;
}

}  // namespace
