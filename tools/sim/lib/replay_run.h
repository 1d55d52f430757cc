// ravelon-sim --replay: a recording of real play played back in a scratch folder, with its
// state checked against the recording's check lines.
#pragma once

#include <string>

#include "record/replay_file.h"
#include "runner.h"

// Exit status 0 when every check matched, 3 (and one line naming the frame) when the state
// differs, 2 for a replay that cannot be read or is damaged (one line saying why).
int RunReplay(const RunOptions& options);

// Reads at most kReplayMaxBytes; false with the reason when the file cannot be read or is larger.
bool ReadReplayFile(const std::string& path, std::string& text, std::string& error);

// Writes the replay's input as a script (script.txt, "# frames: N" first) and its map files
// into the folder, which must exist. False when a file cannot be written.
bool UnpackReplay(const Replay& replay, const std::string& folder);
