// Image frames, rectangles, text and pixmaps drawn into the back buffer.
//
// A destination pixel is covered when its centre lies inside the transformed frame, and takes
// the texel floor((centre - start) / scale): nearest sampling that treats mirrored and halved
// draws alike. The common case of the views (unscaled, untinted, opaque, mask blend, whole-pixel
// positions) bypasses the per-pixel arithmetic and copies rows; it gives the same pixels.
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/draw.h"
#include "platform/font.h"
#include "platform/image.h"
#include "platform/pixmap.h"

namespace {

constexpr int kBlendAlpha = 3;
constexpr uint32_t kRgbMask = 0xFFFFFF;

struct ClipRect {
  int x0, y0, x1, y1;  // half-open
};

// The clipping rectangle, and the buffer itself, independent of the origin.
ClipRect CurrentClip(const DrawState& s) {
  const int64_t x0 = std::max<int64_t>(0, s.view_x);
  const int64_t y0 = std::max<int64_t>(0, s.view_y);
  const int64_t x1 = std::min<int64_t>(kBackBufferWidth, int64_t{s.view_x} + s.view_w);
  const int64_t y1 = std::min<int64_t>(kBackBufferHeight, int64_t{s.view_y} + s.view_h);
  return ClipRect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1),
                  static_cast<int>(y1)};
}

// The pixels one axis of a draw covers: a contiguous run and the texel each pixel samples.
struct Span {
  int first = 0;
  int count = 0;
  std::array<int, kBackBufferWidth> texel;
};

int ClampToAxis(double value, int lo, int hi) {
  if (!(value > lo)) return lo;
  if (value > hi) return hi;
  return static_cast<int>(value);
}

bool CoverAxis(double start, double scale, double extent, int lo, int hi, Span& span) {
  if (!std::isfinite(start) || !std::isfinite(scale) || scale == 0.0 || !(extent > 0.0)) {
    return false;
  }
  const double end = start + extent * scale;
  // Candidate pixels, one wider on each side; the centre test below decides exactly.
  const int from = ClampToAxis(std::floor(std::min(start, end) - 0.5), lo, hi);
  const int to = ClampToAxis(std::ceil(std::max(start, end)) + 1.0, lo, hi);
  span.count = 0;
  for (int i = from; i < to; ++i) {
    const double u = (i + 0.5 - start) / scale;
    if (!(u >= 0.0 && u < extent)) {
      if (span.count > 0) break;
      continue;
    }
    if (span.count == 0) span.first = i;
    span.texel[span.count++] = static_cast<int>(u);
  }
  return span.count > 0;
}

uint32_t TintChannel(uint32_t texel, int shift, int colour) {
  return (((texel >> shift) & 0xFF) * static_cast<uint32_t>(colour) / 255) << shift;
}

uint32_t Tint(uint32_t texel, const DrawState& s) {
  if ((s.r & s.g & s.b) == 255) return texel & kRgbMask;
  return TintChannel(texel, 16, s.r) | TintChannel(texel, 8, s.g) | TintChannel(texel, 0, s.b);
}

// source * a + destination * (1 - a) with a in 256ths; red and blue share one multiply, and
// the lanes never carry into each other.
uint32_t BlendAlpha(uint32_t source, uint32_t dest, uint32_t a) {
  const uint32_t keep = 256 - a;
  const uint32_t rb = (((source & 0xFF00FF) * a + (dest & 0xFF00FF) * keep) >> 8) & 0xFF00FF;
  const uint32_t g = (((source & 0x00FF00) * a + (dest & 0x00FF00) * keep) >> 8) & 0x00FF00;
  return rb | g;
}

uint32_t Alpha256(float alpha) {
  return static_cast<uint32_t>(std::lround(alpha * 256.0f));
}

struct FrameSource {
  const uint32_t* texels;
  int width, height;
  bool opaque;
};

void BlitRowMasked(const uint32_t* source, uint32_t* dest, int count) {
  for (int k = 0; k < count; ++k) {
    const uint32_t texel = source[k];
    if (texel >= 0x80000000u) dest[k] = texel & kRgbMask;
  }
}

