#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

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

SdlAudio* InUse = nullptr;

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

}  // namespace

SdlAudioDevice::~SdlAudioDevice() {
  Close();
  if (SubsystemStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDevice::Open(uint32_t& buffer_frames, std::string& why) {
  QuietStandardError quiet;
  if (!SubsystemStarted) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      why = SDL_GetError();
      return false;
    }
    SubsystemStarted = true;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kSoundRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = kDeviceBuffer;
  // No changes allowed: SDL converts to whatever the device really plays.
  SDL_AudioSpec obtained{};
  Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (Device == 0) {
    why = SDL_GetError();
    return false;
  }
  WentAway = false;
  buffer_frames = obtained.samples;
  SDL_PauseAudioDevice(Device, 0);
  return true;
}

void SdlAudioDevice::Close() {
  if (Device != 0) SDL_CloseAudioDevice(Device);
  Device = 0;
}

// SDL stops a device that went away; the event saying so may come a pass later.
bool SdlAudioDevice::Gone() {
  return Device == 0 || WentAway || SDL_GetAudioDeviceStatus(Device) == SDL_AUDIO_STOPPED;
}

void SdlAudioDevice::Removed(uint32_t which) {
  if (Device != 0 && which == Device) WentAway = true;
}

// The device is locked meanwhile, so it plays nothing between the count and the refill.
void SdlAudioDevice::Requeue(const Refill& refill) {
  if (Device == 0) return;
  SDL_LockAudioDevice(Device);
  const Uint32 queued = SDL_GetQueuedAudioSize(Device) / kBytesPerFrame;
  const std::vector<int16_t>& next = refill(queued);
  SDL_ClearQueuedAudio(Device);
  SDL_QueueAudio(Device, next.data(), static_cast<Uint32>(next.size() * sizeof(int16_t)));
  SDL_UnlockAudioDevice(Device);
}

SdlAudio::SdlAudio() : Output(Device, kQueuedTarget) {}

bool SdlAudio::Open() {
  std::string why;
  if (!Output.Open(why)) {
    std::fprintf(stderr, "No audio device (%s): the game plays without sound.\n", why.c_str());
    return false;
  }
  InUse = this;
  return true;
}

SdlAudio::~SdlAudio() {
  if (InUse != this) return;
  InUse = nullptr;
  if (std::getenv("RAVELON_AUDIO_LOG") != nullptr)
    std::fprintf(stderr, "%s\n", Output.Latency().Describe(Output.DeviceBuffer()).c_str());
}

void SdlAudio::Feed(SoundMixer& mixer) {
  Output.Feed(mixer);
}

void SdlAudio::FeedAhead(SoundMixer& mixer, uint32_t frames) {
  Output.FeedAhead(mixer, frames);
}

void SdlAudioDeviceAdded(bool capture) {
  if (InUse && !capture) InUse->DeviceAdded();
}

void SdlAudioDeviceRemoved(uint32_t which, bool capture) {
  if (InUse && !capture) InUse->DeviceRemoved(which);
}
