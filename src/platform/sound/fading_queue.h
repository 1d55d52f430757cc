// What the audio device is given to queue after each pass, so that it never stops mid-sound.
// Behind the pass's real samples it always queues a short tail: the mix's next few milliseconds
// (from a copy of the mixer, which itself moves on only by the real samples) fading to silence.
// While the passes come on time the tail is never reached: the next pass takes it back and puts
// real samples in its place. When a pass is late (the 3-second pause, a stall) the device plays
// into the tail and the sound fades out instead of being cut; what comes after begins with the
// rest of the tail and then fades the mix back in.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/sound_mixer.h"

class FadingQueue {
 public:
  // 5 ms of tail, and the fade back in after it was played into.
  static constexpr int kTailFrames = 240;
  static constexpr int kFadeInFrames = 240;

  // `target` frames of real sound are kept queued ahead of the device.
  explicit FadingQueue(uint32_t target) : Target(target) {}

  // The device still holds `queued` frames of what was given last (real and tail). Returns what
  // it is to hold from now on instead, left and right interleaved: the real frames it had not
  // played yet, new ones mixed up to the target, and a new tail.
  const std::vector<int16_t>& Refill(SoundMixer& mixer, uint32_t queued) {
    return Refill(mixer, queued, Target);
  }
  // The same, keeping `ahead` real frames queued this once (a cue that is to be heard whole
  // before a pause).
  const std::vector<int16_t>& Refill(SoundMixer& mixer, uint32_t queued, uint32_t ahead);

  // The real frames the device held when it was last refilled.
  uint32_t RealQueued() const { return LastReal; }
  bool PlayedIntoTail() const { return IntoTail; }

 private:
  uint32_t Target;
  std::vector<int16_t> Real;  // the real frames last given, the newest at the end
  std::vector<int16_t> Tail;
  std::vector<int16_t> Out, Mixed;
  uint32_t LastReal = 0;
  bool IntoTail = false;
};
