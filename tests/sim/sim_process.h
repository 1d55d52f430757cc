// Runs the ravelon-sim binary (its path in RAVELON_SIM, set by CTest) and collects its output.
#pragma once

#include <string>
#include <vector>

struct SimResult {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Arguments are quoted for the shell; `dir` is where the runner starts; `input`, when given,
// is the file its standard input reads.
SimResult RunSimBinary(const std::vector<std::string>& args, const std::string& dir = ".",
                       const std::string& input = "");

std::string SimBinary();
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// Copies the built art and (with `level`) the default level's map files into `dir`, so a run
// may save there freely. Without the map files the game plays on its built-in dummy map.
void CopyArtTo(const std::string& dir, bool level = true);
std::vector<std::string> SplitLines(const std::string& text);

// The golden scripts of tests/sim/scripts, by name (the file name without ".txt"), sorted.
std::vector<std::string> GoldenScriptNames();
std::string GoldenScriptPath(const std::string& name);
// The value of a "# NAME: value" header line of a script, or "".
std::string HeaderValue(const std::string& script, const std::string& name);
// The "# frames: N" line, 1 without one.
int FramesOf(const std::string& script);
// A "# level: default" line: the script plays the default level, not the dummy map.
bool OnDefaultLevel(const std::string& script);
// The map files a recording of play started with ("# maps: NAME", from tests/sim/maps), laid
// beside the art in `dir`; nothing for a script without them.
void CopyRecordedMaps(const std::string& script, const std::string& dir);
