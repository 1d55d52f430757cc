// The screenshot: the back buffer as it stands, written as an uncompressed 24-bit BMP.
#pragma once

#include <string>

// With `overlay`, the overlay scene as it stands (and the standing note) is composed over a copy
// of the back buffer first; the back buffer itself is never touched. False with `why` when the
// file could not be written; nothing is left behind then.
bool WriteShot(const std::string& path, bool overlay, std::string& why);
