// Timing of the frame: a second run of the same script in which every pass is the main loop's
// pass with its update half, draw half and the flip's upload timed apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless_backend.h"
#include "stress.h"

// Microseconds, one value per pass: the update half; each view; the overlay (the editor's, the
// instructions panel and the profiler's read-out); the draw half (both views, the editor's
// overlay and the panel, as TGame::FDraw); the whole pass; the flip's upload stand-in.
struct FrameTimings {
  std::vector<double> update, left_view, right_view, overlay, draw, frame, upload;
  // Update plus draw, of every pass and of the passes that ran the water step (every 7th).
  std::vector<double> update_draw, water_step;
  std::vector<int> water_step_passes;  // the pass number of each water_step value
  std::string finalTrace;  // the state after the last pass, to check the run matched the loop's
  int sleeps = 0;
};

struct TimingSummary {
  double median = 0, p90 = 0, mean = 0, min = 0, max = 0;
  int worst_pass = 0;  // the pass (from 1) that took longest
};

TimingSummary Summarise(std::vector<double> values);

struct PassTimes {
  double update = 0, left_view = 0, right_view = 0, overlay = 0, draw = 0, frame = 0;  // us
  bool water_step = false;  // the update ran the water step
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
