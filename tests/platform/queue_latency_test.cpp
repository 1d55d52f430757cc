// The account of how far ahead the audio queue was kept: its mean, its most, underruns only
// after the first pass, and the delay in milliseconds it makes with the device's buffer.
#include <gtest/gtest.h>

#include "platform/sound/queue_latency.h"

namespace {

TEST(QueueLatency, MeanMostUnderrunsAndTheDelayTheyMake) {
  QueueLatency latency;
  EXPECT_EQ(latency.MeanQueued(), 0);
  latency.Note(0);  // the first pass finds the queue empty, as it must
  EXPECT_EQ(latency.Underruns(), 0);
  for (const uint32_t queued : {480u, 520u, 0u, 500u})
    latency.Note(queued);
  EXPECT_EQ(latency.Passes(), 5);
  EXPECT_EQ(latency.Underruns(), 1);
  EXPECT_EQ(latency.MostQueued(), 520u);
  EXPECT_DOUBLE_EQ(latency.MeanQueued(), 300);
  EXPECT_DOUBLE_EQ(latency.MeanMilliseconds(180), 10.0);  // 480 samples at 48 kHz
  EXPECT_EQ(latency.Describe(180),
            "Audio: a pass is heard 10.0 ms later on average (queued 300 samples, at most 520, "
            "device buffer 180) over 5 passes, 1 underruns.");
}

}  // namespace