void BlitRowOpaque(const uint32_t* source, uint32_t* dest, int count) {
  for (int k = 0; k < count; ++k)
    dest[k] = source[k] & kRgbMask;
}

// Scale 1, whole-pixel start, white, alpha 1, mask blend: texel (i - x, j - y) lands on (i, j).
void BlitUnscaled(const FrameSource& frame, int64_t x, int64_t y, const ClipRect& clip) {
  const int64_t x0 = std::max<int64_t>(x, clip.x0),
                x1 = std::min<int64_t>(x + frame.width, clip.x1);
  const int64_t y0 = std::max<int64_t>(y, clip.y0),
                y1 = std::min<int64_t>(y + frame.height, clip.y1);
  if (x0 >= x1 || y0 >= y1) return;
  const int count = static_cast<int>(x1 - x0);
  uint32_t* buffer = BackBuffer();
  for (int64_t j = y0; j < y1; ++j) {
    const uint32_t* source = frame.texels + (j - y) * frame.width + (x0 - x);
    uint32_t* dest = buffer + j * kBackBufferWidth + x0;
    if (frame.opaque) {
      BlitRowOpaque(source, dest, count);
    } else {
      BlitRowMasked(source, dest, count);
    }
  }
}

void BlitGeneral(const FrameSource& frame, double x, double y, const DrawState& s,
                 const ClipRect& clip) {
  static Span columns, rows;  // kept off the stack; drawing is single-threaded
  if (!CoverAxis(x, s.scale_x, frame.width, clip.x0, clip.x1, columns)) return;
  if (!CoverAxis(y, s.scale_y, frame.height, clip.y0, clip.y1, rows)) return;
  const bool alphaBlend = s.blend == kBlendAlpha;
  const uint32_t alpha256 = Alpha256(s.alpha);
  for (int j = 0; j < rows.count; ++j) {
    const uint32_t* source = frame.texels + static_cast<size_t>(rows.texel[j]) * frame.width;
    uint32_t* dest = BackBuffer() + (rows.first + j) * kBackBufferWidth + columns.first;
    for (int i = 0; i < columns.count; ++i) {
      const uint32_t texel = source[columns.texel[i]];
      const uint32_t texelAlpha = texel >> 24;
      if (alphaBlend) {
        const uint32_t a = (texelAlpha * alpha256 + 127) / 255;
        if (a > 0) dest[i] = BlendAlpha(Tint(texel, s), dest[i], a);
      } else if (static_cast<float>(texelAlpha) * s.alpha >= 128.0f) {
        dest[i] = Tint(texel, s);
      }
    }
  }
}

bool WholePixel(double v) {
  return v == std::floor(v) && std::fabs(v) < 1e9;
}

void DrawFrame(const FrameSource& frame, double x, double y) {
  const DrawState& s = CurrentDrawState();
  const ClipRect clip = CurrentClip(s);
  if (clip.x0 >= clip.x1 || clip.y0 >= clip.y1) return;
  const bool plain = s.scale_x == 1.0f && s.scale_y == 1.0f && s.alpha >= 1.0f &&
                     s.blend != kBlendAlpha && (s.r & s.g & s.b) == 255;
  if (plain && WholePixel(x) && WholePixel(y)) {
    BlitUnscaled(frame, static_cast<int64_t>(x), static_cast<int64_t>(y), clip);
  } else {
    BlitGeneral(frame, x, y, s, clip);
  }
}

void FillRows(const Span& columns, const Span& rows, uint32_t colour) {
  for (int j = 0; j < rows.count; ++j) {
    uint32_t* dest = BackBuffer() + (rows.first + j) * kBackBufferWidth + columns.first;
    std::fill_n(dest, columns.count, colour);
  }
}

void BlendRows(const Span& columns, const Span& rows, uint32_t colour, uint32_t a) {
  for (int j = 0; j < rows.count; ++j) {
    uint32_t* dest = BackBuffer() + (rows.first + j) * kBackBufferWidth + columns.first;
    for (int i = 0; i < columns.count; ++i)
      dest[i] = BlendAlpha(colour, dest[i], a);
  }
}

