// Placeholder bodies, replaced as the reference image lands.
#include "art/ref_image.h"

int TRefImage::FBoot() { return 0; }
int TRefImage::FRead() { return 0; }
int TRefImage::FUpdate() { return 0; }
int TRefImage::FDraw(int, int) { return 0; }
int TRefImage::FSetPixel(int, int, int) { return 0; }
int TRefImage::FCheckPixel(int, int) { return 0; }
