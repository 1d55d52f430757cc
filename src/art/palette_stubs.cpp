// Placeholder bodies, replaced as the palette lands.
#include "art/palette.h"

int TPalette::FSet(int) { return 0; }
int TPalette::FBGSet(int) { return 0; }
int TPalette::FRead() { return 0; }
int TPalette::Poot() { return 0; }
