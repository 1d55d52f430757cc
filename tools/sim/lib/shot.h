// The screenshot: the back buffer as it stands, written as an uncompressed 24-bit BMP.
#pragma once

#include <string>

// With `overlay`, the overlay scene as it stands (and the standing note) is composed over a copy
// of the back buffer first; the back buffer itself is never touched.
bool WriteShot(const std::string& path, bool overlay = false);
