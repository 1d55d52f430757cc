// What a level may be called: its name is shown on screen and names its file in levels/.
#include "world/level_file.h"

std::string WhyNotLevelName(const std::string& name) {
  if (name.empty()) return "is empty";
  if (name.size() > kMaxLevelNameBytes)
    return "is longer than " + std::to_string(kMaxLevelNameBytes) + " bytes";
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return "has a control character";
    if (c == '/' || c == '\\') return "has a '/' or '\\'";
  }
  if (name.find("..") != std::string::npos || name == ".") return "has \"..\"";
  return "";
}
