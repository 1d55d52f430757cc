// The fixed palette of numbered drawing colours.
#pragma once

#include <cstdint>

// All in art/palette.cpp. The colours are fixed; the palette file is only listed.
class TPalette {
 public:
  static int FSet(int style);  // the drawing colour of style 0..23 (16..23 white); others ignored
  static uint32_t FRgb(int style);  // that colour as 0x00RRGGBB; black for other styles
  // Not called by the game (these three): kept as part of TPalette's interface.
  static int FBGSet(int style);  // the clear colour of style 0..15 (15 magenta); others ignored
  static int FRead();            // lists 24pal.raw on the console, one line per colour
  static int Poot();             // prints "Poot!"
};
