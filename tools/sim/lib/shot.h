// The screenshot: the back buffer as it stands, written as an uncompressed 24-bit BMP.
#pragma once

#include <string>

// False with `why` when the file could not be written; nothing is left behind then.
bool WriteShot(const std::string& path, std::string& why);
