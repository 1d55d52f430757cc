// Placeholder bodies, replaced as the palette and the reference image land.
#include "art/palette.h"
#include "art/ref_image.h"

int TPalette::FSet(int) { return 0; }
int TPalette::FBGSet(int) { return 0; }
int TPalette::FRead() { return 0; }
int TPalette::Poot() { return 0; }
int TRefImage::FBoot() { return 0; }
int TRefImage::FRead() { return 0; }
int TRefImage::FUpdate() { return 0; }
int TRefImage::FDraw(int, int) { return 0; }
int TRefImage::FSetPixel(int, int, int) { return 0; }
int TRefImage::FCheckPixel(int, int) { return 0; }
