// Image frames, rectangles, text and pixmaps drawn into the back buffer: the pixels a draw
// covers (draw_mapping.h), how its texels become pixels, and the primitives, which hand each
// draw to the journal (draw_journal.h) before drawing it. The common case of the views
// (unscaled, untinted, opaque, mask blend, whole-pixel positions) bypasses the per-pixel
// arithmetic and copies rows; it gives the same pixels.
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/render/alpha_blend.h"
#include "platform/render/blend_composites.h"
#include "platform/render/draw.h"
#include "platform/render/draw_journal.h"
#include "platform/render/draw_mapping.h"
#include "platform/render/font.h"
#include "platform/render/image.h"
#include "platform/render/known_colour_blocks.h"
#include "platform/render/pixel_spans.h"
#include "platform/render/pixmap.h"

namespace {

uint32_t TintChannel(uint32_t texel, int shift, int colour) {
  return (((texel >> shift) & 0xFF) * static_cast<uint32_t>(colour) / 255) << shift;
}

uint32_t Tint(uint32_t texel, const DrawState& s) {
  return TintChannel(texel, 16, s.r) | TintChannel(texel, 8, s.g) | TintChannel(texel, 0, s.b);
}

bool IsWhite(const DrawState& s) {
  return (s.r & s.g & s.b) == 255;
}

// The smallest texel alpha that, times a current alpha under 1, reaches the mask threshold of
// 128; 256 when none does. Found by the same single-precision product the rule states.
uint32_t PartMaskThreshold(float alpha) {
  if (!(alpha > 0.0f)) return 256;
  auto drawn = [alpha](int t) { return static_cast<float>(t) * alpha >= 128.0f; };
  int t = static_cast<int>(std::clamp(std::ceil(128.0f / alpha), 0.0f, 256.0f));
  while (t > 0 && drawn(t - 1))
    --t;
  while (t < 256 && !drawn(t))
    ++t;
  return static_cast<uint32_t>(t);
}

// The threshold at the current alpha: 128 at full alpha, as nearly every draw is made.
inline uint32_t MaskThreshold(double current_alpha) {
  const auto alpha = static_cast<float>(current_alpha);
  return alpha >= 1.0f ? 128 : PartMaskThreshold(alpha);
}

struct FrameSource {
  const uint32_t* texels;
  int width, height;
  bool opaque;
  uint64_t serial = 0;  // 0: not a loaded frame, nothing about it is remembered
  // Every texel white, of alpha 0 or 255 (a glyph): tinted, a texel is the colour or nothing.
  bool white_or_clear = false;
  // A loaded frame, whose runs of texels of alpha 128 or more (image.h) a mask-mode draw may
  // keep to; mirrored: the texels are its reversed rows, whose runs are the frame's reflected.
  const ImageFrame* drawn = nullptr;
  bool mirrored = false;
};

// How one draw turns a run of texels into pixels.
class RowShader {
 public:
  RowShader(const DrawState& s, const FrameSource& frame)
      : State(s),
        Opaque(frame.opaque),
        WhiteOrClear(frame.white_or_clear),
        AlphaBlend(s.blend == kBlendAlpha),
        White(IsWhite(s)),
        Table(AlphaBlend && s.alpha > 0.0 ? BlendTableFor(s.alpha) : nullptr),
        Threshold(AlphaBlend ? 0 : MaskThreshold(s.alpha)),
        TintedWhite(frame.white_or_clear ? Tint(kRgbMask, s) : 0) {}

  // Untinted alpha blending at a non-zero alpha, the draw a kept composite can stand for.
  bool BlendsUntinted() const { return AlphaBlend && White && Table; }
  bool CopiesOpaque() const { return !AlphaBlend && White && Threshold == 128 && Opaque; }
  bool Masks() const { return !AlphaBlend; }
  // Texels of alpha 128 or more, untinted at full alpha in mask mode, are copied as they are.
  bool CopiesDrawnTexels() const { return !AlphaBlend && White && Threshold == 128; }
  double CurrentAlpha() const { return State.alpha; }
  const uint8_t* BlendTable() const { return Table; }

