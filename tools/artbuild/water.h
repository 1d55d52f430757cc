// tall_water.bmp: the still and surface frames of the water.
#pragma once

#include <string>

#include "canvas.h"

namespace art {
Canvas WaterSheet();
bool BuildWater(const std::string& outDir);
}  // namespace art
