// The screenshot: the back buffer as it stands, written as an uncompressed 24-bit BMP.
#pragma once

#include <string>

bool WriteShot(const std::string& path);