  void Shade(const uint32_t* source, uint32_t* dest, int count) const {
    if (AlphaBlend) {
      // At alpha 0 every pixel stays exactly what it is.
      if (!Table) return;
      if (White) {
        BlendSpanExact(source, dest, count, State.alpha, Table);
      } else {
        BlendTinted(source, dest, count);
      }
    } else if (WhiteOrClear) {
      // Alpha 255 passes any threshold up to 255, alpha 0 none: the mask is the texel's top bit.
      if (Threshold <= 255) PaintSpanMasked(source, dest, count, TintedWhite);
    } else if (White && Threshold == 128) {
      if (Opaque) {
        CopySpanOpaque(source, dest, count);
      } else {
        CopySpanMasked(source, dest, count);
      }
    } else {
      MaskTinted(source, dest, count);
    }
  }

 private:
  void BlendTinted(const uint32_t* source, uint32_t* dest, int count) const {
    for (int i = 0; i < count; ++i) {
      const uint32_t tinted = Tint(source[i], State) | (source[i] & 0xFF000000u);
      BlendSpanExact(&tinted, dest + i, 1, State.alpha, Table);
    }
  }
  void MaskTinted(const uint32_t* source, uint32_t* dest, int count) const {
    for (int i = 0; i < count; ++i) {
      if ((source[i] >> 24) >= Threshold) dest[i] = Tint(source[i], State);
    }
  }

