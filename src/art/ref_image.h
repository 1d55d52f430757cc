// The reference image: a 75x54 pixmap mirroring the block map, one pixel per cell.
#pragma once

#include <cstdint>
#include <memory>

class TPixmap;

// Defined in art/ref_image.cpp: no image and 0 by 0 after TRefImage::FResetTables.
extern std::shared_ptr<TPixmap> RefImagePixmap;
extern int32_t RefImageWidth;
extern int32_t RefImageHeight;

// Not called by the game, its reset aside: the whole class is kept as the reference image's
// interface. All in art/ref_image.cpp. The whole-image passes end the program at once on Escape.
class TRefImage {
 public:
  static int FResetTables();  // the image forgotten, as start-up does with every table
  // Loads BlockMapImage.bmp; any size but 75x54 gives a blank image instead, and a missing file
  // ends the program with status 0.
  static int FBoot();
  static int FRead();    // reads every pixel (for the Escape checks only)
  static int FUpdate();  // writes every cell's block style
  static int FDraw(int x, int y);
  // The style as three base-8 digits in red, green and blue; about one pixel in a hundred is
  // echoed to the console.
  static int FSetPixel(int x, int y, int style);
  static int FCheckPixel(int x, int y);  // the style read back from a pixel, each channel / 32
};
