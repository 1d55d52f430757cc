// Records real play as it happens: the replay (each pass's input as the game's queries saw it,
// a state check every 60 frames) and the per-frame trace ravelon-sim writes. Install before
// start-up, finish after the main loop has ended.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/input_event.h"
#include "platform/save/safe_write.h"

// Why `path` may not be written while playing: it names a file start-up reads (the map files,
// the save's journal, the art, the sound recipes). Empty when it may.
std::string StartUpFileAt(const std::string& path);

class PlayRecorder {
 public:
  PlayRecorder() = default;
  PlayRecorder(const PlayRecorder&) = delete;
  PlayRecorder& operator=(const PlayRecorder&) = delete;
  ~PlayRecorder();

  // Makes the files (empty path: none) beside their names and hooks into the input and the main
  // loop; call it before start-up. The files take their names when the first pass begins, once
  // start-up has read what it reads. A file that cannot be made is one line on standard error;
  // play goes on without it.
  void Start(const std::string& replay_path, const std::string& trace_path);
  // Writes the last check and the end line, finishes the files and unhooks.
  void Finish();
  // Writes the replay as it would stand were play to end now (the last check and the end line
  // added) to another file, and goes on recording; false with nothing recorded or on a failure.
  bool WriteSoFar(const std::string& path);

 private:
  struct Output {
    SafeFileWriter File;
    std::string Path;
    const char* What = "";
    bool Reported = false;
    bool Open() const { return File.IsOpen(); }
  };
  bool OpenOutput(Output& out, const std::string& path, const char* what);
  void Check(Output& out, bool ok);
  void OnPassInput(const std::vector<ScriptedEvent>& events);
  void OnPassEnd(int pass);
  void FlushEverySecond();

  Output Replay, Trace;
  std::string Date;
  bool HeaderWritten = false;
  bool Hooked = false;
  std::vector<ScriptedEvent> PassEvents;
  int Passes = 0;
  std::chrono::steady_clock::time_point LastFlush;
};
