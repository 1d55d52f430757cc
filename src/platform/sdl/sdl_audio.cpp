#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The device takes its buffer of 512 from the queue at a time, twice within some passes: a pass
// and one device buffer are queued after each pass, so the queue never runs dry while passes
// come on time. What is left of it when the next pass comes (about one device buffer), plus the
// buffer playing, is the delay of that pass's sound: about 20 ms, at most 27.
constexpr Uint16 kDeviceBuffer = 512;
constexpr Uint32 kQueuedTarget = kSoundFramesPerPass + kDeviceBuffer;
constexpr Uint32 kBytesPerFrame = 2 * sizeof(int16_t);

// The sound libraries under SDL (ALSA above all) write their own complaints to standard error
// while SDL tries them on a machine without sound: a dozen lines where one of ours says it
// all. Standard error is set aside while the device is looked for.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    Saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (Saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStandardError() {
    std::fflush(stderr);
    if (Saved < 0) return;
    dup2(Saved, STDERR_FILENO);
    close(Saved);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int Saved = -1;
};

void SayNoDevice() {
  std::fprintf(stderr, "No audio device (%s): the game plays without sound.\n", SDL_GetError());
}

}  // namespace

SdlAudio::SdlAudio() : Queue(kQueuedTarget) {}

bool SdlAudio::Open() {
  bool opened = false;
  {
    QuietStandardError quiet;
    opened = OpenDevice();
  }
  if (!opened) SayNoDevice();
  return opened;
}

bool SdlAudio::OpenDevice() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SubsystemStarted = true;
  SDL_AudioSpec wanted{};
  wanted.freq = kSoundRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = kDeviceBuffer;
  // No changes allowed: SDL converts to whatever the device really plays.
  SDL_AudioSpec obtained{};
  Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (Device == 0) return false;
  DeviceBuffer = obtained.samples;
  SDL_PauseAudioDevice(Device, 0);
  return true;
}

SdlAudio::~SdlAudio() {
  if (Device != 0 && std::getenv("RAVELON_AUDIO_LOG") != nullptr)
    std::fprintf(stderr, "%s\n", Latency.Describe(DeviceBuffer).c_str());
  if (Device != 0) SDL_CloseAudioDevice(Device);
  if (SubsystemStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// The device is given again what it had not played yet, with new frames up to the target and a
// fading tail behind them: a faster pass than the speaker mixes nothing new, a slower one more,
// one late by seconds (the pause) lets the device play into the tail and fade out, and the
// sound fades back in when it resumes. Nothing clicks. The device is locked meanwhile, so it
// plays nothing between the count and the refill.
void SdlAudio::Feed(SoundMixer& mixer) {
  if (Device == 0) return;
  SDL_LockAudioDevice(Device);
  const Uint32 queued = SDL_GetQueuedAudioSize(Device) / kBytesPerFrame;
  const std::vector<int16_t>& next = Queue.Refill(mixer, queued);
  SDL_ClearQueuedAudio(Device);
  SDL_QueueAudio(Device, next.data(), static_cast<Uint32>(next.size() * sizeof(int16_t)));
  SDL_UnlockAudioDevice(Device);
  Latency.Note(Queue.RealQueued());
}
