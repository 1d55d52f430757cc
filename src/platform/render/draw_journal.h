// The frame's drawing kept by bins of 64x64 back-buffer pixels. A view that stands still draws
// the same tiles at the same places frame after frame; a bin whose draws repeat, one for one,
// the draws it had the frame before already holds their pixels and is not drawn again.
//
// A bin starts each frame waiting: its draws are compared with the frame before's as they come.
// At the first draw that differs it goes live: its draws so far are drawn into it (clipped to
// the bin), and every later draw touching it is drawn at once. A bin still waiting at the end
// of the frame that saw exactly the draws of the frame before is left as it is; one that saw
// fewer is drawn then.
//
// Leaving a bin alone is exact only when drawing its list twice gives what drawing it once
// does. Every mask-mode draw either sets a pixel, to a value that does not depend on the pixel,
// or leaves it, so any list of them has that property; an alpha blend does not (water blended
// over last frame's water would darken). So a blend, a draw of hand-built texels and a pixmap
// (both may change between frames) never repeat anything, and a bin whose pixels were touched
// from outside the drawing is not left alone the next frame. Going live, on the other hand, is
// exact at any moment: the bin still holds the frame before's pixels, which is what its draws
// would have been drawn over.
//
// Recording costs a little on every draw; a picture that keeps changing everywhere is drawn
// unrecorded most of the time (see draw_journal.cpp).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/render/draw.h"
#include "platform/render/draw_mapping.h"

enum class DrawKind : uint8_t { Image, Rect, Text, Pixmap };

// What of the drawing state a draw's pixels depend on besides its clip (the viewport only
// clips, and a draw's bound below is clipped by it).
struct DrawLook {
  double alpha = 1.0;
  float scale_x = 1.0f, scale_y = 1.0f, origin_x = 0, origin_y = 0;
  uint32_t rgb = 0xFFFFFF;
  int32_t blend = kBlendMask;
};

// One call of the drawing primitives and its look: enough to draw it again later in the frame,
// and to tell whether the next frame's call is the same.
struct RecordedDraw {
  const void* source = nullptr;  // Image: the TImage; Pixmap: the TPixmap
  uint64_t serial = 0;           // Image: its frame's serial
  DrawLook look{};
  float x = 0, y = 0, w = 0, h = 0;  // as passed (w, h: a rectangle's size)
  PixelRect bound{};                 // holds every pixel the draw may change
  int32_t frame = 0;                 // Image: the frame; Pixmap: x, with y in `frame_y`
  int32_t frame_y = 0;
  uint32_t text_at = 0, text_length = 0;  // Text: its characters in the frame's text
  DrawKind kind = DrawKind::Image;
  bool repeatable = false;  // false: never taken as the same as another draw
};

// Whether the frame's draws are being kept, and whether anything was drawn since the frame
// began: read on every draw, so looked at here rather than through a call.
struct JournalGate {
  bool keeping = true;
  bool drew = false;
};
extern JournalGate DrawJournalGate;
RecordedDraw* JournalSlot();

// A record for the next draw, to be filled in and handed to JournalTake; null when this frame's
// draws are not being kept, and the draw is to be drawn at once.
inline RecordedDraw* JournalNext() {
  DrawJournalGate.drew = true;
  return DrawJournalGate.keeping ? JournalSlot() : nullptr;
}
// Takes the draw just recorded (its `bound` set, not empty; `text` for a text draw) into the
// frame. True when the caller is to draw it whole now; otherwise it is drawn where it must be,
// later, or, where it repeats the frame before, not at all.
bool JournalTake(std::string_view text);
// The frame is over: every bin holds the frame's pixels, and the next draw starts a new frame.
void JournalEndFrame();
// Ends the frame, and the pixels are about to change outside the drawing: no bin is left
// alone the next frame.
void JournalForget();
// Every draw put off so far this frame is drawn now, and the rest of the frame is drawn as it
// comes: what was drawn may go away (an image being freed).
void JournalLandAll();
// How many of the bins the last frame left alone, for tests and measurements.
int JournalBinsLeftAlone();
// On by default; off, every draw is drawn as it comes. Tests compare the two.
void SetDrawJournal(bool on);

// back_buffer_draw.cpp: draws a recorded draw, its pixels outside `clip` (inside the back
// buffer) left as they are.
void PaintDraw(const RecordedDraw& draw, std::string_view text, const PixelRect& clip);
