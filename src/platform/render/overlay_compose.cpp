// The overlay's boxes and lines of text drawn into a layer with its own alpha, in the game's
// font, and the layer blended over a picture at any whole scale.
#include "platform/render/overlay_compose.h"

#include <algorithm>
#include <sstream>

#include "platform/render/font.h"

namespace {

constexpr uint32_t kBackingColour = 0x000000;
constexpr uint8_t kBackingAlpha = 170;
constexpr int kBackingPad = 2;
constexpr uint32_t kNoteColour = 0xFFFF80;

struct Canvas {
  OverlayLayer& Pixels;
  int Width, Height;
  bool Drawn = false;

  // Lays colour at alpha over what the layer already holds there (the "over" rule on
  // unpremultiplied colours).
  void Put(int x, int y, uint32_t colour, uint8_t alpha) {
    if (x < 0 || y < 0 || x >= Width || y >= Height || alpha == 0) return;
    uint32_t& pixel = Pixels[static_cast<size_t>(y) * Width + x];
    const uint32_t under_alpha = pixel >> 24;
    const uint32_t a = alpha;
    const uint32_t out_alpha = a + under_alpha * (255 - a) / 255;
    uint32_t out = out_alpha << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
      const uint32_t top = (colour >> shift) & 0xFF;
      const uint32_t under = (pixel >> shift) & 0xFF;
      const uint32_t mixed = (top * a * 255 + under * under_alpha * (255 - a)) / (out_alpha * 255);
      out |= std::min<uint32_t>(mixed, 255) << shift;
    }
    pixel = out;
    Drawn = true;
  }

  void Fill(int x, int y, int width, int height, uint32_t colour, uint8_t alpha) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, Width), y1 = std::min(y + height, Height);
    for (int py = y0; py < y1; ++py)
      for (int px = x0; px < x1; ++px)
        Put(px, py, colour, alpha);
  }
};

// Scene coordinates come from the game; anything huge is simply off the layer.
int Clamped(int value) {
  return std::clamp(value, -100000, 100000);
}

void DrawBox(Canvas& canvas, const OverlayBox& box) {
  const int x = Clamped(box.X), y = Clamped(box.Y);
  const int w = std::clamp(box.Width, 0, 100000), h = std::clamp(box.Height, 0, 100000);
  if (!box.Outline) {
    canvas.Fill(x, y, w, h, box.Colour, box.Alpha);
    return;
  }
  if (w == 0 || h == 0) return;
  canvas.Fill(x, y, w, 1, box.Colour, box.Alpha);
  canvas.Fill(x, y + h - 1, w, 1, box.Colour, box.Alpha);
  canvas.Fill(x, y + 1, 1, h - 2, box.Colour, box.Alpha);
  canvas.Fill(x + w - 1, y + 1, 1, h - 2, box.Colour, box.Alpha);
}

void DrawGlyph(Canvas& canvas, int x, int y, char code, uint32_t colour, uint8_t alpha) {
  const uint8_t* rows = GlyphRows(static_cast<unsigned char>(code));
  if (!rows) return;
  for (int row = 0; row < kGlyphHeight; ++row)
    for (int column = 0; column < kGlyphWidth; ++column)
      if (rows[row] & (0x80 >> column)) canvas.Put(x + column, y + row, colour, alpha);
}

void DrawText(Canvas& canvas, const OverlayText& text) {
  const int x = Clamped(text.X), y = Clamped(text.Y);
  const int length = static_cast<int>(std::min<size_t>(text.Text.size(), 1000));
  if (length == 0) return;
  if (text.Backing) {
    const auto alpha = static_cast<uint8_t>(kBackingAlpha * text.Alpha / 255);
    canvas.Fill(x - kBackingPad, y, length * kGlyphWidth + 2 * kBackingPad, kGlyphHeight,
                kBackingColour, alpha);
  }
  for (int i = 0; i < length; ++i)
    DrawGlyph(canvas, x + i * kGlyphWidth, y, text.Text[static_cast<size_t>(i)], text.Colour,
              text.Alpha);
}

