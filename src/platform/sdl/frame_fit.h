// Where the game's frame sits in a window of any size: scaled by the largest whole factor that
// fits, centred, with black bars around it. Whole factors keep every frame pixel a sharp square
// block; a fractional scale would blur or shimmer the tiles.
#pragma once

#include <cstdint>

struct FrameFit {
  int scale = 1;     // frame pixels become scale x scale blocks
  int x = 0, y = 0;  // the frame's top-left corner in drawable pixels (negative when cropped)
  int width = 0, height = 0;  // the scaled frame, in drawable pixels
};

// A rectangle of pixels, in the frame's or the window's.
struct FrameRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};

// The fit of a frame_width x frame_height frame into an area of drawable pixels. An area smaller
// than the frame (or empty, as a minimised window reports) keeps scale 1 and crops evenly.
FrameFit FitFrame(int frame_width, int frame_height, int area_width, int area_height);

// A drawable-pixel position back in frame pixels. Positions over a bar land outside the frame:
// below 0, or at the frame's width or height and beyond.
int FrameCoordinate(int drawable, int offset, int scale);

// A window position (in the window's own units) in drawable pixels: on a high-density display
// the drawable has more pixels than the window has units.
int DrawableCoordinate(int window, int window_size, int drawable_size);

// Where an area of the frame lands in the window's drawable pixels.
FrameRect ScaledArea(const FrameRect& area, const FrameFit& fit);

// Copies an area of the frame into a buffer of 32-bit pixels (pitch in bytes) where the fit puts
// it, each frame pixel a fit.scale square. The fit must lie inside the buffer.
void ScaleFrameArea(uint8_t* buffer, int pitch, const uint32_t* frame, int frame_width,
                    const FrameRect& area, const FrameFit& fit);
