// 24pal.raw: the game's 24 drawing colours, written for the game's palette listing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {
std::vector<uint8_t> PaletteBytes();
bool BuildPalette(const std::string& outDir);
}  // namespace art
