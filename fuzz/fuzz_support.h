// Shared pieces of the fuzz targets: a private working folder, quiet console, files from bytes.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/console.h"

namespace fuzz {

// A fresh temporary folder, made once per process, and a silent console: a loader prints a line
// for every refused file and the fuzzer's own output would drown in them.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ravelon-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    SetConsoleSink([](const std::string&) {});
    return pattern;
  }();
  return dir;
}

inline std::string ScratchPath(const std::string& name) {
  return ScratchDir() + "/" + name;
}

// The game opens its files by fixed names in the working directory, so the targets that need
// that step into the scratch folder for one input and back out: libFuzzer resolves corpus
// paths given on its command line against the folder it was started in.
class InScratchDir {
 public:
  InScratchDir() {
    Back = open(".", O_RDONLY | O_DIRECTORY);
    if (Back < 0 || chdir(ScratchDir().c_str()) != 0) std::abort();
  }
  ~InScratchDir() {
    if (fchdir(Back) != 0) std::abort();
    close(Back);
  }
  InScratchDir(const InScratchDir&) = delete;
  InScratchDir& operator=(const InScratchDir&) = delete;

 private:
  int Back = -1;
};

inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

// A broken promise of the code under test: libFuzzer keeps the input that caused it.
inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace fuzz
