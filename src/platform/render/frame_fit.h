// Where the game's frame sits in a window of any size: scaled by the largest whole factor that
// fits, centred, with black bars around it. Whole factors keep every frame pixel a sharp square
// block; a fractional scale would blur or shimmer the tiles. Where no whole factor above 1 fits,
// or when the player asks for it, the picture is instead the largest that fits at the frame's
// shape: the frame is scaled by whole steps (nearest) to the first size at or above that, and
// only that last step down is smoothed, so only the seams between frame pixels blend.
#pragma once

#include <cstdint>
#include <vector>

struct FrameFit {
  int scale = 1;     // frame pixels become scale x scale blocks (before any smoothing)
  int x = 0, y = 0;  // the picture's top-left corner in drawable pixels (negative when cropped)
  int width = 0, height = 0;  // the picture, in drawable pixels
  // The picture is not scale times the frame: the whole-step picture is smoothed down to
  // width x height.
  bool smoothed = false;
};

// A rectangle of pixels, in the frame's or the window's.
struct FrameRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};

// The fit of a frame_width x frame_height frame into an area of drawable pixels. An area smaller
// than the frame (or empty, as a minimised window reports) keeps scale 1 and crops evenly.
FrameFit FitFrame(int frame_width, int frame_height, int area_width, int area_height);

// The largest picture of the frame's shape that fits the area, centred: the whole-factor fit
// where that is exact, else smoothed from the smallest whole factor at or above it. An empty
// area keeps the whole-factor fit (scale 1, cropped).
FrameFit FillFrame(int frame_width, int frame_height, int area_width, int area_height);

// The window's choice: whole steps wherever twice the frame or more fits, the largest picture
// elsewhere or whenever fill_asked.
FrameFit ChooseFit(int frame_width, int frame_height, int area_width, int area_height,
                   bool fill_asked);

// A drawable-pixel position back in frame pixels, for any fit: the frame pixel whose share of
// the picture holds it. Positions over a bar land outside the frame, as FrameCoordinate's do.
int FrameCoordinateIn(int drawable, int offset, int picture_size, int frame_size);

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

// Where an area of the frame lands in a smoothed picture: every drawable pixel whose value reads
// any of the area's frame pixels, clipped to the picture.
FrameRect SmoothedArea(const FrameRect& area, const FrameFit& fit, int frame_width,
                       int frame_height);

// The smoothing of a fit, worked out once per fit: for each column and row of the picture the
// two frame pixels it blends and the weight of the second (0..256).
class SmoothScaler {
 public:
  // Scales an area of the frame into a buffer of 32-bit pixels (pitch in bytes) where the fit
  // puts it, smoothed across the seams. The fit must lie inside the buffer.
  void ScaleArea(uint8_t* buffer, int pitch, const uint32_t* frame, int frame_width,
                 int frame_height, const FrameRect& area, const FrameFit& fit);

  struct Tap {
    int first = 0, second = 0;  // frame column (or row) indices
    int weight = 0;             // of the second, out of 256
  };
  // The taps of `size` picture pixels showing `frame_size` frame pixels through a whole-step
  // picture `scale` times the frame.
  static void WorkOutTaps(int size, int frame_size, int scale, std::vector<Tap>& taps);

 private:
  std::vector<Tap> Columns, Rows;
  FrameFit For;
  int ForWidth = 0, ForHeight = 0;
};
