// Records real play as it happens: the replay (each pass's input as the game's queries saw it,
// a state check every 60 frames) and the per-frame trace ravelon-sim writes. Install before
// start-up, finish after the main loop has ended.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/input_event.h"

class PlayRecorder {
 public:
  PlayRecorder() = default;
  PlayRecorder(const PlayRecorder&) = delete;
  PlayRecorder& operator=(const PlayRecorder&) = delete;
  ~PlayRecorder();

  // Opens the files (empty path: none) and hooks into the input and the main loop; call it before
  // start-up. The header is taken from the working folder when the first pass begins. A file
  // that cannot be created is one line on standard error; play goes on without it.
  void Start(const std::string& replay_path, const std::string& trace_path);
  // Writes the last check and the end line, closes the files and unhooks.
  void Finish();
  // Writes the replay as it would stand were play to end now (the last check and the end line
  // added) to another file, and goes on recording; false with nothing recorded or on a failure.
  bool WriteSoFar(const std::string& path);

 private:
  void OnPassInput(const std::vector<ScriptedEvent>& events);
  void OnPassEnd(int pass);
  void Write(const std::string& text);
  void FlushEverySecond();

  std::string ReplayPath;
  std::FILE* Replay = nullptr;
  std::FILE* Trace = nullptr;
  std::string Date;
  bool HeaderWritten = false;
  std::vector<ScriptedEvent> PassEvents;
  int Passes = 0;
  std::chrono::steady_clock::time_point LastFlush;
};
