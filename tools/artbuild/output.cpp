// Writing the builder's files: BMPs and raw bytes written beside the target and renamed over
// it, so an interrupted build never leaves a cut-off file.
#include "output.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/bmp.h"

namespace art {

std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint32_t>& argb) {
  if (argb.size() != size_t(width) * size_t(height)) return {};
  return EncodeBmp24(width, height, argb.data());
}

// Written beside the target and renamed over it, so a failed write leaves the last good file
// (or none), never a cut-off one.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".part";
  bool ok;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out) out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ok = bool(out);
    out.close();
    ok = ok && !out.fail();
  }
  std::error_code ec;
  if (ok) std::filesystem::rename(temp, path, ec);
  if (!ok || ec) {
    std::filesystem::remove(temp, ec);
    std::cerr << "artbuild: cannot write " << path << "\n";
    return false;
  }
  return true;
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
