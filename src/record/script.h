// The runner's input script: one event per line, "#" starts a comment, blank lines are ignored.
//   F key CODE down|up        F mouse X Y            F button 1|2|3 down|up
//   F joy axis x|y VALUE      F joy button N down|up F close       F focus lost
//   F wheel DX DY             (steps right and up, each -2^31..2^31-1)
// Parsing is a pure function of the text, so it can be tested and fuzzed on its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/headless_backend.h"

struct ScriptParseResult {
  std::vector<ScriptedEvent> events;  // in file order (the backend sorts them stably by frame)
  bool ok = true;
  int errorLine = 0;  // 1-based line of the first unreadable line
  std::string error;  // what is wrong with it
};

ScriptParseResult ParseScript(std::string_view text);

// One event as the script line that ParseScript reads back to the same event (no line feed).
// An axis value is written in the fewest digits that still read back to the same float.
std::string FormatScriptEvent(const ScriptedEvent& event);
