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
// However long a pass took, at most this much is mixed after it (a 3-second pause is silence,
// not a burst of catching up).
constexpr Uint32 kMostPerPass = 3 * kSoundFramesPerPass;
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

// A faster pass than the speaker leaves the queue full and mixes nothing; a slower one mixes
// more. Either way the mixer runs on without a gap, so nothing clicks.
void SdlAudio::Feed(SoundMixer& mixer) {
  if (Device == 0) return;
  const Uint32 queued = SDL_GetQueuedAudioSize(Device) / kBytesPerFrame;
  Latency.Note(queued);
  if (queued >= kQueuedTarget) return;
  const Uint32 frames = std::min(kQueuedTarget - queued, kMostPerPass);
  Buffer.resize(size_t{frames} * 2);
  mixer.Mix(Buffer.data(), static_cast<int>(frames));
  SDL_QueueAudio(Device, Buffer.data(), frames * kBytesPerFrame);
}
