// The software back buffer and the immediate-mode drawing state and primitives.
#pragma once

#include <cstdint>
#include <string>

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

// platform/render/back_buffer_draw.cpp: the primitives, drawn with the state above.

// A null image or a frame number out of range draws nothing.
void DrawImageFrame(const TImage* image, float x, float y, int frame);
void DrawRect(float x, float y, float w, float h);
void DrawTextAt(const std::string& text, float x, float y);
// Copies pixels at window pixel (x, y), ignoring the whole drawing state.
void DrawPixmap(const TPixmap* pixmap, int x, int y);
