#include "platform/web/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>

namespace {

// About 67 ms queued, a pass more than the desktop keeps: a page's passes follow the display
// refresh, which a busy browser delays more than a desktop's loop.
constexpr int kQueuedTarget = 4 * kSoundFramesPerPass;
// However long the page was away (a hidden tab stops the passes), at most this much is mixed
// after a pass: a pause is silence, not a burst of catching up.
constexpr int kMostPerPass = 4 * kSoundFramesPerPass;

}  // namespace

bool WebAudio::Open() {
  if (EM_ASM_INT({ return RavelonAudio.open($0) ? 1 : 0; }, kSoundRate)) return true;
  std::fprintf(stderr, "No Web Audio in this browser: the game plays without sound.\n");
  return false;
}

// Muted (M, ?mute) nothing is handed over at all: the voices move on a pass's share at a
// time, as before the first click, and the page schedules no buffer and lets its audio rest.
void WebAudio::Feed(SoundMixer& mixer) {
  const int while_silent = kQueuedTarget - kSoundFramesPerPass;
  const bool muted = mixer.IsMuted();
  if (muted != PageSilenced) {
    PageSilenced = muted;
    EM_ASM({ RavelonAudio.silence($0); }, muted ? 1 : 0);
  }
  const int queued =
      muted ? while_silent : EM_ASM_INT({ return RavelonAudio.queuedFrames($0); }, while_silent);
  if (queued >= kQueuedTarget) return;
  const int frames = std::min(kQueuedTarget - queued, kMostPerPass);
  Buffer.resize(static_cast<size_t>(frames) * 2);
  mixer.Mix(Buffer.data(), frames);
  if (!muted) EM_ASM({ RavelonAudio.play($0, $1); }, Buffer.data(), frames);
}
