// The files of a run: the trace output and the working folder entered for the run's length.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/save/safe_write.h"

// The trace goes through the same stdio stream as the console lines, so with "-" the two
// interleave in the order they happened. A file is written safely and appears whole at Finish;
// one that cannot be written to the end is not kept, and Why() says at which frame it stopped.
class TraceOutput {
 public:
  bool Open(const std::string& path) {
    if (path.empty()) return true;
    ToStandardOutput = path == "-";
    // Every trace begins with its first frame's line; a killed run's side file is removed.
    return ToStandardOutput || File.Open(path, "frame 1\n");
  }
  // One frame's lines.
  void Write(const std::string& text) {
    ++Frames;
    if (ToStandardOutput) std::fwrite(text.data(), 1, text.size(), stdout);
    if (File.IsOpen()) File.Append(text);
  }
  // True when everything written was stored.
  bool Finish() {
    if (ToStandardOutput) return std::fflush(stdout) == 0 && !std::ferror(stdout);
    return !File.Failed() && (!File.IsOpen() || File.Commit());
  }
  std::string Why() const {
    if (ToStandardOutput) return "standard output failed";
    if (File.WholeAppends() >= Frames) return File.Why();
    return File.Why() + " at frame " + std::to_string(File.WholeAppends() + 1) +
           ", the first not stored; no trace is kept";
  }

 private:
  SafeFileWriter File;
  size_t Frames = 0;
  bool ToStandardOutput = false;
};

// Makes a folder the working directory until it goes out of scope.
class WorkDir {
 public:
  bool Enter(const std::string& dir) {
    Previous = std::filesystem::current_path(Error);
    if (dir.empty()) return true;
    std::filesystem::current_path(dir, Error);
    Entered = !Error;
    return Entered;
  }
  ~WorkDir() {
    if (Entered) std::filesystem::current_path(Previous, Error);
  }

 private:
  std::filesystem::path Previous;
  std::error_code Error;
  bool Entered = false;
};

// Paths on the command line are meant from where the runner was started, not from --dir.
inline std::string FromStartFolder(const std::string& path) {
  if (path.empty() || path == "-") return path;
  std::error_code ignored;
  const auto absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.string();
}
