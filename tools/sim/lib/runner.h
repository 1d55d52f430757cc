// The headless runner: the real start-up and main loop of the game on the headless backend,
// input from a script, a state trace per pass, a screenshot and timing figures.
#pragma once

#include <string>
#include <vector>

#include "platform/headless_backend.h"
#include "stress.h"

struct RunOptions {
  std::string dir;          // working directory of the run; empty: the current one
  int frames = 1;           // passes of the main loop; 0 runs start-up only
  std::string script;       // input script; empty: no input
  std::string trace;        // per-pass trace; "-" for standard output; empty: none
  std::string shot;         // back buffer after the last pass, as a 24-bit BMP; empty: none
  bool overlay = false;     // the shot with the window's overlay (messages, picker marks) over it
  bool bench = false;       // timing figures on standard error
  bool stress = false;      // the stress state of the benchmarks, built after start-up
  bool water = false;       // water in every open cell, built after start-up
  bool plain_draw = false;  // drawn without the drawing shortcuts (the same picture)
  std::string replay;       // a recording of play to replay and check; empty: none
  std::string unpack;       // with replay: folder to write its script and map files into
  std::string level;        // a level file to start with instead of the map files; empty: none
  std::string save_level;   // the map written here as a level file at the end; empty: none
  std::string wav;          // the run's sound as a 16-bit stereo WAV file; empty: no sound
  int music = 0;            // the tune's level in that sound, 0..100; 0: no tune
  bool help = false;
};

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitReplayDiffers = 3;

// The state the options ask for before the first pass.
StartState StartStateOf(const RunOptions& options);

// Reads the command line (without the program name). False with a one-line reason on error.
bool ParseArguments(const std::vector<std::string>& args, RunOptions& options, std::string& error);

std::string UsageText();

// Runs the game as the options say. Returns the exit status: 0 after a normal run, 2 for an
// unreadable script, a trace that cannot be made or a missing folder; 1 when the trace or the
// shot could not be written whole.
// The runner's own messages go to standard error; the game's console lines stay where
// PrintLine sends them.
int RunSimulation(const RunOptions& options);

class TraceOutput;
// Finishes the trace and writes the shot: 0, or kExitWriteFailed with a line on standard error.
int FinishOutputs(TraceOutput& trace, const RunOptions& options, const std::string& shot_path);

// The whole command line: arguments, run, exit status.
int RunnerMain(int argc, char** argv);
