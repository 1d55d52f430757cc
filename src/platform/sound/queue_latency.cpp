#include "platform/sound/queue_latency.h"

#include <algorithm>
#include <cstdio>

#include "platform/sound/sound_recipe.h"

void QueueLatency::Note(uint32_t queued_frames) {
  if (Count > 0 && queued_frames == 0) ++Empty;
  ++Count;
  Sum += queued_frames;
  Most = std::max(Most, queued_frames);
}

double QueueLatency::MeanMilliseconds(uint32_t device_buffer_frames) const {
  return (MeanQueued() + device_buffer_frames) * 1000.0 / kSoundRate;
}

std::string QueueLatency::Describe(uint32_t device_buffer_frames) const {
  char line[200];
  std::snprintf(line, sizeof line,
                "Audio: a pass is heard %.1f ms later on average (queued %.0f samples, at most "
                "%u, device buffer %u) over %lld passes, %lld underruns.",
                MeanMilliseconds(device_buffer_frames), MeanQueued(), MostQueued(),
                device_buffer_frames, static_cast<long long>(Count), static_cast<long long>(Empty));
  return line;
}
