// The fixed palette of numbered drawing colours.
#pragma once

class TPalette {
 public:
  static int FSet(int style);
  static int FBGSet(int style);
  static int FRead();
  static int Poot();
};