  const DrawState& State;
  bool Opaque, WhiteOrClear, AlphaBlend, White;
  const uint8_t* Table;
  uint32_t Threshold;
  uint32_t TintedWhite;
};

// Blends over a tile or a colour already known to lie beneath come from kept results.
bool DrawFromComposite(const FrameSource& frame, const AxisMap& columns, const AxisMap& rows,
                       const RowShader& shader) {
  if (!frame.serial || !shader.BlendsUntinted() || !columns.direct || !rows.direct) return false;
  return DrawKnownComposite(BlendPlacement{frame.texels, frame.width, frame.height, frame.serial,
                                           columns.first, rows.first, columns.count, rows.count,
                                           columns.offset, rows.offset, shader.CurrentAlpha(),
                                           shader.BlendTable()});
}

// A loaded opaque tile copied whole-pixel is held back: water may cover it next.
bool DeferIfOpaqueCopy(const FrameSource& frame, const AxisMap& columns, const AxisMap& rows,
                       const RowShader& shader) {
  if (!DrawShortcutsOn() || !frame.serial || !shader.CopiesOpaque() || !columns.direct ||
      !rows.direct) {
    return false;
  }
  DeferOpaqueCopy(frame.texels, frame.width, frame.height, frame.serial, columns.first, rows.first,
                  columns.count, rows.count, columns.offset, rows.offset);
  return true;
}

// A mask-mode draw of whole rows run by run: no mask threshold lets a texel of alpha under 128
// through, so the pixels between the runs, and the rows without any, stay as they are. What the
// loop reads is held in locals: the compiler must assume a pixel written may change any int.
void ShadeRuns(const FrameSource& frame, const AxisMap& columns, const AxisMap& rows,
               const RowShader& shader) {
  const int* const rowRuns = frame.drawn->run_rows.data();
  const TexelRun* const runs = frame.drawn->runs.data();
  const int width = frame.width, lo = columns.offset, hi = lo + columns.count, top = rows.offset;
  const bool mirrored = frame.mirrored, copies = shader.CopiesDrawnTexels();
  uint32_t* const corner = RawBackBuffer() + rows.first * kBackBufferWidth + columns.first;
  for (int r = rowRuns[top], last = rowRuns[top + rows.count]; r < last; ++r) {
    const TexelRun run = runs[r];
    const int begin = std::max(lo, mirrored ? width - run.end : run.begin);
    const int end = std::min(hi, mirrored ? width - run.begin : run.end);
    if (begin >= end) continue;
    const uint32_t* source = frame.texels + static_cast<size_t>(run.row) * width + begin;
    uint32_t* dest = corner + (run.row - top) * kBackBufferWidth + (begin - lo);
    if (copies) {
      CopySpanOpaque(source, dest, end - begin);
    } else {
      shader.Shade(source, dest, end - begin);
    }
  }
}

// The frame drawn onto the pixels its axes map to.
void DrawMapped(const FrameSource& frame, const AxisMap& columns, const AxisMap& rows,
                const DrawState& s) {
  static std::array<uint32_t, kBackBufferWidth> gathered;  // kept off the stack
  const RowShader shader(s, frame);
  // The composite may ask what the pixels are known to hold before they change.
  const bool composed = DrawFromComposite(frame, columns, rows, shader);
  ForgetKnownColours(columns.first, rows.first, columns.first + columns.count,
                     rows.first + rows.count);
  if (composed) return;
  LandDeferredCopy();
  if (DeferIfOpaqueCopy(frame, columns, rows, shader)) return;
  if (frame.drawn && columns.direct && rows.direct && shader.Masks()) {
    ShadeRuns(frame, columns, rows, shader);
    return;
  }
  uint32_t* const buffer = RawBackBuffer();
  for (int j = 0; j < rows.count; ++j) {
    const uint32_t* source = frame.texels + static_cast<size_t>(rows.TexelAt(j)) * frame.width;
    if (columns.direct) {
      source += columns.offset;
    } else {
      for (int i = 0; i < columns.count; ++i)
        gathered[i] = source[columns.texel[i]];
      source = gathered.data();
    }
    uint32_t* dest = buffer + (rows.first + j) * kBackBufferWidth + columns.first;
    shader.Shade(source, dest, columns.count);
  }
}

// `scale_x` is the state's, or 1 for a mirrored frame drawn from its reversed rows.
void DrawFrame(const FrameSource& frame, double x, double y, double scale_x, const DrawState& s,
               const PixelRect& clip) {
  static AxisMap columns, rows;  // kept off the stack; drawing is single-threaded
  if (MapPlacement(x, y, frame.width, frame.height, scale_x, s.scale_y, clip, columns, rows)) {
    DrawMapped(frame, columns, rows, s);
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

// Text unscaled from a whole pixel in mask mode, as the read-outs and the editor write it: the
// rows, the threshold and the colour are worked out once for the string, each glyph only finds
// its columns. False when the text needs the general path.
bool WholeText(const DrawState& s, double x, double y) {
  return s.scale_x == 1.0f && s.scale_y == 1.0f && s.blend != kBlendAlpha && WholeNumber(x) &&
         WholeNumber(y);
}

void DrawTextWhole(std::string_view text, double x, double y, const DrawState& s,
                   const PixelRect& clip) {
  static AxisMap columns, rows;
  // A glyph's texels are of alpha 255 or 0: past a threshold of 255 nothing shows at all.
  if (MaskThreshold(s.alpha) > 255) return;
  if (!MapWhole(static_cast<int64_t>(y), kGlyphHeight, clip.y0, clip.y1, rows)) return;
  const uint32_t colour = Tint(kRgbMask, s);
  const TImage& font = FontImage();
  int64_t penX = static_cast<int64_t>(x);
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    if (!GlyphRows(code)) continue;  // no glyph: skipped without moving the pen
    const bool shown = MapWhole(penX, kGlyphWidth, clip.x0, clip.x1, columns);
    penX += kGlyphWidth;
    if (!shown) continue;
    ForgetKnownColours(columns.first, rows.first, columns.first + columns.count,
                       rows.first + rows.count);
    LandDeferredCopy();
    const uint32_t* texels = font.frames[code - 32].argb.data() + columns.offset;
    uint32_t* dest = RawBackBuffer() + rows.first * kBackBufferWidth + columns.first;
    for (int j = 0; j < rows.count; ++j) {
      PaintSpanMasked(texels + (rows.offset + j) * kGlyphWidth, dest + j * kBackBufferWidth,
                      columns.count, colour);
    }
  }
}

// Where an image frame is drawn from: its texels, the start of its first pixel and its scale
// across.
struct ImagePlacement {
  FrameSource source;
  double x, y, scale_x;
};

[[gnu::always_inline]] inline bool PlaceImage(const TImage* image, float x, float y, int frame,
                                              const DrawState& s, ImagePlacement& out) {
  if (!image || frame < 0 || frame >= image->FrameCount()) return false;
  const ImageFrame& cell = image->frames[frame];
  if (image->width <= 0 || image->height <= 0 ||
      cell.argb.size() != static_cast<size_t>(image->width) * image->height) {
    return false;
  }
  const double startX = double{x} + s.origin_x - double{image->handle_x} * s.scale_x;
  const double startY = double{y} + s.origin_y - double{image->handle_y} * s.scale_y;
  out.source = FrameSource{cell.argb.data(), image->width, image->height, cell.opaque, cell.serial};
  // Runs found for the texels the serial names, and for as many rows as the image has.
  if (cell.serial && cell.run_rows.size() == static_cast<size_t>(image->height) + 1) {
    out.source.drawn = &cell;
  }
  out.y = startY;
  // Mirrored from a whole pixel, the frame covers start - width .. start - 1, pixel k of it
  // taking texel width - 1 - k: the reversed rows, drawn unmirrored from start - width.
  if (s.scale_x == -1.0f && cell.serial && WholeNumber(startX) &&
      cell.mirrored.size() == cell.argb.size()) {
    out.source.texels = cell.mirrored.data();
    out.source.serial = 0;  // the serial names the unmirrored texels
    out.source.mirrored = true;
    out.x = startX - image->width;
    out.scale_x = 1.0;
    return true;
  }
  out.x = startX;
  out.scale_x = s.scale_x;
  return true;
}

// The rectangle of pixels two axis maps cover.
PixelRect Bound(const AxisMap& columns, const AxisMap& rows) {
  return {columns.first, rows.first, columns.first + columns.count, rows.first + rows.count};
}

// The pixels a draw covers inside the clip, exactly as drawing maps them.
bool Covered(double x, double y, double w, double h, double scale_x, double scale_y,
             const PixelRect& clip, PixelRect& out) {
  static AxisMap columns, rows;
  if (!MapPlacement(x, y, w, h, scale_x, scale_y, clip, columns, rows)) return false;
  out = Bound(columns, rows);
  return true;
}

int GlyphCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char ch) {
    return GlyphRows(static_cast<unsigned char>(ch)) != nullptr;
  }));
}

