// Pixel buffers in the six byte layouts, exchanged with callers as ARGB values.
#include "platform/render/pixmap.h"

#include "platform/bmp.h"

namespace {

// Nothing the game makes comes near this; it keeps a bad size from exhausting memory.
constexpr int64_t kMaxPixmapBytes = int64_t{1} << 28;
constexpr int kFileAlignment = 4;

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

int PixmapBytesPerPixel(int format) {
  switch (format) {
    case kFormatIntensity:
    case kFormatAlpha:
      return 1;
    case kFormatBGR:
    case kFormatRGB:
      return 3;
    case kFormatBGRA:
    case kFormatRGBA:
      return 4;
    default:
      return 0;
  }
}

std::shared_ptr<TPixmap> TPixmap::Create(int width, int height, int format, int alignment) {
  const int bpp = PixmapBytesPerPixel(format);
  if (bpp == 0 || width <= 0 || height <= 0) return nullptr;
  if (width > kMaxBitmapDimension || height > kMaxBitmapDimension) return nullptr;
  const int64_t align = alignment > 1 ? alignment : 1;
  if (align > 4096) return nullptr;
  const int64_t pitch = (int64_t{width} * bpp + align - 1) / align * align;
  const int64_t capacity = pitch * height;
  if (capacity > kMaxPixmapBytes) return nullptr;
  auto pixmap = std::make_shared<TPixmap>();
  pixmap->pixels.assign(static_cast<size_t>(capacity), 0);
  pixmap->width = width;
  pixmap->height = height;
  pixmap->pitch = static_cast<int>(pitch);
  pixmap->format = format;
  pixmap->capacity = static_cast<int>(capacity);
  return pixmap;
}

uint32_t TPixmap::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const uint8_t* p = pixels.data() + static_cast<size_t>(y) * pitch +
                     static_cast<size_t>(x) * PixmapBytesPerPixel(format);
  switch (format) {
    case kFormatIntensity:
      return Argb(255, p[0], p[0], p[0]);
    case kFormatAlpha:
      return Argb(p[0], 255, 255, 255);
    case kFormatBGR:
      return Argb(255, p[2], p[1], p[0]);
    case kFormatRGB:
      return Argb(255, p[0], p[1], p[2]);
    case kFormatBGRA:
      return Argb(p[3], p[2], p[1], p[0]);
    case kFormatRGBA:
      return Argb(p[3], p[0], p[1], p[2]);
    default:
      return 0;
  }
}

void TPixmap::WritePixel(int x, int y, uint32_t argb) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  uint8_t* p = pixels.data() + static_cast<size_t>(y) * pitch +
               static_cast<size_t>(x) * PixmapBytesPerPixel(format);
  const uint8_t a = static_cast<uint8_t>(argb >> 24), r = static_cast<uint8_t>(argb >> 16),
                g = static_cast<uint8_t>(argb >> 8), b = static_cast<uint8_t>(argb);
  switch (format) {
    case kFormatIntensity:
      p[0] = static_cast<uint8_t>((r + g + b) / 3);
      break;
    case kFormatAlpha:
      p[0] = a;
      break;
    case kFormatBGR:
      p[0] = b, p[1] = g, p[2] = r;
      break;
    case kFormatRGB:
      p[0] = r, p[1] = g, p[2] = b;
      break;
    case kFormatBGRA:
      p[0] = b, p[1] = g, p[2] = r, p[3] = a;
      break;
    case kFormatRGBA:
      p[0] = r, p[1] = g, p[2] = b, p[3] = a;
      break;
    default:
      break;
  }
}

std::shared_ptr<TPixmap> LoadPixmapFile(const std::string& path) {
  const std::optional<DecodedBitmap> bitmap = LoadBmpFile(path);
  if (!bitmap) return nullptr;
  const int format = bitmap->hasAlpha ? kFormatBGRA : kFormatBGR;
  auto pixmap = TPixmap::Create(bitmap->width, bitmap->height, format, kFileAlignment);
  if (!pixmap) return nullptr;
  for (int y = 0; y < bitmap->height; ++y) {
    for (int x = 0; x < bitmap->width; ++x) {
      pixmap->WritePixel(x, y, bitmap->argb[static_cast<size_t>(y) * bitmap->width + x]);
    }
  }
  return pixmap;
}
