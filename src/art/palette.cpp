// The fixed palette of numbered drawing colours, and the listing of the palette file.
#include <string>
#include <vector>

#include "art/palette.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/render/draw.h"

namespace {

struct Rgb {
  int r, g, b;
};

// Styles 0..15; styles 16..23 draw white. As a clear colour, 15 is magenta.
constexpr Rgb kColours[16] = {
    {0, 0, 0},     {4, 25, 39},    {0, 0, 0},       {0, 64, 88},
    {0, 136, 180}, {0, 159, 219},  {85, 165, 222},  {122, 201, 255},
    {0, 168, 0},   {218, 96, 33},  {255, 167, 72},  {244, 212, 180},
    {248, 56, 0},  {231, 99, 247}, {133, 133, 133}, {255, 255, 255},
};
constexpr Rgb kClearMagenta = {255, 0, 255};
constexpr int kDrawStyles = 24;
constexpr int kClearStyles = 16;

const char* const kPaletteFile = "24pal.raw";
constexpr int64_t kPaletteBytes = 3 * kDrawStyles;

}  // namespace

int TPalette::FSet(int style) {
  if (style < 0 || style >= kDrawStyles) return 0;
  const Rgb c = style < 16 ? kColours[style] : Rgb{255, 255, 255};
  SetColor(c.r, c.g, c.b);
  return 0;
}

uint32_t TPalette::FRgb(int style) {
  if (style < 0 || style >= kDrawStyles) return 0;
  const Rgb c = style < 16 ? kColours[style] : Rgb{255, 255, 255};
  return (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) |
         static_cast<uint32_t>(c.b);
}

int TPalette::FBGSet(int style) {
  if (style < 0 || style >= kClearStyles) return 0;
  const Rgb c = style == 15 ? kClearMagenta : kColours[style];
  SetClsColor(c.r, c.g, c.b);
  return 0;
}

// Lists the file only; the colours in use stay the fixed ones above.
int TPalette::FRead() {
  if (FileLength(kPaletteFile) < 0 || !OpenFileForRead(kPaletteFile)) {
    PrintLine("Failure to load file.");
    return 0;
  }
  if (FileLength(kPaletteFile) != kPaletteBytes) {
    PrintLine("Wrong size!");
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(kPaletteFile, bytes, kPaletteBytes)) {
    PrintLine("Failure to load file.");
    return 0;
  }
  if (bytes.size() != static_cast<size_t>(kPaletteBytes)) {
    PrintLine("Wrong size!");
    return 0;
  }
  for (int n = 0; n < kDrawStyles; ++n)
    PrintLine("Case " + std::to_string(n) + " SetColor " + std::to_string(bytes[3 * n]) + ", " +
              std::to_string(bytes[3 * n + 1]) + ", " + std::to_string(bytes[3 * n + 2]));
  return 0;
}

int TPalette::Poot() {
  PrintLine("Poot!");
  return 0;
}
