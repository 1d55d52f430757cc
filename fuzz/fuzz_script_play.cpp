// libFuzzer target: a runner script from arbitrary text, parsed and then played through the
// game's real start-up and main loop for a few dozen passes, with the built art in place. So
// whatever a script can ask of the input (a mouse anywhere, keys, buttons, the joystick, a close)
// is run through the editor, the picker, the actors and the drawing, not only read.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "frame/main_program.h"
#include "fresh_run.h"
#include "fuzz_support.h"
#include "platform/headless_backend.h"
#include "platform/platform.h"
#include "record/script.h"
#include "record/trace.h"

namespace {

// Enough for a click, a paint stroke, a jump or a save to happen and be drawn.
constexpr int kPasses = 40;

namespace fs = std::filesystem;

std::set<std::string>& ArtNames() {
  static std::set<std::string> names;
  return names;
}

// The pictures only: without map files every run starts on the built-in dummy map.
void CopyArtIntoScratch() {
  for (const auto& entry : fs::directory_iterator(RAVELON_ART_DIR)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".raw") continue;
    fs::copy_file(entry.path(), fs::path(fuzz::ScratchDir()) / entry.path().filename(),
                  fs::copy_options::overwrite_existing);
    ArtNames().insert(entry.path().filename().string());
  }
}

// Whatever a run leaves (saved map files, their backups, a save journal, recovered edits) goes,
// so every input starts in the same folder and the folder cannot grow without end.
void ClearAllButTheArt() {
  std::error_code ignored;
  std::vector<fs::path> leftovers;
  for (const auto& entry : fs::directory_iterator(fuzz::ScratchDir(), ignored))
    if (!ArtNames().count(entry.path().filename().string())) leftovers.push_back(entry.path());
  for (const auto& path : leftovers)
    fs::remove_all(path, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CopyArtIntoScratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ScriptParseResult parsed = ParseScript(text);
  if (!parsed.ok) return 0;

  ClearAllButTheArt();
  const fuzz::InScratchDir here;

  Backend* previous = CurrentBackend();
  HeadlessBackend backend;
  PrepareFreshRun(backend, std::move(parsed.events));
  backend.OnEndOfPass = [](int pass) { return pass < kPasses; };
  RunRavelon(true);
  fuzz::Check(backend.Passes <= kPasses, "the run stops after the passes asked for");
  fuzz::Check(TraceFrame(backend.Passes).rfind("frame ", 0) == 0, "the trace of the last pass");
  SetBackend(previous);
  return 0;
}