bool TextCovers(std::string_view text, double x, double y, const DrawState& s, PixelRect& out) {
  const int glyphs = GlyphCount(text);
  if (glyphs == 0) return false;
  const PixelRect clip = ViewClip(s);
  if (WholeText(s, x, y)) {
    return Covered(x, y, double{kGlyphWidth} * glyphs, kGlyphHeight, 1.0, 1.0, clip, out);
  }
  return CandidateSpan(x, x + double{kGlyphWidth} * glyphs * s.scale_x, clip.x0, clip.x1, out.x0,
                       out.x1) &&
         CandidateSpan(y, y + double{kGlyphHeight} * s.scale_y, clip.y0, clip.y1, out.y0, out.y1);
}

// The drawing state a recorded draw was made in, as far as its pixels go.
DrawState StateOf(const DrawLook& look) {
  DrawState s;
  s.r = static_cast<int>(look.rgb >> 16);
  s.g = static_cast<int>((look.rgb >> 8) & 0xFF);
  s.b = static_cast<int>(look.rgb & 0xFF);
  s.alpha = look.alpha;
  s.blend = look.blend;
  s.scale_x = look.scale_x;
  s.scale_y = look.scale_y;
  s.origin_x = look.origin_x;
  s.origin_y = look.origin_y;
  return s;
}

