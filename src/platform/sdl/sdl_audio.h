// The audio device: the mixer's samples queued to SDL's audio from the main loop, a pass's
// share at a time. No callback thread reads the game: the queue is filled on the game's own
// thread, kept about a pass ahead of the speaker. With RAVELON_AUDIO_LOG set, closing the device
// writes one line on standard error: how far ahead the queue was kept, the latency it makes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/fading_queue.h"
#include "platform/sound/queue_latency.h"
#include "platform/sound/sound_mixer.h"

class SdlAudio {
 public:
  SdlAudio();
  // False, with one line on standard error, when no device can be opened: the game then plays
  // silent.
  bool Open();
  ~SdlAudio();

  // Mixes what the device will want before the next pass and queues it.
  void Feed(SoundMixer& mixer);

 private:
  bool OpenDevice();

  uint32_t Device = 0;  // SDL's device id; 0 for none
  bool SubsystemStarted = false;
  uint32_t DeviceBuffer = 0;  // samples of the device's own buffer
  QueueLatency Latency;
  FadingQueue Queue;
};