// The font as an image of 96 frames, white where a glyph is set and transparent elsewhere.
const TImage& FontImage() {
  static const TImage font = [] {
    TImage image;
    image.width = kGlyphWidth;
    image.height = kGlyphHeight;
    for (int code = 32; code <= 127; ++code) {
      const uint8_t* rows = GlyphRows(code);
      ImageFrame frame;
      frame.argb.resize(kGlyphWidth * kGlyphHeight);
      for (int y = 0; y < kGlyphHeight; ++y) {
        for (int x = 0; x < kGlyphWidth; ++x) {
          const bool set = (rows[y] >> (7 - x)) & 1;
          frame.argb[y * kGlyphWidth + x] = set ? 0xFFFFFFFFu : 0x00FFFFFFu;
        }
      }
      image.frames.push_back(std::move(frame));
    }
    return image;
  }();
  return font;
}

}  // namespace

void DrawImageFrame(const TImage* image, float x, float y, int frame) {
  if (!image || frame < 0 || frame >= image->FrameCount()) return;
  const ImageFrame& cell = image->frames[frame];
  if (image->width <= 0 || image->height <= 0 ||
      cell.argb.size() != static_cast<size_t>(image->width) * image->height) {
    return;
  }
  const DrawState& s = CurrentDrawState();
  const double startX = double{x} + s.origin_x - double{image->handle_x} * s.scale_x;
  const double startY = double{y} + s.origin_y - double{image->handle_y} * s.scale_y;
  DrawFrame(FrameSource{cell.argb.data(), image->width, image->height, cell.opaque}, startX,
            startY);
}

void DrawRect(float x, float y, float w, float h) {
  const DrawState& s = CurrentDrawState();
  const ClipRect clip = CurrentClip(s);
  if (clip.x0 >= clip.x1 || clip.y0 >= clip.y1) return;
  static Span columns, rows;
  if (!CoverAxis(double{x} + s.origin_x, s.scale_x, w, clip.x0, clip.x1, columns)) return;
  if (!CoverAxis(double{y} + s.origin_y, s.scale_y, h, clip.y0, clip.y1, rows)) return;
  const uint32_t colour = (static_cast<uint32_t>(s.r) << 16) | (static_cast<uint32_t>(s.g) << 8) |
                          static_cast<uint32_t>(s.b);
  if (s.blend == kBlendAlpha) {
    const uint32_t a = Alpha256(s.alpha);
    if (a > 0) BlendRows(columns, rows, colour, a);
  } else if (255.0f * s.alpha >= 128.0f) {
    FillRows(columns, rows, colour);
  }
}

void DrawTextAt(const std::string& text, float x, float y) {
  const TImage& font = FontImage();
  const DrawState& s = CurrentDrawState();
  int drawn = 0;
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    if (!GlyphRows(code)) continue;  // no glyph: skipped without moving the pen
    const double penX =
        double{x} + s.origin_x + static_cast<double>(drawn) * kGlyphWidth * s.scale_x;
    const ImageFrame& glyph = font.frames[code - 32];
    DrawFrame(FrameSource{glyph.argb.data(), kGlyphWidth, kGlyphHeight, false}, penX,
              double{y} + s.origin_y);
    ++drawn;
  }
}

void DrawPixmap(const TPixmap* pixmap, int x, int y) {
  if (!pixmap) return;
  const int64_t x0 = std::max<int64_t>(0, x);
  const int64_t y0 = std::max<int64_t>(0, y);
  const int64_t x1 = std::min<int64_t>(kBackBufferWidth, int64_t{x} + pixmap->width);
  const int64_t y1 = std::min<int64_t>(kBackBufferHeight, int64_t{y} + pixmap->height);
  uint32_t* buffer = BackBuffer();
  for (int64_t j = y0; j < y1; ++j) {
    for (int64_t i = x0; i < x1; ++i) {
      const uint32_t argb = pixmap->ReadPixel(static_cast<int>(i - x), static_cast<int>(j - y));
      buffer[j * kBackBufferWidth + i] = argb & kRgbMask;
    }
  }
}