void PaintImage(const RecordedDraw& d, const DrawState& s, const PixelRect& clip) {
  ImagePlacement place;
  if (!PlaceImage(static_cast<const TImage*>(d.source), d.x, d.y, d.frame, s, place)) return;
  DrawFrame(place.source, place.x, place.y, place.scale_x, s, clip);
}

// The rectangle onto the pixels its axes map to.
void FillMapped(const AxisMap& columns, const AxisMap& rows, const DrawState& s) {
  LandDeferredCopy();
  const uint32_t colour = (static_cast<uint32_t>(s.r) << 16) | (static_cast<uint32_t>(s.g) << 8) |
                          static_cast<uint32_t>(s.b);
  const bool alphaBlend = s.blend == kBlendAlpha;
  // A rectangle is a texel of alpha 255 stretched: in mask mode it fills or leaves, and at
  // alpha 0 a blend leaves every pixel as it is.
  if (alphaBlend ? !(s.alpha > 0.0) : MaskThreshold(s.alpha) > 255) return;
  const int x1 = columns.first + columns.count, y1 = rows.first + rows.count;
  if (!alphaBlend) {
    FillKnowingColours(columns.first, rows.first, x1, y1, colour);
    return;
  }
  ForgetKnownColours(columns.first, rows.first, x1, y1);
  const uint8_t* table = BlendTableFor(s.alpha);
  for (int j = 0; j < rows.count; ++j) {
    uint32_t* dest = RawBackBuffer() + (rows.first + j) * kBackBufferWidth + columns.first;
    for (int i = 0; i < columns.count; ++i)
      dest[i] = BlendPixelByTable(colour, dest[i], table);
  }
}

void PaintRect(const RecordedDraw& d, const DrawState& s, const PixelRect& clip) {
  static AxisMap columns, rows;
  if (MapPlacement(double{d.x} + s.origin_x, double{d.y} + s.origin_y, d.w, d.h, s.scale_x,
                   s.scale_y, clip, columns, rows)) {
    FillMapped(columns, rows, s);
  }
}

void PaintText(std::string_view text, const RecordedDraw& d, const DrawState& s,
               const PixelRect& clip) {
  const double x = double{d.x} + s.origin_x, y = double{d.y} + s.origin_y;
  if (WholeText(s, x, y)) {
    DrawTextWhole(text, x, y, s, clip);
    return;
  }
  const TImage& font = FontImage();
  int drawn = 0;
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    if (!GlyphRows(code)) continue;  // no glyph: skipped without moving the pen
    const double penX = x + static_cast<double>(drawn) * kGlyphWidth * s.scale_x;
    const ImageFrame& glyph = font.frames[code - 32];
    DrawFrame(FrameSource{glyph.argb.data(), kGlyphWidth, kGlyphHeight, false, 0, true}, penX, y,
              s.scale_x, s, clip);
    ++drawn;
  }
}

void PaintPixmap(const RecordedDraw& d, const PixelRect& clip) {
  LandDeferredCopy();
  ForgetKnownColours(clip.x0, clip.y0, clip.x1, clip.y1);
  const int64_t x = d.frame, y = d.frame_y;
  const auto* pixmap = static_cast<const TPixmap*>(d.source);
  uint32_t* buffer = RawBackBuffer();
  for (int64_t j = clip.y0; j < clip.y1; ++j) {
    for (int64_t i = clip.x0; i < clip.x1; ++i) {
      const uint32_t argb = pixmap->ReadPixel(static_cast<int>(i - x), static_cast<int>(j - y));
      buffer[j * kBackBufferWidth + i] = argb & kRgbMask;
    }
  }
}

DrawLook LookOf(const DrawState& s) {
  return DrawLook{s.alpha,
                  s.scale_x,
                  s.scale_y,
                  s.origin_x,
                  s.origin_y,
                  (static_cast<uint32_t>(s.r) << 16) | (static_cast<uint32_t>(s.g) << 8) |
                      static_cast<uint32_t>(s.b),
                  s.blend};
}

// The maps of the draw being taken: drawn whole with them when the journal says so.
AxisMap TakenColumns, TakenRows;

}  // namespace

