// A replay: a recording of real play that ravelon-sim plays back to the same state, frame by
// frame. Plain text a person can read:
//   ravelon replay 1
//   title Ravelon v0.09a
//   date 2026-12-08 09:13:32 UTC
//   map BGMap75x54.raw 4050          then 54 lines of 75 bytes in hex, one map row each
//   map BlockMap75x54.raw missing    (or "refused SIZE": a file start-up would not load)
//   art AllTiles8.bmp HASH           (or "missing"; likewise the other art and 24pal.raw)
//   input
//   F key|mouse|button|joy|close|focus ...   the script lines of each pass's input
//   F check HASH                     every 60 frames and at the last: the state the trace shows
//   F end                            the last pass; a recording of a game that was killed
//                                    lacks it and is played up to its last complete frame
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_event.h"

inline constexpr const char* kReplayVersionLine = "ravelon replay 1";
// Reading stops here: a replay of an hour of busy play stays well below it.
inline constexpr size_t kReplayMaxBytes = 32u << 20;
inline constexpr int kReplayCheckEvery = 60;

// A map file as start-up found it.
struct ReplayMapFile {
  enum class State { Missing, Refused, Loaded };
  std::string name;
  State state = State::Missing;
  int64_t size = 0;  // bytes on disk (Loaded: always the map's 4050)
  std::vector<uint8_t> bytes;
};

// An art file or the palette listing, known by its hash only.
struct ReplayArtFile {
  std::string name;
  bool present = false;
  uint64_t hash = 0;
};

struct ReplayCheck {
  int frame = 0;
  uint64_t hash = 0;
};

struct Replay {
  std::string title, date;
  std::vector<ReplayMapFile> maps;  // the two map files, in start-up's order
  std::vector<ReplayArtFile> art;   // the four art files, then the palette listing
  std::vector<ScriptedEvent> events;
  std::vector<ReplayCheck> checks;
  int endFrame = 0;
  bool endsEarly = false;  // no end line: endFrame is the last frame known to be complete
};

struct ReplayParseResult {
  Replay replay;
  bool ok = true;
  int errorLine = 0;  // 1-based; 0 when the fault is the file as a whole
  std::string error;
};

// The files start-up reads from the working folder, as the header lists them.
const std::vector<std::string>& ReplayMapNames();
const std::vector<std::string>& ReplayArtNames();

// Reads a replay from its text; a pure function, so it can be tested and fuzzed on its own.
ReplayParseResult ParseReplay(std::string_view text);

// The header up to and including "input", from the files in the working folder now (a recording
// takes it once start-up has loaded the map files).
std::string ReplayHeaderText(const std::string& title, const std::string& date);
// Loads a map file as a replay records it (a Loaded file holds its bytes).
ReplayMapFile ReadReplayMapFile(const std::string& name);
// The hash of a file's bytes; false when it cannot be read.
bool HashFile(const std::string& path, uint64_t& hash);

// The hash a check line holds: the trace of the frame, as ravelon-sim --trace writes it.
uint64_t StateHash(int frame);
std::string CheckLine(int frame);  // "F check HASH\n" of the state now
std::string EndLine(int frame);    // "F end\n"
