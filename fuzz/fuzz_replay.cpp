// libFuzzer target: the replay reader on arbitrary text. A refusal names a line of the text (or
// none, for the file as a whole); an accepted replay holds a consistent header, events and checks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "record/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ReplayParseResult result = ParseReplay(text);
  if (!result.ok) {
    if (result.errorLine < 0 || result.error.empty()) std::abort();
    return 0;
  }
  const Replay& r = result.replay;
  if (r.maps.size() != ReplayMapNames().size() || r.art.size() != ReplayArtNames().size()) {
    std::abort();
  }
  for (const ReplayMapFile& map : r.maps) {
    const bool loaded = map.state == ReplayMapFile::State::Loaded;
    if (loaded != (map.bytes.size() == 4050) || (!loaded && !map.bytes.empty())) std::abort();
  }
  if (r.endFrame < 1 || r.checks.empty() || r.checks.back().frame != r.endFrame) std::abort();
  int last = 1;
  for (const ScriptedEvent& e : r.events) {
    if (e.frame < last || e.frame > r.endFrame) std::abort();
    last = e.frame;
  }
  return 0;
}
