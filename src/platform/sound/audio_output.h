// The mix kept queued on an audio device that may go away while the game runs (a headset
// pulled out, a sound server stopped) and come back. While it is gone the game plays on
// silent: the mix still moves on a pass's share at a time and is let go, so the tune and
// the voices stand where the game's time says when a device is back, and nothing piles up.
// Going and coming back are one line each on standard error.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sound/fading_queue.h"
#include "platform/sound/queue_latency.h"
#include "platform/sound/sound_mixer.h"

// What the output needs of a device: SDL's on the desktop, a stand-in in tests.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Opens a device for 16-bit stereo at kSoundRate and starts it; false with the reason.
  // `buffer_frames`: the size of the device's own buffer.
  virtual bool Open(uint32_t& buffer_frames, std::string& why) = 0;
  virtual void Close() = 0;
  // True once the open device went away: it plays nothing any more.
  virtual bool Gone() = 0;
  // Counts the frames still queued, asks `refill` for what is to replace them and queues that
  // instead (left and right interleaved), the device playing nothing in between.
  using Refill = std::function<const std::vector<int16_t>&(uint32_t queued)>;
  virtual void Requeue(const Refill& refill) = 0;
};

class AudioOutput {
 public:
  // Keeps `target` frames queued ahead of the device.
  AudioOutput(AudioDevice& device, uint32_t target);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // The first opening; false with the reason when there is no device.
  bool Open(std::string& why);

  // After each pass: mixes what the device will want before the next one and queues it.
  void Feed(SoundMixer& mixer);
  // Before a pause: `frames` queued this once, so a cue is heard whole before the sound fades.
  void FeedAhead(SoundMixer& mixer, uint32_t frames);

  // A device appeared: when the one in use went away, the sound goes on through it.
  void DeviceAdded();

  bool Playing() const { return State == kPlaying; }
  uint32_t DeviceBuffer() const { return BufferFrames; }
  const QueueLatency& Latency() const { return Queued; }

 private:
  enum { kClosed, kPlaying, kGone };

  bool StillThere();
  void Refill(SoundMixer& mixer, uint32_t ahead);

  AudioDevice& Device;
  uint32_t Target;
  int State = kClosed;
  uint32_t BufferFrames = 0;
  QueueLatency Queued;
  FadingQueue Queue;
  std::vector<int16_t> LetGo;  // a pass's share while there is no device
};
