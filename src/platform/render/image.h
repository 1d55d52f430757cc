// Images made of equally sized frames, cut from bitmap files with a mask colour.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int kImageMasked = 1;
constexpr int kImageFiltered = 2;  // not used by the game

// The colour that later image loads turn transparent (initially 0, 0, 0).
void SetLoadMaskColor(int r, int g, int b);

// A loaded frame's serial. It moves with its frame, but a copy starts at 0, as a frame built by
// hand: whoever copies a frame may change the copy's texels, which the serial no longer names.
class FrameSerial {
 public:
  FrameSerial() = default;
  FrameSerial(uint64_t value) : Value(value) {}  // NOLINT: given as a number by the loader
  FrameSerial(const FrameSerial&) {}
  FrameSerial(FrameSerial&& other) noexcept : Value(other.Value) {}
  FrameSerial& operator=(const FrameSerial&) {
    Value = 0;
    return *this;
  }
  FrameSerial& operator=(FrameSerial&& other) noexcept {
    Value = other.Value;
    return *this;
  }
  operator uint64_t() const { return Value; }  // NOLINT: read as the number it is

 private:
  uint64_t Value = 0;
};

// Texels begin .. end - 1 of a row.
struct TexelRun {
  int row, begin, end;
};

struct ImageFrame {
  std::vector<uint32_t> argb;  // width * height, top row first
  bool opaque = false;         // every texel has alpha 255: rows may be copied whole
  // Each row reversed, made by the loader: a frame drawn mirrored (scale -1 across) at a whole
  // pixel copies its rows from here instead of gathering texels backwards. Empty for a frame
  // built by hand, and passed over for a copy (its texels may have changed): those are
  // mirrored texel by texel.
  std::vector<uint32_t> mirrored{};
  // Where the texels of alpha 128 or more lie, made by the loader: a mask-mode draw shows no
  // other texel, so it copies these runs and passes over the rest (a sprite's rows are about
  // half see-through). Row y's runs are runs[run_rows[y]] .. runs[run_rows[y + 1] - 1], rows
  // in order.
  // Empty for a frame built by hand.
  std::vector<int> run_rows{};
  std::vector<TexelRun> runs{};
  // Given by the loader, unique per loaded frame (0: a frame built by hand, or a copy). The
  // drawing layer keeps results of blending a frame under this number, so a loaded frame's
  // texels are never changed after the load.
  FrameSerial serial{};
};

// A fresh serial for a frame whose texels are final.
uint64_t NextFrameSerial();
// Finds the frame's runs of texels of alpha 128 or more (rows `width` long), as the loader does.
void FindDrawnRuns(ImageFrame& frame, int width);

class TImage {
 public:
  int width = 0;
  int height = 0;
  int flags = 0;
  int mask_r = 0, mask_g = 0, mask_b = 0;
  float handle_x = 0, handle_y = 0;
  std::vector<ImageFrame> frames;

  int FrameCount() const { return static_cast<int>(frames.size()); }

  TImage() = default;
  TImage(const TImage&) = default;
  TImage& operator=(const TImage&) = default;
  // The drawing layer may hold back a copy of a frame (blend_composites.h); it lands it before
  // the image goes.
  ~TImage();

  static std::shared_ptr<TImage> Load(const std::string& file, int flags);
  static std::shared_ptr<TImage> LoadAnim(const std::string& file, int cell_width, int cell_height,
                                          int first_cell, int cell_count, int flags);
  // Both in platform/render/image_load.cpp. Load makes one frame of the whole file; LoadAnim cuts
  // cell_count cells from first_cell on, in reading order. Null when the file cannot be read
  // or holds too few cells.
};
