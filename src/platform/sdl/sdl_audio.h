// The audio device: the mixer's samples queued to SDL's audio from the main loop, a pass's
// share at a time. No callback thread reads the game: the queue is filled on the game's own
// thread, kept about a pass ahead of the speaker. A device that goes away while the game runs
// leaves it silent, and a device that comes back (SDL says so through the window's events)
// takes the sound on. With RAVELON_AUDIO_LOG set, closing the device writes one line on
// standard error: how far ahead the queue was kept, the latency it makes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/audio_output.h"
#include "platform/sound/sound_mixer.h"

class SdlAudioDevice : public AudioDevice {
 public:
  ~SdlAudioDevice() override;
  bool Open(uint32_t& buffer_frames, std::string& why) override;
  void Close() override;
  bool Gone() override;
  void Requeue(const Refill& refill) override;
  // SDL said a device went away: gone if it is this one.
  void Removed(uint32_t which);

 private:
  uint32_t Device = 0;  // SDL's device id; 0 for none
  bool SubsystemStarted = false;
  bool WentAway = false;
};

class SdlAudio {
 public:
  SdlAudio();
  // False, with one line on standard error, when no device can be opened: the game then plays
  // silent.
  bool Open();
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Mixes what the device will want before the next pass and queues it.
  void Feed(SoundMixer& mixer);
  // Before a pause: `frames` queued this once.
  void FeedAhead(SoundMixer& mixer, uint32_t frames);

  void DeviceAdded() { Output.DeviceAdded(); }
  void DeviceRemoved(uint32_t which) { Device.Removed(which); }

 private:
  SdlAudioDevice Device;
  AudioOutput Output;
};

// The window's events about audio devices, for the audio in use (nothing without one).
void SdlAudioDeviceAdded(bool capture);
void SdlAudioDeviceRemoved(uint32_t which, bool capture);
