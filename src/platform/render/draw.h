// The software back buffer and the immediate-mode drawing state and primitives.
//
// The drawing shortcuts. Drawing the same picture as plainly drawing every call would, but
// cheaper, the renderer keeps five things between draws or frames:
//   1. The journal (draw_journal.h): each frame's draws, by 64x64 bins; a bin whose draws repeat
//      the frame before's is left as it is. Keeps this frame's and the last frame's draws.
//   2. The kept blend composites (blend_composites.h): the exact blend of a loaded frame over a
//      loaded frame or over one colour, keyed by the frames' serials, in a table of sets of
//      four slots where a pair takes over the slot used longest ago.
//   3. The held-back tile copy (blend_composites.h): the last opaque copy of a loaded frame is
//      not made until the next draw, which may cover it with water from a kept composite.
//   4. The known-colour blocks (known_colour_blocks.h): 8x8 blocks known to hold one colour, not
//      filled again with it.
//   5. The backdrop runs (world/scroller_backdrops.cpp): a view fills its backdrops as runs of
//      cells its cell pass does not paint over, rather than a rectangle per chunk.
// Who may write pixels: the primitives below, through RawBackBuffer(), and nothing else while a
// frame is being drawn. Anything outside the drawing layer that reads or writes the pixels goes
// through BackBuffer(), which lands 1 and 3 and forgets 1 and 4 for the next frame.
// The invariants they rest on:
//   - FinishedBackBuffer() (the flip, a shot) ends the journal's frame: the next draw starts
//     the next frame.
//   - A loaded frame's texels never change after the load, so its serial (image.h) stands for
//     them. A copied frame (a copied TImage) gets serial 0, so its texels may be changed.
//     Frames of serial 0 are never kept or compared (nor are pixmaps).
//   - Only mask-mode draws repeat (a blend drawn twice is not a blend drawn once).
// How each falls back: the journal draws a bin as its draws come the moment one differs, and a
// whole frame so when too little repeats or the frame passes its bounds; a composite is used only
// when what lies beneath is checked to be its pair or its colour, else the blend is drawn; a
// held-back copy lands before anything reads or writes its pixels; a fill writes every block not
// known to hold its colour. The caches are bounded in bytes: the journal about 2 MiB (both
// frames' records), the composites 2 MiB, the 8x8 blocks 32 KiB: a little over 4 MiB.
// SetDrawShortcuts(false) (`--plain-draw` for the game and ravelon-sim, RAVELON_PLAIN_DRAW=1
// for the tests) turns all five off; the picture is the same to the pixel.
#pragma once

#include <cstdint>
#include <string>

#include "platform/changed_blocks.h"

class TImage;
class TPixmap;

// platform/render/draw_state.cpp: the back buffer, the drawing state and its setters.

constexpr int kBackBufferWidth = 816;
constexpr int kBackBufferHeight = 300;
// A pixel's colour bits; the top byte of a back-buffer pixel is always 0.
constexpr uint32_t kRgbMask = 0xFFFFFF;

// The blend modes SetBlend takes. Mask: a texel of alpha 128 or more (times the current alpha)
// replaces the pixel, others leave it. Alpha: the texel is blended over the pixel.
constexpr int kBlendMask = 1;
constexpr int kBlendAlpha = 3;

// 0x00RRGGBB per pixel, row-major, kBackBufferWidth per row. Nothing ever clears it. Lands any
// drawing still held back first, so what it shows is complete; ask again after later drawing.
// What the pixels may have become is unknown to the drawing layer afterwards (see
// known_colour_blocks.h), which costs the next frame's backdrops a full fill.
uint32_t* BackBuffer();
// The finished pixels for reading: the flip, a screenshot.
const uint32_t* FinishedBackBuffer();
// The 8x8 blocks of the finished back buffer that may differ from what they held when this was
// last asked (those the drawing wrote into, or all after BackBuffer()); every other pixel is
// what it was then. Ask right after FinishedBackBuffer().
ChangedBlocks TakeBackBufferChanges();
// The same pixels without landing held-back drawing: for the drawing layer itself only.
uint32_t* RawBackBuffer();

struct DrawState {
  int r = 255, g = 255, b = 255;
  double alpha = 1.0;  // the blend works in double precision
  int blend = kBlendMask;
  int cls_r = 0, cls_g = 0, cls_b = 0;
  float scale_x = 1.0f, scale_y = 1.0f;
  float origin_x = 0, origin_y = 0;
  int view_x = 0, view_y = 0, view_w = kBackBufferWidth, view_h = kBackBufferHeight;
};

const DrawState& CurrentDrawState();
// The state right after the window opens; the back buffer is left as it is.
void ResetDrawState();

void SetColor(int r, int g, int b);
void SetAlpha(double alpha);
void SetBlend(int mode);  // kBlendMask or kBlendAlpha
void SetClsColor(int r, int g, int b);
void SetDrawScale(float sx, float sy);
void SetDrawOrigin(float x, float y);
void SetViewport(int x, int y, int w, int h);

// The five drawing shortcuts above, on by default. Switching lands and forgets whatever they
// held, so it may happen between any two draws.
void SetDrawShortcuts(bool on);
bool DrawShortcutsOn();

// platform/render/back_buffer_draw.cpp: the primitives, drawn with the state above.

// A null image or a frame number out of range draws nothing.
void DrawImageFrame(const TImage* image, float x, float y, int frame);
void DrawRect(float x, float y, float w, float h);
void DrawTextAt(const std::string& text, float x, float y);
// Copies pixels at window pixel (x, y), ignoring the whole drawing state.
void DrawPixmap(const TPixmap* pixmap, int x, int y);
