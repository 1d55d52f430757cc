// Blocks of 8x8 back-buffer pixels known to hold one colour. A plain fill writes its colour
// only into blocks that do not hold it already: the views fill their sky and dark backdrops
// every frame, mostly over the very fill of the frame before. Every other drawing, and any
// access to the pixels from outside the drawing layer, forgets what it may have changed, so a
// block is only ever skipped when each of its pixels holds the colour. As every write of the
// drawing passes here, the blocks written since the last flip are kept here too.
#pragma once

#include <cstdint>

// Pixels x0..x1-1, y0..y1-1 (inside the back buffer) may have changed: their blocks are no
// longer known to hold a colour, and are written (TakeBackBufferChanges, draw.h).
void ForgetKnownColours(int x0, int y0, int x1, int y1);
// The pixels were handed out: nothing is known of them, and all of them count as written.
void ForgetAllKnownColours();

// Whether every pixel of the rectangle (inside the back buffer) holds the colour: the blocks
// known to hold it are taken as read, the others are read.
bool RectHoldsColour(int x0, int y0, int x1, int y1, uint32_t colour);

// Fills the rectangle (inside the back buffer) with the colour, skipping the whole blocks
// known to hold it; while the drawing shortcuts are off (draw.h), every pixel of it.
void FillKnowingColours(int x0, int y0, int x1, int y1, uint32_t colour);
