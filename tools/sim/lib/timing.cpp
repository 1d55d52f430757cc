// The timing run: every pass of the main loop replayed with its update, draw and the flip's
// upload timed apart by a steady clock, and the summary of the figures.
#include "timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/build_mode.h"
#include "editor/editor.h"
#include "editor/free_camera.h"
#include "frame/clock.h"
#include "frame/edit_switches.h"
#include "frame/game.h"
#include "frame/help_overlay.h"
#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "record/trace.h"
#include "stress.h"
#include "world/scroller.h"

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::micro>(to - from).count();
}

// `passes`, when given, names the pass of each value; otherwise value k is pass k + 1.
void AppendSummary(std::string& out, const char* name, const std::vector<double>& values,
                   const std::vector<int>& passes = {}) {
  TimingSummary s = Summarise(values);
  if (!passes.empty() && s.worst_pass > 0) s.worst_pass = passes[s.worst_pass - 1];
  char line[200];
  std::snprintf(line, sizeof line,
                "bench: %-10s median %8.1f us  p90 %8.1f us  max %8.1f us (pass %d)  mean %8.1f "
                "us  min %8.1f us\n",
                name, s.median, s.p90, s.max, s.worst_pass, s.mean, s.min);
  out += line;
}

// TGame::FDraw step by step, each view and the overlay timed apart; adds to `t`.
void TimedDraw(PassTimes& t) {
  const auto start = Clock::now();
  if (FreeCameraOn) {
    Scrollers[0]->MDrawStill(0, 0);
  } else {
    Scrollers[0]->MDraw(Profiles[kPlayerProfile]->Actor.get(), 0, 0);
  }
  const auto left_end = Clock::now();
  Scrollers[1]->MDraw(BadguyActor.get(), 416, 0);
  const auto right_end = Clock::now();
  TEditor::FDraw();
  if (PanelShown) DrawImageFrame(InstrImage.get(), 20, 20, 0);
  const auto end = Clock::now();
  t.left_view = Micros(start, left_end);
  t.right_view = Micros(left_end, right_end);
  t.overlay = Micros(right_end, end);
  t.draw = Micros(start, end);
}

}  // namespace

// MainLoopPass and TGame::FRun step by step, so the update and draw halves can be timed apart.
// The runner checks after its run that this reached the same state as the real loop.
PassTimes TimedPass() {
  const auto start = Clock::now();
  InputBeginPass();
  PassTimes t;
  if (THelp::FTakePass()) {
    if (CloseRequested() != 0) QuitFlag = 1;
    THelp::FShowPass();
    t.frame = Micros(start, Clock::now());
    return t;
  }
  if (CommandPresses(Command::kQuit) != 0 && !TBuild::FEscape()) QuitFlag = 1;
  if (CloseRequested() != 0) QuitFlag = 1;
  TClock::FStartClock(kClockFrame);
  TClock::FStartClock(kClockPhysics);
  t.water_step = FrameTick == 0;
  const auto update_start = Clock::now();
  TGame::FUpdate();
  t.update = Micros(update_start, Clock::now());
  TClock::FEndClock(kClockPhysics);
  TClock::FStartClock(kClockDraw);
  TimedDraw(t);
  TClock::FEndClock(kClockDraw);
  TClock::FEndClock(kClockFrame);
  if (!WorldHeld) TClock::FAverage();
  const auto readout_start = Clock::now();
  if (PanelShown) TClock::FDraw();
  t.overlay += Micros(readout_start, Clock::now());
  Flip(1);
  if (CommandPresses(Command::kPause) != 0) SleepMillis(3000);
  AdvanceCounters();  // the main loop's own, as between its passes
  t.frame = Micros(start, Clock::now());
  return t;
}

TimingSummary Summarise(std::vector<double> values) {
  TimingSummary s;
  if (values.empty()) return s;
  s.worst_pass =
      static_cast<int>(std::max_element(values.begin(), values.end()) - values.begin()) + 1;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  // The nearest rank: the value that 90 % of the passes do not exceed.
  s.p90 = values[(n * 9 + 9) / 10 - 1];
  s.mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(n);
  s.min = values.front();
  s.max = values.back();
  return s;
}

double TimeUploadMicros() {
  static std::vector<uint32_t> texture(kBackBufferWidth * kBackBufferHeight);
  const auto start = Clock::now();
  std::memcpy(texture.data(), FinishedBackBuffer(), texture.size() * sizeof(uint32_t));
  // Keeps the copy from being optimised away.
  asm volatile("" : : "r"(texture.data()) : "memory");
  return Micros(start, Clock::now());
}

FrameTimings TimeFrames(const std::vector<ScriptedEvent>& script, int frames, StartState state) {
  FrameTimings timings;
  Backend* previous = CurrentBackend();
  HeadlessBackend backend;
  PrepareFreshRun(backend, script);
  backend.OnEndOfPass = [frames](int pass) { return pass < frames; };
  SetConsoleSink([](const std::string&) {});
  RunRavelon(false);
  BuildStartState(state);
  if (frames > 0) {
    while (QuitFlag == 0) {
      const PassTimes pass = TimedPass();
      timings.update.push_back(pass.update);
      timings.left_view.push_back(pass.left_view);
      timings.right_view.push_back(pass.right_view);
      timings.overlay.push_back(pass.overlay);
      timings.draw.push_back(pass.draw);
      timings.update_draw.push_back(pass.update + pass.draw);
      if (pass.water_step) {
        timings.water_step.push_back(pass.update + pass.draw);
        timings.water_step_passes.push_back(static_cast<int>(timings.frame.size()) + 1);
      }
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
  AppendSummary(out, "left view", timings.left_view);
  AppendSummary(out, "right view", timings.right_view);
  AppendSummary(out, "overlay", timings.overlay);
  AppendSummary(out, "draw", timings.draw);
  AppendSummary(out, "upd+draw", timings.update_draw);
  AppendSummary(out, "water step", timings.water_step, timings.water_step_passes);
  AppendSummary(out, "frame", timings.frame);
  AppendSummary(out, "upload", timings.upload);
  out += "bench: draw = both views, the editor's overlay and the panel; overlay = the editor's\n";
  out += "bench: overlay, the panel and the profiler's read-out; water step = update and draw of\n";
  out += "bench: the passes that ran the water step; frame = the whole pass\n";
  out += "bench: upload = one copy of the 816x300x4-byte back buffer, a stand-in for the flip\n";
  out += "bench: space pauses counted " + std::to_string(timings.sleeps) + "\n";
  return out;
}
