// 24pal.raw: the game's 24 drawing colours, three bytes each (red, green, blue).
#include "palette_file.h"

#include "builders.h"
#include "output.h"

namespace art {

std::vector<uint8_t> PaletteBytes() {
  static const uint8_t kColours[24][3] = {
      {0, 0, 0},       {4, 25, 39},     {0, 0, 0},       {0, 64, 88},     {0, 136, 180},
      {0, 159, 219},   {85, 165, 222},  {122, 201, 255}, {0, 168, 0},     {218, 96, 33},
      {255, 167, 72},  {244, 212, 180}, {248, 56, 0},    {231, 99, 247},  {133, 133, 133},
      {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255},
      {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}};
  std::vector<uint8_t> bytes;
  for (const auto& c : kColours)
    bytes.insert(bytes.end(), c, c + 3);
  return bytes;
}

bool BuildPalette(const std::string& outDir) {
  return WriteBytes(outDir + "/24pal.raw", PaletteBytes());
}

}  // namespace art