void DrawNote(Canvas& canvas, const std::string& note) {
  const std::vector<std::string> lines = WrapNote(note, canvas.Width / kGlyphWidth - 4);
  const int height = static_cast<int>(lines.size()) * kGlyphHeight;
  int y = (canvas.Height - height) / 2;
  canvas.Fill(0, y - 6, canvas.Width, height + 12, kBackingColour, 220);
  for (const std::string& line : lines) {
    const int x = (canvas.Width - static_cast<int>(line.size()) * kGlyphWidth) / 2;
    DrawText(canvas, {x, y, line, kNoteColour, 255, false});
    y += kGlyphHeight;
  }
}

uint32_t BlendPixel(uint32_t under, uint32_t over) {
  const uint32_t a = over >> 24;
  uint32_t out = under & 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t top = (over >> shift) & 0xFF;
    const uint32_t below = (under >> shift) & 0xFF;
    out |= ((top * a + below * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

std::vector<std::string> WrapNote(const std::string& note, int columns) {
  columns = std::max(columns, 8);
  std::vector<std::string> lines;
  std::istringstream words(note);
  std::string word, line;
  while (words >> word) {
    // A word longer than a line (a deep folder) is cut into line-long pieces.
    while (static_cast<int>(word.size()) > columns) {
      if (!line.empty()) lines.push_back(line), line.clear();
      lines.push_back(word.substr(0, static_cast<size_t>(columns)));
      word.erase(0, static_cast<size_t>(columns));
    }
    if (word.empty()) continue;
    if (!line.empty() && static_cast<int>(line.size() + 1 + word.size()) > columns) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool ComposeOverlayLayer(const OverlayScene& scene, const std::string& note, int width, int height,
                         OverlayLayer& layer) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  layer.assign(static_cast<size_t>(width) * height, 0);
  Canvas canvas{layer, width, height};
  for (const OverlayBox& box : scene.Boxes)
    DrawBox(canvas, box);
  for (const OverlayText& text : scene.Texts)
    DrawText(canvas, text);
  if (!note.empty()) DrawNote(canvas, note);
  return canvas.Drawn;
}

void BlendOverlayLayer(const OverlayLayer& layer, int width, int height, uint8_t* buffer,
                       const OverlayPlacement& where) {
  BlendOverlayArea(layer, width, height, {0, 0, width, height}, buffer, where);
}

void BlendOverlayArea(const OverlayLayer& layer, int width, int height, const LayerArea& area,
                      uint8_t* buffer, const OverlayPlacement& where) {
  if (!buffer || where.Scale < 1 || layer.size() < static_cast<size_t>(width) * height) return;
  const int x0 = std::max(area.X0, 0), x1 = std::min(area.X1, width);
  const int y0 = std::max(area.Y0, 0), y1 = std::min(area.Y1, height);
  for (int fy = y0; fy < y1; ++fy) {
    for (int fx = x0; fx < x1; ++fx) {
      const uint32_t over = layer[static_cast<size_t>(fy) * width + fx];
      if ((over >> 24) == 0) continue;
      for (int sy = 0; sy < where.Scale; ++sy) {
        const int y = where.Top + fy * where.Scale + sy;
        if (y < 0 || y >= where.BufferHeight) continue;
        auto* row = reinterpret_cast<uint32_t*>(buffer + static_cast<size_t>(y) * where.PitchBytes);
        for (int sx = 0; sx < where.Scale; ++sx) {
          const int x = where.Left + fx * where.Scale + sx;
          if (x >= 0 && x < where.BufferWidth) row[x] = BlendPixel(row[x], over);
        }
      }
    }
  }
}

std::vector<uint32_t> FrameWithOverlay(const uint32_t* frame, int width, int height) {
  std::vector<uint32_t> picture(frame, frame + static_cast<size_t>(width) * height);
  OverlayLayer layer;
  if (ComposeOverlayLayer(CurrentOverlayScene(), CurrentOverlayNote(), width, height, layer)) {
    const OverlayPlacement where{0, 0, 1, width, height, width * 4};
    BlendOverlayLayer(layer, width, height, reinterpret_cast<uint8_t*>(picture.data()), where);
  }
  return picture;
}
