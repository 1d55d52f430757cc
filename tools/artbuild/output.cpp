// Writing the builder's files: BMPs and raw bytes through the safe writer, so an interrupted
// build never leaves a cut-off file.
#include "output.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/bmp.h"
#include "platform/save/safe_write.h"

namespace art {

std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint32_t>& argb) {
  if (argb.size() != size_t(width) * size_t(height)) return {};
  return EncodeBmp24(width, height, argb.data());
}

// Written safely: a failed write leaves the last good file (or none), never a cut-off one, and
// nothing is written through a link or over a folder, a FIFO or a device at the name.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string why;
  if (WriteFileSafely(path, bytes, why)) return true;
  std::cerr << "artbuild: cannot write " << path << ": " << why << "\n";
  return false;
}

bool WriteCanvas(const std::string& path, const Canvas& canvas) {
  std::vector<uint8_t> bytes = EncodeBmp(canvas.Width(), canvas.Height(), canvas.ForFile());
  if (bytes.empty()) {
    std::cerr << "artbuild: cannot encode " << path << "\n";
    return false;
  }
  return WriteBytes(path, bytes);
}

bool ReadText(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "artbuild: cannot read " << path << "\n";
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return true;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;)
    w.push_back(s);
  return w;
}

}  // namespace art
