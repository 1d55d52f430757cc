// Turning an overlay scene into pixels: first a layer of the picture's size with its own alpha,
// then that layer blended over the picture wherever and at whatever whole scale the picture is
// shown, so the overlay's pixels are the picture's pixels, as crisp as the picture itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/overlay_scene.h"

// 0xAARRGGBB, alpha not premultiplied; 0 is clear.
using OverlayLayer = std::vector<uint32_t>;

// Draws the scene and then the note (wrapped to the width, centred) into a clear layer of
// width x height. Returns false when nothing at all was drawn.
bool ComposeOverlayLayer(const OverlayScene& scene, const std::string& note, int width, int height,
                         OverlayLayer& layer);

// Where a picture of the layer's size is shown in a buffer of 32-bit pixels: its top left and
// the whole factor it is scaled by. Parts outside the buffer are left out.
struct OverlayPlacement {
  int Left = 0, Top = 0, Scale = 1;
  int BufferWidth = 0, BufferHeight = 0;
  int PitchBytes = 0;
};

// Blends the layer over the buffer's opaque pixels (0x??RRGGBB; the top byte is kept).
void BlendOverlayLayer(const OverlayLayer& layer, int width, int height, uint8_t* buffer,
                       const OverlayPlacement& where);

// Layer pixels X0..X1-1, Y0..Y1-1.
struct LayerArea {
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};
// The same for one area of the layer only: a window that repaints only what changed blends the
// overlay only over what it repainted, never twice over the same pixels.
void BlendOverlayArea(const OverlayLayer& layer, int width, int height, const LayerArea& area,
                      uint8_t* buffer, const OverlayPlacement& where);

// A copy of the frame with the current scene and note over it, at the frame's own size.
std::vector<uint32_t> FrameWithOverlay(const uint32_t* frame, int width, int height);

// The note's lines as the layer shows them: words wrapped to at most `columns` characters.
std::vector<std::string> WrapNote(const std::string& note, int columns);
