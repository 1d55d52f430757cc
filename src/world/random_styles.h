// Random style variants: a painted cell picks one of the few frames that follow its base
// style, so a wall or a floor does not repeat the same tile.
#pragma once

#include "platform/random.h"

namespace random_styles_detail {
inline int Offset(int base, double shift) {
  const int offset = static_cast<int>(RandomRange(12, 0) - shift);
  return base + (offset < 0 ? 0 : offset);
}
}  // namespace random_styles_detail

// The base style or one of the 5 frames past it; 7 draws in 12 stay on the base.
inline int RandomStyleNear(int base) {
  return random_styles_detail::Offset(base, 6);
}
// The base style or one of the 7 frames past it; 5 draws in 12 stay on the base.
inline int RandomStyleSpread(int base) {
  return random_styles_detail::Offset(base, 4);
}
