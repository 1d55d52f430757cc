// The back buffer and the drawing state. The setters only record values: they are called many
// times per frame and cost nothing until something is drawn.
#include <algorithm>
#include <cmath>

#include "platform/render/blend_composites.h"
#include "platform/render/draw.h"
#include "platform/render/draw_journal.h"
#include "platform/render/known_colour_blocks.h"

namespace {
uint32_t Pixels[kBackBufferWidth * kBackBufferHeight];
DrawState State;
bool Shortcuts = true;
}  // namespace

bool DrawShortcutsOn() {
  return Shortcuts;
}

// Whatever the shortcuts held is landed or forgotten first, so either way the next draw starts
// from pixels that are all there and from nothing known about them.
void SetDrawShortcuts(bool on) {
  BackBuffer();
  SetDrawJournal(on);
  Shortcuts = on;
}

uint32_t* BackBuffer() {
  JournalForget();
  LandDeferredCopy();
  ForgetAllKnownColours();
  return Pixels;
}
const uint32_t* FinishedBackBuffer() {
  JournalEndFrame();
  LandDeferredCopy();
  return Pixels;
}
uint32_t* RawBackBuffer() {
  return Pixels;
}
const DrawState& CurrentDrawState() {
  return State;
}
void ResetDrawState() {
  LandDeferredCopy();
  State = DrawState{};
}

void SetColor(int r, int g, int b) {
  State.r = std::clamp(r, 0, 255);
  State.g = std::clamp(g, 0, 255);
  State.b = std::clamp(b, 0, 255);
}

void SetAlpha(double alpha) {
  // A NaN alpha fails every comparison; it draws nothing rather than something undefined.
  State.alpha = alpha >= 0.0 ? std::min(alpha, 1.0) : 0.0;
}

void SetBlend(int mode) {
  State.blend = mode;
}

void SetClsColor(int r, int g, int b) {
  State.cls_r = std::clamp(r, 0, 255);
  State.cls_g = std::clamp(g, 0, 255);
  State.cls_b = std::clamp(b, 0, 255);
}

void SetDrawScale(float sx, float sy) {
  State.scale_x = sx;
  State.scale_y = sy;
}

void SetDrawOrigin(float x, float y) {
  State.origin_x = x;
  State.origin_y = y;
}

void SetViewport(int x, int y, int w, int h) {
  State.view_x = x;
  State.view_y = y;
  State.view_w = w;
  State.view_h = h;
}
