// What the audio device is given: on time, exactly the mix; through a 3-second pause, a fade out
// and a fade back in, never a step, also after a cue queued ahead of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <vector>

#include "platform/sound/fading_queue.h"

namespace {

constexpr uint32_t kTarget = kSoundFramesPerPass + 512;

SoundMixer HummingMixer(int& sound) {
  SoundMixer mixer;
  SoundRecipe hum;
  hum.Wave = Waveform::kTriangle;
  hum.StartHz = hum.EndHz = 110;
  hum.Length = 2.0;
  hum.Volume = 1.0;
  sound = mixer.AddSound("hum", hum);
  return mixer;
}

// A device that plays `frames` from its queue, silence once the queue is empty.
void Play(std::deque<int16_t>& queue, std::vector<int16_t>& heard, size_t frames) {
  for (size_t i = 0; i < 2 * frames; ++i) {
    heard.push_back(queue.empty() ? int16_t{0} : queue.front());
    if (!queue.empty()) queue.pop_front();
  }
}

int LargestStep(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int step = 0;
  for (size_t i = std::max<size_t>(from, 2); i < std::min(to, samples.size()); ++i)
    step = std::max(step, std::abs(samples[i] - samples[i - 2]));
  return step;
}

TEST(FadingQueue, OnTimeItIsTheMixAndAPauseFadesOutAndBackInWithoutAStep) {
  int sound = 0;
  SoundMixer mixer = HummingMixer(sound), plain = HummingMixer(sound);
  mixer.Play(sound, 0.8f, 0.0f);
  plain.Play(sound, 0.8f, 0.0f);
  FadingQueue feed(kTarget);
  std::deque<int16_t> queue;
  std::vector<int16_t> heard;
  auto pass = [&](size_t played) {
    Play(queue, heard, played);
    const std::vector<int16_t>& next = feed.Refill(mixer, static_cast<uint32_t>(queue.size() / 2));
    queue.assign(next.begin(), next.end());
  };
  pass(0);
  for (int i = 0; i < 30; ++i)
    pass(kSoundFramesPerPass);
  EXPECT_FALSE(feed.PlayedIntoTail());
  EXPECT_EQ(feed.RealQueued(), kTarget - kSoundFramesPerPass);
  std::vector<int16_t> expected(heard.size());
  plain.Mix(expected.data(), static_cast<int>(expected.size() / 2));
  EXPECT_EQ(heard, expected) << "on time, the device plays the mix and nothing of the tails";

  const size_t cut = heard.size() + 2 * kTarget;  // the real frames queued run out here
  pass(3 * kSoundRate);  // the pause: the device plays its queue dry, then silence
  EXPECT_TRUE(feed.PlayedIntoTail());
  EXPECT_EQ(feed.RealQueued(), 0u);
  const size_t resume = heard.size();
  for (int i = 0; i < 10; ++i)
    pass(kSoundFramesPerPass);
  EXPECT_GT(*std::max_element(heard.begin() + static_cast<ptrdiff_t>(cut) - 1000,
                              heard.begin() + static_cast<ptrdiff_t>(cut)),
            3000)
      << "the hum was playing when the queue ran dry";
  EXPECT_EQ(heard[cut + 2 * FadingQueue::kTailFrames], 0) << "silence after the tail";
  EXPECT_EQ(heard[resume - 2], 0);
  EXPECT_GT(std::abs(heard.back()), 0) << "the hum plays on after the pause";
  const int most = static_cast<int>(0.02 * 32768);
  std::cout << "pause: largest step at the cut "
            << LargestStep(heard, cut - 2000, cut + 2000) / 32768.0 << ", at the resume "
            << LargestStep(heard, resume - 2000, resume + 2000) / 32768.0 << "\n";
  EXPECT_LE(LargestStep(heard, cut - 2000, cut + 2000), most) << "a step at the cut";
  EXPECT_LE(LargestStep(heard, resume - 2000, resume + 2000), most) << "a step at the resume";
}

// Before the pause a cue's length is queued ahead this once: the device plays all of it, then
// fades out and comes back in as after any pause, and the next passes queue as much as before.
TEST(FadingQueue, AQueueAheadOfAPausePlaysWholeThenFadesWithoutAStep) {
  int sound = 0;
  SoundMixer mixer = HummingMixer(sound);
  mixer.Play(sound, 0.8f, 0.0f);
  FadingQueue feed(kTarget);
  std::deque<int16_t> queue;
  std::vector<int16_t> heard;
  auto refill = [&](size_t played, uint32_t ahead) {
    Play(queue, heard, played);
    const std::vector<int16_t>& next =
        feed.Refill(mixer, static_cast<uint32_t>(queue.size() / 2), ahead);
    queue.assign(next.begin(), next.end());
  };
  for (int i = 0; i < 10; ++i)
    refill(kSoundFramesPerPass, kTarget);
  constexpr uint32_t kAhead = kSoundRate / 4;
  refill(0, kAhead);
  const size_t cut = heard.size() + 2 * kAhead;
  refill(3 * kSoundRate, kTarget);
  const size_t resume = heard.size();
  for (int i = 0; i < 10; ++i)
    refill(kSoundFramesPerPass, kTarget);
  EXPECT_GT(std::abs(heard[cut - 2]), 0) << "the whole of what was queued ahead is heard";
  EXPECT_EQ(heard[cut + 2 * FadingQueue::kTailFrames], 0);
  EXPECT_EQ(feed.RealQueued(), kTarget - kSoundFramesPerPass) << "back to a pass ahead";
  const int most = static_cast<int>(0.02 * 32768);
  EXPECT_LE(LargestStep(heard, cut - 2000, cut + 2000), most) << "a step at the cut";
  EXPECT_LE(LargestStep(heard, resume - 2000, resume + 2000), most) << "a step at the resume";
}

}  // namespace
