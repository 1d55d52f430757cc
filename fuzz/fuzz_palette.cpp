// libFuzzer target: the palette listing file. Only a file of exactly 72 bytes is listed, one
// line per drawing colour; anything else gives one refusal line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "art/palette.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::InScratchDir here;
  fuzz::WriteBytes("24pal.raw", data, size);
  std::vector<std::string> lines;
  SetConsoleSink([&lines](const std::string& line) { lines.push_back(line); });
  TPalette::FRead();
  SetConsoleSink([](const std::string&) {});
  if (size == 72) {
    fuzz::Check(lines.size() == 24, "one line per colour");
    const std::string first = "Case 0 SetColor " + std::to_string(data[0]) + ", " +
                              std::to_string(data[1]) + ", " + std::to_string(data[2]);
    fuzz::Check(lines[0] == first, "the first colour as read");
  } else {
    fuzz::Check(lines.size() == 1 && lines[0] == "Wrong size!", "a wrong size is refused");
  }
  return 0;
}
