// An audio device that goes away while the tune plays and comes back: a line each time, the
// passes in between silent and never stopped, and the sound back where the game's time says,
// faded in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "platform/sound/audio_output.h"
#include "platform/sound/recipe_file.h"
#include "platform/sound/score_file.h"

namespace {

const std::string kAssets = std::string(RAVELON_SOURCE_DIR) + "/assets/";
constexpr uint32_t kTarget = kSoundFramesPerPass + 512;

// A device with a queue it plays from when told; it can be unplugged, and refuse to open.
class FakeDevice : public AudioDevice {
 public:
  bool Open(uint32_t& buffer_frames, std::string& why) override {
    ++Opens;
    if (Refuses) {
      why = "busy";
      return false;
    }
    buffer_frames = 512;
    IsOpen = true;
    Unplugged = false;
    Queue.clear();
    return true;
  }
  void Close() override {
    IsOpen = false;
    Queue.clear();
  }
  bool Gone() override { return Unplugged; }
  void Requeue(const Refill& refill) override {
    EXPECT_TRUE(IsOpen) << "queued to a closed device";
    const std::vector<int16_t>& next = refill(static_cast<uint32_t>(Queue.size() / 2));
    Queue.assign(next.begin(), next.end());
    ++Requeues;
  }
  // The speaker takes `frames`; silence once the queue is empty or the device is gone.
  void Play(size_t frames) {
    for (size_t i = 0; i < 2 * frames; ++i) {
      const bool sounding = IsOpen && !Unplugged && !Queue.empty();
      Heard.push_back(sounding ? Queue.front() : int16_t{0});
      if (sounding) Queue.pop_front();
    }
  }

  bool IsOpen = false, Unplugged = false, Refuses = false;
  int Opens = 0, Requeues = 0;
  std::deque<int16_t> Queue;
  std::vector<int16_t> Heard;
};

SoundMixer MixerWithTune() {
  SoundMixer mixer;
  std::string why;
  const std::optional<MusicScore> score = ReadScoreFile(kAssets + "music/meadow.tune", why);
  EXPECT_TRUE(score) << why;
  std::vector<std::optional<SoundRecipe>> recipes;
  for (const ScorePart& part : score->Parts)
    recipes.push_back(ReadRecipeFile(kAssets + "sounds/" + part.Recipe + ".sfx", why));
  mixer.Tune().SetLevel(0.7f);
  mixer.Tune().Start(*score, std::move(recipes));
  return mixer;
}

int Peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < std::min(to, samples.size()); ++i)
    peak = std::max(peak, std::abs(int{samples[i]}));
  return peak;
}

TEST(AudioOutput, ADeviceThatGoesAndComesBackIsALineEachSilenceBetweenAndTheTuneWhereItStands) {
  FakeDevice device;
  SoundMixer mixer = MixerWithTune();
  AudioOutput output(device, kTarget);
  std::string why;
  ASSERT_TRUE(output.Open(why)) << why;
  auto passes = [&](int count) {
    for (int i = 0; i < count; ++i) {
      device.Play(kSoundFramesPerPass);
      output.Feed(mixer);
    }
  };

  testing::internal::CaptureStderr();
  passes(120);
  output.DeviceAdded();                     // another device while this one plays: nothing changes
  output.FeedAhead(mixer, kSoundRate / 4);  // a pause's cue: queued whole, then as before
  EXPECT_EQ(device.Queue.size() / 2, kSoundRate / 4 + FadingQueue::kTailFrames);
  EXPECT_EQ(output.Latency().Passes(), 120) << "a pause's queue is no pass's latency";
  passes(30);
  const size_t unplugged = device.Heard.size();
  ASSERT_GT(Peak(device.Heard, unplugged - 2 * kSoundRate / 2, unplugged), 1000)
      << "the tune plays before the device goes";
  device.Unplugged = true;
  const int requeues = device.Requeues;
  const int64_t tune_at = mixer.Tune().Position();
  passes(90);
  EXPECT_FALSE(output.Playing());
  EXPECT_FALSE(device.IsOpen) << "a device gone is closed";
  EXPECT_EQ(device.Requeues, requeues);
  // The tune moves on with the game while nothing hears it.
  EXPECT_EQ(mixer.Tune().Position(), tune_at + 90 * kSoundFramesPerPass);

  device.Refuses = true;
  output.DeviceAdded();
  passes(10);
  EXPECT_FALSE(output.Playing());
  device.Refuses = false;
  output.DeviceAdded();
  EXPECT_TRUE(output.Playing());
  const int64_t back_at = mixer.Tune().Position();
  const size_t back = device.Heard.size();
  passes(60);
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3) << lines;
  for (const char* said : {"went away", "cannot be opened (busy)", "is back"})
    EXPECT_NE(lines.find(said), std::string::npos) << lines;
  EXPECT_EQ(device.Opens, 3);
  EXPECT_EQ(Peak(device.Heard, unplugged, back), 0) << "silence while it is gone";

  // Back, the device plays (after the pass it missed) the tune from where the game stands in
  // it, the same samples as a run where nothing went away, but fading in.
  SoundMixer unbroken = MixerWithTune();
  std::vector<int16_t> expected(static_cast<size_t>(back_at + 40 * kSoundFramesPerPass) * 2);
  unbroken.Mix(expected.data(), static_cast<int>(expected.size() / 2));
  const size_t first = back + 2 * kSoundFramesPerPass, at = static_cast<size_t>(back_at) * 2;
  ASSERT_GT(Peak(expected, at, expected.size()), 1000);
  for (size_t i = 0; i < 2 * FadingQueue::kFadeInFrames; ++i)
    ASSERT_LE(std::abs(device.Heard[first + i]), std::abs(expected[at + i]) + 1) << i;
  const size_t faded = 2 * FadingQueue::kFadeInFrames;
  EXPECT_TRUE(std::equal(device.Heard.begin() + static_cast<ptrdiff_t>(first + faded),
                         device.Heard.begin() + static_cast<ptrdiff_t>(first + 30000),
                         expected.begin() + static_cast<ptrdiff_t>(at + faded)));
}

}  // namespace
