// Writing the builder's files: uncompressed 24-bit BMPs and raw byte files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

// An uncompressed 24-bit BMP (the game's own encoder); empty when the sizes do not match.
std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint32_t>& argb);

// Each returns false (after printing why) when the file cannot be written.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteCanvas(const std::string& path, const Canvas& canvas);

// The whole text of a file, or false when it cannot be read.
bool ReadText(const std::string& path, std::string& out);

// The words of a source line, split at white space.
std::vector<std::string> Words(const std::string& line);

}  // namespace art
