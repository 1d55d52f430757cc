// The reference image: one pixel per map cell, a block style written as three base-8 digits
// in the red, green and blue channels.
#include "art/ref_image.h"

#include <string>

#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/render/draw.h"
#include "platform/render/pixmap.h"
#include "world/map.h"

std::shared_ptr<TPixmap> RefImagePixmap;
int32_t RefImageWidth, RefImageHeight;

namespace {
constexpr int kImageWidth = 75;
constexpr int kImageHeight = 54;
// One written pixel in a hundred is echoed to the console; single precision, as every
// chance in the game is rolled.
constexpr double kEchoChance = 0.01f;

bool InsideImage(int x, int y) {
  return x >= 0 && x < RefImageWidth && y >= 0 && y < RefImageHeight;
}

// A whole-image pass can run long: Escape ends the program even in the middle of one.
void QuitOnEscape() {
  if (CommandPresses(Command::kQuit)) EndProgram(0);
}

void UseFreshImage() {
  RefImagePixmap = TPixmap::Create(kImageWidth, kImageHeight, kFormatRGBA, 4);
  RefImageWidth = RefImagePixmap ? kImageWidth : 0;
  RefImageHeight = RefImagePixmap ? kImageHeight : 0;
}
}  // namespace

int TRefImage::FResetTables() {
  RefImagePixmap = nullptr;
  RefImageWidth = RefImageHeight = 0;
  return 0;
}

int TRefImage::FBoot() {
  RefImagePixmap = LoadPixmapFile("BlockMapImage.bmp");
  if (!RefImagePixmap) {
    PrintLine("No BlockMapImage.bmp found");
    EndProgram(0);
  }
  RefImageWidth = RefImagePixmap->width;
  RefImageHeight = RefImagePixmap->height;
  if (RefImageWidth == kImageWidth && RefImageHeight == kImageHeight) {
    PrintLine("Loaded Pixmap");
    return 0;
  }
  // Any other size is not an error: a blank image of the map's size takes its place.
  UseFreshImage();
  PrintLine("Created Pixmap");
  return 0;
}

int TRefImage::FUpdate() {
  for (int y = 0; y < RefImageHeight; ++y)
    for (int x = 0; x < RefImageWidth; ++x)
      FSetPixel(x, y, TMap::FBlockStyleAtCell(x, y));
  return 0;
}

int TRefImage::FRead() {
  // The styles are read for their Escape checks only; nothing applies them to the map yet.
  for (int y = 0; y < RefImageHeight; ++y)
    for (int x = 0; x < RefImageWidth; ++x)
      FCheckPixel(x, y);
  return 0;
}

int TRefImage::FDraw(int x, int y) {
  SetColor(255, 255, 255);
  DrawPixmap(RefImagePixmap.get(), x, y);
  return 0;
}

int TRefImage::FSetPixel(int x, int y, int style) {
  if (!InsideImage(x, y) || !RefImagePixmap) return 0;
  QuitOnEscape();
  const int b = style / 64;
  const int rest = style - b * 64;
  const int g = rest / 8;
  const int r = rest - g * 8;
  // The digits themselves, not scaled by 32: alpha stays 0.
  const int value = r * 65536 + g * 256 + b;
  if (RandomRange(1, 0) < kEchoChance) {
    PrintLine(" rest" + std::to_string(r) + "     r" + std::to_string(r) + "  g" +
              std::to_string(g) + "  b" + std::to_string(b) + "    argb" + std::to_string(value));
  }
  RefImagePixmap->WritePixel(x, y, static_cast<uint32_t>(value));
  return 0;
}

int TRefImage::FCheckPixel(int x, int y) {
  if (!InsideImage(x, y) || !RefImagePixmap) return 0;
  QuitOnEscape();
  const uint32_t argb = RefImagePixmap->ReadPixel(x, y);
  const int red = (argb >> 16) & 0xFF;
  const int green = (argb >> 8) & 0xFF;
  const int blue = argb & 0xFF;
  return red / 32 + (green / 32) * 8 + (blue / 32) * 64;
}
