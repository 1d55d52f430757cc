// The reference image: a 75x54 pixmap mirroring the block map, one pixel per cell.
#pragma once

#include <cstdint>
#include <memory>

class TPixmap;

extern std::shared_ptr<TPixmap> RefImagePixmap;
extern int32_t RefImageWidth;
extern int32_t RefImageHeight;

class TRefImage {
 public:
  static int FBoot();
  static int FRead();
  static int FUpdate();
  static int FDraw(int x, int y);
  static int FSetPixel(int x, int y, int style);
  static int FCheckPixel(int x, int y);
};
