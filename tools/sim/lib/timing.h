// Timing of the frame: a second run of the same script in which every pass is the main loop's
// pass with its update half, draw half and the flip's upload timed apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless_backend.h"
#include "stress.h"

struct FrameTimings {
  std::vector<double> update, draw, frame, upload;  // microseconds, one value per pass
  std::string finalTrace;  // the state after the last pass, to check the run matched the loop's
  int sleeps = 0;
};

struct TimingSummary {
  double median = 0, mean = 0, min = 0, max = 0;
};

TimingSummary Summarise(std::vector<double> values);

struct PassTimes {
  double update = 0, draw = 0, frame = 0;  // microseconds
};

// One pass of the main loop, as MainLoopPass runs it, with its halves timed apart. The caller
// ends the pass (the backend's EndOfPass) as the loop would.
PassTimes TimedPass();

// Start-up, then up to `frames` passes (fewer if the game quits), from the state asked for, built
// after start-up. Console lines printed meanwhile are swallowed.
FrameTimings TimeFrames(const std::vector<ScriptedEvent>& script, int frames, StartState state);

// The stand-in for the flip's upload to a window texture: one copy of the whole back buffer.
double TimeUploadMicros();

std::string FormatTimings(const FrameTimings& timings);
