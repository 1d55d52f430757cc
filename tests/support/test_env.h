// A clean game for every test: fresh tables, the headless backend, captured console lines.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless_backend.h"

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Boots the subsystems as start-up does (window, boots, no art), without entering play.
  void BootSubsystems();
  // The console lines printed since SetUp (or since the last ClearConsole).
  const std::vector<std::string>& Console() const { return Lines; }
  void ClearConsole() { Lines.clear(); }
  bool ConsoleHas(const std::string& line) const;

  HeadlessBackend Backend;
  std::vector<std::string> Lines;
};

// RAVELON_PLAIN_DRAW=1 runs the tests, and the runs of ravelon-sim they start, with the drawing
// shortcuts off (platform/render/draw.h): every picture and trace must come out the same.
bool PlainDrawAsked();

// A fresh temporary folder, made the working directory for the test's lifetime.
class ScopedWorkDir {
 public:
  ScopedWorkDir();
  ~ScopedWorkDir();
  const std::string& Path() const { return Dir; }

 private:
  std::string Dir;
  std::string Previous;
};

// Writes bytes to a file (relative to the working directory).
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadFileBytes(const std::string& path);

// The number of a process that has just ended: what a side name of a killed writer holds.
int EndedProcess();
