// libFuzzer target: a sound recipe read from arbitrary text. A refusal must say why; an
// accepted recipe must hold only finite values in their ranges, and playing it through the
// mixer (loud, several at once) must stay under the limiter's ceiling and end in silence.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sound/sound_mixer.h"
#include "platform/sound/sound_recipe.h"

namespace {

bool InRange(const SoundRecipe& r) {
  const double values[] = {r.Duty,    r.StartHz, r.EndHz,     r.Length, r.Attack,    r.Decay,
                           r.Sustain, r.Release, r.LowpassHz, r.Volume, r.VaryPitch, r.VaryLength};
  for (const double v : values)
    if (!std::isfinite(v) || v < 0) return false;
  return r.StartHz > 0 && r.StartHz < kNyquistHz && r.EndHz > 0 && r.EndHz < kNyquistHz &&
         r.Length > 0 && r.Length <= kLongestSound && r.Attack + r.Release <= r.Length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SoundRecipe recipe;
  std::string why;
  if (!ParseSoundRecipe(text, recipe, why)) {
    if (why.empty()) std::abort();
    return 0;
  }
  if (!InRange(recipe)) std::abort();
  SoundMixer mixer;
  const int sound = mixer.AddSound("fuzz", recipe);
  for (int i = 0; i < 4; ++i)
    mixer.Play(sound, 1.0f, i - 1.5f);
  const int frames = static_cast<int>(kLongestSound * 1.6 * kSoundRate) + 4800;
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
  mixer.Mix(out.data(), frames);
  const int most = static_cast<int>(SoundMixer::kCeiling * 32767.0f) + 1;
  for (const int16_t s : out)
    if (std::abs(int{s}) > most) std::abort();
  if (mixer.PlayingVoices() != 0 || out[out.size() - 1] != 0 || out[out.size() - 2] != 0)
    std::abort();
  return 0;
}
