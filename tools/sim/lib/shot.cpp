// The screenshot: the back buffer written as a 24-bit BMP.
#include "shot.h"

#include "platform/bmp.h"
#include "platform/render/draw.h"

bool WriteShot(const std::string& path) {
  return WriteBmp24(path, kBackBufferWidth, kBackBufferHeight, FinishedBackBuffer());
}
