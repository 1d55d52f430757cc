// The screenshot: the back buffer written as a 24-bit BMP.
#include "shot.h"

#include "platform/bmp.h"
#include "platform/render/draw.h"
#include "platform/render/overlay_compose.h"

bool WriteShot(const std::string& path, bool overlay, std::string& why) {
  if (!overlay) {
    return WriteBmp24(path, kBackBufferWidth, kBackBufferHeight, FinishedBackBuffer(), why);
  }
  const std::vector<uint32_t> picture =
      FrameWithOverlay(FinishedBackBuffer(), kBackBufferWidth, kBackBufferHeight);
  return WriteBmp24(path, kBackBufferWidth, kBackBufferHeight, picture.data(), why);
}
