// Images cut from bitmap files: whole-file images, sheets cut into cells, and the mask colour
// that turns one exact colour transparent.
#include <algorithm>

#include "platform/bmp.h"
#include "platform/render/blend_composites.h"
#include "platform/render/draw.h"
#include "platform/render/draw_journal.h"
#include "platform/render/image.h"

namespace {

int MaskR = 0, MaskG = 0, MaskB = 0;

uint32_t Rgb(uint32_t argb) {
  return argb & kRgbMask;
}

struct FrameCut {
  const DecodedBitmap* sheet;
  int left, top, width, height;
};

ImageFrame CopyFrame(const FrameCut& cut) {
  ImageFrame frame;
  frame.argb.resize(static_cast<size_t>(cut.width) * cut.height);
  for (int y = 0; y < cut.height; ++y) {
    const uint32_t* source =
        cut.sheet->argb.data() + static_cast<size_t>(cut.top + y) * cut.sheet->width + cut.left;
    std::copy(source, source + cut.width, frame.argb.begin() + static_cast<size_t>(y) * cut.width);
  }
  return frame;
}

// The average of the non-mask neighbours keeps the colour of a transparent texel close to its
// surroundings, so a scaled or filtered draw does not bleed the mask colour in at the edges.
uint32_t NeighbourAverage(const std::vector<uint32_t>& original, int width, int height, int x,
                          int y, uint32_t mask) {
  uint32_t sumR = 0, sumG = 0, sumB = 0, count = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
      const uint32_t colour = Rgb(original[static_cast<size_t>(ny) * width + nx]);
      if (colour == mask) continue;
      sumR += colour >> 16;
      sumG += (colour >> 8) & 0xFF;
      sumB += colour & 0xFF;
      ++count;
    }
  }
  if (count == 0) return 0;
  return ((sumR / count) << 16) | ((sumG / count) << 8) | (sumB / count);
}

void MaskFrame(ImageFrame& frame, int width, int height, uint32_t mask) {
  const std::vector<uint32_t> original = frame.argb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t& texel = frame.argb[static_cast<size_t>(y) * width + x];
      if (Rgb(texel) == mask) {
        texel = NeighbourAverage(original, width, height, x, y, mask);
      } else {
        texel = 0xFF000000u | Rgb(texel);
      }
    }
  }
}

void AddMirror(ImageFrame& frame, int width) {
  frame.mirrored = frame.argb;
  for (auto row = frame.mirrored.begin(); row < frame.mirrored.end(); row += width)
    std::reverse(row, row + width);
}

void MarkOpaque(ImageFrame& frame) {
  frame.opaque = std::all_of(frame.argb.begin(), frame.argb.end(),
                             [](uint32_t texel) { return (texel >> 24) == 0xFF; });
}

std::shared_ptr<TImage> NewImage(int width, int height, int flags) {
  auto image = std::make_shared<TImage>();
  image->width = width;
  image->height = height;
  image->flags = flags;
  image->mask_r = MaskR;
  image->mask_g = MaskG;
  image->mask_b = MaskB;
  return image;
}

// A 32-bit file brings its own alpha and is never masked.
void AddFrame(TImage& image, const FrameCut& cut, bool masked) {
  ImageFrame frame = CopyFrame(cut);
  if (masked) {
    const uint32_t mask = (static_cast<uint32_t>(image.mask_r & 0xFF) << 16) |
                          (static_cast<uint32_t>(image.mask_g & 0xFF) << 8) |
                          static_cast<uint32_t>(image.mask_b & 0xFF);
    MaskFrame(frame, cut.width, cut.height, mask);
  }
  MarkOpaque(frame);
  AddMirror(frame, cut.width);
  FindDrawnRuns(frame, cut.width);
  frame.serial = NextFrameSerial();
  image.frames.push_back(std::move(frame));
}

bool WantsMask(const DecodedBitmap& sheet, int flags) {
  return (flags & kImageMasked) && !sheet.hasAlpha;
}

}  // namespace

TImage::~TImage() {
  JournalLandAll();
  LandDeferredCopy();
}

uint64_t NextFrameSerial() {
  static uint64_t last = 0;
  return ++last;
}

void FindDrawnRuns(ImageFrame& frame, int width) {
  frame.run_rows.assign(1, 0);
  frame.runs.clear();
  auto drawn = [](uint32_t texel) { return texel >= 0x80000000u; };
  for (auto row = frame.argb.begin(); width > 0 && row < frame.argb.end(); row += width) {
    for (auto at = std::find_if(row, row + width, drawn); at < row + width;) {
      const auto end = std::find_if_not(at, row + width, drawn);
      frame.runs.push_back({static_cast<int>(frame.run_rows.size() - 1), static_cast<int>(at - row),
                            static_cast<int>(end - row)});
      at = std::find_if(end, row + width, drawn);
    }
    frame.run_rows.push_back(static_cast<int>(frame.runs.size()));
  }
}

void SetLoadMaskColor(int r, int g, int b) {
  MaskR = std::clamp(r, 0, 255);
  MaskG = std::clamp(g, 0, 255);
  MaskB = std::clamp(b, 0, 255);
}

std::shared_ptr<TImage> TImage::Load(const std::string& file, int flags) {
  const std::optional<DecodedBitmap> sheet = LoadBmpFile(file);
  if (!sheet) return nullptr;
  auto image = NewImage(sheet->width, sheet->height, flags);
  AddFrame(*image, FrameCut{&*sheet, 0, 0, sheet->width, sheet->height}, WantsMask(*sheet, flags));
  return image;
}

std::shared_ptr<TImage> TImage::LoadAnim(const std::string& file, int cell_width, int cell_height,
                                         int first_cell, int cell_count, int flags) {
  if (cell_width <= 0 || cell_height <= 0 || first_cell < 0 || cell_count <= 0) return nullptr;
  const std::optional<DecodedBitmap> sheet = LoadBmpFile(file);
  if (!sheet) return nullptr;
  // Strips narrower than a cell at the right and bottom are ignored.
  const int64_t across = sheet->width / cell_width;
  const int64_t down = sheet->height / cell_height;
  if (across * down < int64_t{first_cell} + cell_count) return nullptr;
  auto image = NewImage(cell_width, cell_height, flags);
  image->frames.reserve(static_cast<size_t>(cell_count));
  const bool masked = WantsMask(*sheet, flags);
  for (int k = 0; k < cell_count; ++k) {
    const int64_t cell = int64_t{first_cell} + k;
    const int left = static_cast<int>(cell % across) * cell_width;
    const int top = static_cast<int>(cell / across) * cell_height;
    AddFrame(*image, FrameCut{&*sheet, left, top, cell_width, cell_height}, masked);
  }
  return image;
}
