// Kept results of alpha-blending a frame over what is known to lie beneath it. The views blend
// the same few water frames, every frame, over the same background tiles or over one plain
// backdrop colour; the exact blend of such a pair is worked out once and afterwards copied, which
// costs what an opaque tile costs. What lies beneath is always checked against the back buffer
// before a kept result is used, so the pixels are those the blend itself would give.
#pragma once

#include <cstddef>
#include <cstdint>

// An alpha-blended draw of an unscaled, untinted frame at a whole-pixel position.
struct BlendPlacement {
  const uint32_t* texels;  // the frame, ARGB, width * height
  int width, height;
  uint64_t serial;          // the frame's serial (ImageFrame::serial), never 0 here
  int x, y, columns, rows;  // the back-buffer rectangle it covers, clipped
  int u, v;                 // the texel at the rectangle's top-left pixel
  double alpha;             // the current alpha
  const uint8_t* table;     // its table of exact results (alpha_blend.h)
};

// An opaque copy of a whole-pixel, unscaled, untinted loaded frame (every texel alpha 255) is
// held back until the next drawing: water blended next at the same place is then drawn from the
// kept composite of the pair, and the copy itself never happens. Whatever reads or writes the
// back buffer lands the copy first (BackBuffer() does, and every drawing call).
void DeferOpaqueCopy(const uint32_t* texels, int width, int height, uint64_t serial, int x, int y,
                     int columns, int rows, int u, int v);
void LandDeferredCopy();

// Draws the blend from a kept result when what lies beneath is known: the copy held back above
// at the same place, or one colour over the whole rectangle. False, with nothing drawn (and the
// held copy landed), when it is neither.
// Always false while the drawing shortcuts are off (draw.h).
bool DrawKnownComposite(const BlendPlacement& p);
// What the kept results hold now, in bytes (their texels and their places in the table); never
// more than 2 MiB.
size_t KeptCompositeBytes();
// How many results were blended to be kept since the start, for tests and measurements.
size_t KeptCompositesMade();
