#include "timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "frame/clock.h"
#include "frame/game.h"
#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/console.h"
#include "platform/draw.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "stress.h"
#include "trace.h"

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::micro>(to - from).count();
}

// The main loop's counters, advanced exactly as between its passes.
void AdvanceCounters() {
  if (++FrameTick < 7) return;
  FrameTick = 0;
  if (++SlowToggle >= 2) SlowToggle = 0;
  if (++AnimPhase >= 4) AnimPhase = 0;
}

void AppendSummary(std::string& out, const char* name, const std::vector<double>& values) {
  const TimingSummary s = Summarise(values);
  char line[160];
  std::snprintf(line, sizeof line,
                "bench: %-7s median %9.1f us  mean %9.1f us  min %9.1f us  max %9.1f us\n", name,
                s.median, s.mean, s.min, s.max);
  out += line;
}

}  // namespace

// MainLoopPass and TGame::FRun step by step, so the update and draw halves can be timed apart.
// The runner checks after its run that this reached the same state as the real loop.
PassTimes TimedPass() {
  const auto start = Clock::now();
  InputBeginPass();
  if (KeyHitCount(kKeyEscape) != 0) QuitFlag = 1;
  if (CloseRequested() != 0) QuitFlag = 1;
  TClock::FStartClock(kClockFrame);
  TClock::FStartClock(kClockPhysics);
  const auto update_start = Clock::now();
  TGame::FUpdate();
  const auto update_end = Clock::now();
  TClock::FEndClock(kClockPhysics);
  TClock::FStartClock(kClockDraw);
  const auto draw_start = Clock::now();
  TGame::FDraw();
  const auto draw_end = Clock::now();
  TClock::FEndClock(kClockDraw);
  TClock::FEndClock(kClockFrame);
  TClock::FAverage();
  TClock::FDraw();
  Flip(1);
  if (KeyHitCount(kKeySpace) != 0) SleepMillis(3000);
  AdvanceCounters();
  const auto end = Clock::now();
  return {Micros(update_start, update_end), Micros(draw_start, draw_end), Micros(start, end)};
}

TimingSummary Summarise(std::vector<double> values) {
  TimingSummary s;
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  s.mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(n);
  s.min = values.front();
  s.max = values.back();
  return s;
}

double TimeUploadMicros() {
  static std::vector<uint32_t> texture(kBackBufferWidth * kBackBufferHeight);
  const auto start = Clock::now();
  std::memcpy(texture.data(), BackBuffer(), texture.size() * sizeof(uint32_t));
  // Keeps the copy from being optimised away.
  asm volatile("" : : "r"(texture.data()) : "memory");
  return Micros(start, Clock::now());
}

FrameTimings TimeFrames(const std::vector<ScriptedEvent>& script, int frames, bool stress) {
  FrameTimings timings;
  Backend* previous = CurrentBackend();
  HeadlessBackend backend;
  PrepareFreshRun(backend, script);
  backend.OnEndOfPass = [frames](int pass) { return pass < frames; };
  SetConsoleSink([](const std::string&) {});
  RunRavelon(false);
  if (stress) BuildStressState();
  if (frames > 0) {
    while (QuitFlag == 0) {
      const PassTimes pass = TimedPass();
      timings.update.push_back(pass.update);
      timings.draw.push_back(pass.draw);
      timings.frame.push_back(pass.frame);
      timings.upload.push_back(TimeUploadMicros());
      if (!backend.EndOfPass()) break;
    }
  }
  SetConsoleSink(nullptr);
  timings.finalTrace = TraceFrame(backend.Passes);
  timings.sleeps = backend.Sleeps;
  SetBackend(previous);
  return timings;
}

std::string FormatTimings(const FrameTimings& timings) {
  std::string out = "bench: " + std::to_string(timings.frame.size()) +
                    " passes timed (update and draw without the flip)\n";
  AppendSummary(out, "update", timings.update);
  AppendSummary(out, "draw", timings.draw);
  AppendSummary(out, "frame", timings.frame);
  AppendSummary(out, "upload", timings.upload);
  out += "bench: upload = one copy of the 816x300x4-byte back buffer, a stand-in for the flip\n";
  out += "bench: space pauses counted " + std::to_string(timings.sleeps) + "\n";
  return out;
}
