// libFuzzer target: the runner's script parser on arbitrary text. Accepted events must lie in
// their documented ranges; a refusal must name a line of the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "record/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ScriptParseResult result = ParseScript(text);
  using Kind = ScriptedEvent::Kind;
  if (!result.ok) {
    const long lines = std::count(text.begin(), text.end(), '\n') + 1;
    if (result.errorLine < 1 || result.errorLine > lines || !result.events.empty()) std::abort();
    return 0;
  }
  for (const ScriptedEvent& e : result.events) {
    if (e.frame < 1) std::abort();
    switch (e.kind) {
      case Kind::KeyDown:
      case Kind::KeyUp:
        if (e.a < 0 || e.a > 255) std::abort();
        break;
      case Kind::ButtonDown:
      case Kind::ButtonUp:
        if (e.a < 1 || e.a > 3) std::abort();
        break;
      case Kind::JoyButtonDown:
      case Kind::JoyButtonUp:
        if (e.a < 0 || e.a > 31) std::abort();
        break;
      case Kind::JoyAxisX:
      case Kind::JoyAxisY:
        if (!(e.value >= -1.0f && e.value <= 1.0f)) std::abort();
        break;
      default:
        break;
    }
  }
  return 0;
}
