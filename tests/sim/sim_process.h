// Runs the ravelon-sim binary (its path in RAVELON_SIM, set by CTest) and collects its output.
#pragma once

#include <string>
#include <vector>

struct SimResult {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Arguments are quoted for the shell; `dir` is where the runner starts.
SimResult RunSimBinary(const std::vector<std::string>& args, const std::string& dir = ".");

std::string SimBinary();
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// Copies the built art and default level into `dir`, so a run may save there freely.
void CopyArtTo(const std::string& dir);
std::vector<std::string> SplitLines(const std::string& text);
