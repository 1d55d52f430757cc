// The files of a run: the trace output and the working folder entered for the run's length.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

// The trace goes through the same stdio stream as the console lines, so with "-" the two
// interleave in the order they happened.
class TraceOutput {
 public:
  TraceOutput() = default;
  TraceOutput(const TraceOutput&) = delete;
  TraceOutput& operator=(const TraceOutput&) = delete;
  bool Open(const std::string& path) {
    if (path.empty()) return true;
    if (path == "-") {
      File = stdout;
      return true;
    }
    File = std::fopen(path.c_str(), "wb");
    Owned = File != nullptr;
    return File != nullptr;
  }
  void Write(const std::string& text) {
    if (File) std::fwrite(text.data(), 1, text.size(), File);
  }
  ~TraceOutput() {
    if (Owned)
      std::fclose(File);
    else if (File)
      std::fflush(File);
  }

 private:
  std::FILE* File = nullptr;
  bool Owned = false;
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