void PaintDraw(const RecordedDraw& draw, std::string_view text, const PixelRect& clip) {
  const DrawState s = StateOf(draw.look);
  switch (draw.kind) {
    case DrawKind::Image:
      PaintImage(draw, s, clip);
      break;
    case DrawKind::Rect:
      PaintRect(draw, s, clip);
      break;
    case DrawKind::Text:
      PaintText(text, draw, s, clip);
      break;
    case DrawKind::Pixmap:
      PaintPixmap(draw, clip);
      break;
  }
}

// Each primitive maps its draw, then records it in the slot the journal gives (or, when the
// frame's draws are not being kept, in a record of its own) and draws it at once unless the
// journal takes it.

void DrawImageFrame(const TImage* image, float x, float y, int frame) {
  const DrawState& s = CurrentDrawState();
  ImagePlacement place;
  if (!PlaceImage(image, x, y, frame, s, place)) return;
  if (!MapPlacement(place.x, place.y, place.source.width, place.source.height, place.scale_x,
                    s.scale_y, ViewClip(s), TakenColumns, TakenRows)) {
    return;
  }
  RecordedDraw* d = JournalNext();
  if (d) {
    d->kind = DrawKind::Image;
    d->source = image;
    d->frame = frame;
    // A loaded frame's texels never change, so its serial stands for them.
    d->serial = image->frames[frame].serial;
    d->repeatable = d->serial != 0;
    d->look = LookOf(s);
    d->x = x;
    d->y = y;
    d->bound = Bound(TakenColumns, TakenRows);
  }
  if (!d || JournalTake({})) DrawMapped(place.source, TakenColumns, TakenRows, s);
}

void DrawRect(float x, float y, float w, float h) {
  const DrawState& s = CurrentDrawState();
  if (!MapPlacement(double{x} + s.origin_x, double{y} + s.origin_y, w, h, s.scale_x, s.scale_y,
                    ViewClip(s), TakenColumns, TakenRows)) {
    return;
  }
  RecordedDraw* d = JournalNext();
  if (d) {
    d->kind = DrawKind::Rect;
    d->repeatable = true;
    d->look = LookOf(s);
    d->x = x;
    d->y = y;
    d->w = w;
    d->h = h;
    d->bound = Bound(TakenColumns, TakenRows);
  }
  if (!d || JournalTake({})) FillMapped(TakenColumns, TakenRows, s);
}

void DrawTextAt(const std::string& text, float x, float y) {
  const DrawState& s = CurrentDrawState();
  PixelRect bound;
  if (!TextCovers(text, double{x} + s.origin_x, double{y} + s.origin_y, s, bound)) return;
  RecordedDraw own;
  RecordedDraw* slot = JournalNext();
  RecordedDraw& d = slot ? *slot : own;
  d.kind = DrawKind::Text;
  d.repeatable = true;
  d.look = LookOf(s);
  d.x = x;
  d.y = y;
  d.bound = bound;
  if (!slot || JournalTake(text)) PaintText(text, d, s, bound);
}

// Pixmaps may be written between frames: their draws are never left alone.
void DrawPixmap(const TPixmap* pixmap, int x, int y) {
  if (!pixmap) return;
  const PixelRect bound{
      static_cast<int>(std::max<int64_t>(0, x)), static_cast<int>(std::max<int64_t>(0, y)),
      static_cast<int>(std::min<int64_t>(kBackBufferWidth, int64_t{x} + pixmap->width)),
      static_cast<int>(std::min<int64_t>(kBackBufferHeight, int64_t{y} + pixmap->height))};
  if (bound.Empty()) return;
  RecordedDraw own;
  RecordedDraw* slot = JournalNext();
  RecordedDraw& d = slot ? *slot : own;
  d.kind = DrawKind::Pixmap;
  d.source = pixmap;
  d.frame = x;
  d.frame_y = y;
  d.bound = bound;
  if (!slot || JournalTake({})) PaintPixmap(d, bound);
}
