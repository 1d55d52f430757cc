#include "platform/sound/fading_queue.h"

#include <algorithm>

namespace {

int16_t Scaled(int16_t sample, float gain) {
  return static_cast<int16_t>(static_cast<float>(sample) * gain);
}

}  // namespace

const std::vector<int16_t>& FadingQueue::Refill(SoundMixer& mixer, uint32_t queued,
                                                uint32_t ahead) {
  const auto tail = static_cast<uint32_t>(Tail.size() / 2);
  const auto real_given = static_cast<uint32_t>(Real.size() / 2);
  const uint32_t real_left = std::min(queued > tail ? queued - tail : 0, real_given);
  IntoTail = tail > 0 && queued < tail;
  LastReal = real_left;
  Out.clear();
  // Real frames not played yet stay, in front.
  Out.insert(Out.end(), Real.end() - static_cast<ptrdiff_t>(real_left) * 2, Real.end());
  // Played into the tail: its rest goes first, fading on to silence.
  if (IntoTail) Out.insert(Out.end(), Tail.end() - static_cast<ptrdiff_t>(queued) * 2, Tail.end());

  const uint32_t frames = ahead > real_left ? ahead - real_left : 0;
  Mixed.resize(static_cast<size_t>(frames) * 2);
  if (frames > 0) mixer.Mix(Mixed.data(), static_cast<int>(frames));
  if (IntoTail) {
    for (uint32_t i = 0; i < std::min<uint32_t>(frames, kFadeInFrames); ++i) {
      const float gain = static_cast<float>(i) / kFadeInFrames;
      Mixed[2 * i] = Scaled(Mixed[2 * i], gain);
      Mixed[2 * i + 1] = Scaled(Mixed[2 * i + 1], gain);
    }
  }
  Out.insert(Out.end(), Mixed.begin(), Mixed.end());
  Real.erase(Real.begin(), Real.end() - static_cast<ptrdiff_t>(real_left) * 2);
  Real.insert(Real.end(), Mixed.begin(), Mixed.end());

  // The tail: what the mix would go on to, from a copy, faded out.
  SoundMixer next = mixer;
  Tail.resize(size_t{kTailFrames} * 2);
  next.Mix(Tail.data(), kTailFrames);
  for (int i = 0; i < kTailFrames; ++i) {
    const float gain = static_cast<float>(kTailFrames - 1 - i) / kTailFrames;
    Tail[2 * i] = Scaled(Tail[2 * i], gain);
    Tail[2 * i + 1] = Scaled(Tail[2 * i + 1], gain);
  }
  Out.insert(Out.end(), Tail.begin(), Tail.end());
  return Out;
}
