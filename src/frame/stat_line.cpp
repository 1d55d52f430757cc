// The shadowed labelled number of the profiler.
#include <string>

#include "art/palette.h"
#include "frame/main_program.h"
#include "platform/render/draw.h"

void DrawStatLine(const std::string& label, int32_t value, int x, int y) {
  const std::string s = std::to_string(value);
  const int n = static_cast<int>(s.size());
  const std::string head = n > 3 ? s.substr(0, n - 3) : std::string();
  const std::string tail = n > 3 ? s.substr(n - 3) : s;
  TPalette::FSet(0);
  DrawTextAt(label, x + 1, y + 1);
  if (n > 3) DrawTextAt(head, x + 59 - 8 * (n - 3), y + 1);
  DrawTextAt(tail, x + 63, y + 1);
  TPalette::FSet(5);
  DrawTextAt(label, x, y);
  if (n > 3) {
    TPalette::FSet(12);
    DrawTextAt(head, x + 58 - 8 * (n - 3), y);
  }
  TPalette::FSet(8);
  DrawTextAt(tail, x + 62, y);
}
