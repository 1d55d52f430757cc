#include "output.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace art {

namespace {
void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
}  // namespace

std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint32_t>& argb) {
  const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * uint32_t(height);
  std::vector<uint8_t> b;
  b.reserve(54 + imageBytes);
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + imageBytes);  // file size
  Put32(b, 0);                // reserved
  Put32(b, 54);               // pixel data offset
  Put32(b, 40);               // info header size
  Put32(b, uint32_t(width));
  Put32(b, uint32_t(height));  // positive: bottom row first
  Put16(b, 1);                 // planes
  Put16(b, 24);                // bits per pixel
  Put32(b, 0);                 // no compression
  Put32(b, imageBytes);
  Put32(b, 2835);  // 72 dots per inch, both ways
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = height - 1; y >= 0; --y) {
    size_t start = b.size();
    for (int x = 0; x < width; ++x) {
      uint32_t c = argb[size_t(y) * width + x];
      b.push_back(uint8_t(c));
      b.push_back(uint8_t(c >> 8));
      b.push_back(uint8_t(c >> 16));
    }
    while (b.size() - start < rowBytes)
      b.push_back(0);
  }
  return b;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) {
    std::cerr << "artbuild: cannot write " << path << "\n";
    return false;
  }
  return true;
}

bool WriteCanvas(const std::string& path, const Canvas& canvas) {
  return WriteBytes(path, EncodeBmp(canvas.Width(), canvas.Height(), canvas.ForFile()));
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

}  // namespace art
