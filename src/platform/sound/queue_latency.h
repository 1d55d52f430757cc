// How far ahead of the speaker the sound is kept: what was still queued each time a pass came to
// add its share, and what that makes of the time from a pass to its sound being heard (the
// samples queued before it plus the device's own buffer). Underruns are passes that found the
// queue empty after the first.
#pragma once

#include <cstdint>
#include <string>

class QueueLatency {
 public:
  void Note(uint32_t queued_frames);

  int64_t Passes() const { return Count; }
  int64_t Underruns() const { return Empty; }
  double MeanQueued() const { return Count > 0 ? static_cast<double>(Sum) / Count : 0; }
  uint32_t MostQueued() const { return Most; }
  // Milliseconds from a pass to its first sample leaving the device, on average.
  double MeanMilliseconds(uint32_t device_buffer_frames) const;
  // One line for the log.
  std::string Describe(uint32_t device_buffer_frames) const;

 private:
  int64_t Count = 0, Empty = 0, Sum = 0;
  uint32_t Most = 0;
};
