// The game's process entry: read the command line, choose the backend (the SDL window) and run
// the program on it, recording the play when asked.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/game_options.h"
#include "frame/main_program.h"
#include "frame/play_folder_hint.h"
#include "platform/render/draw.h"
#include "platform/sdl/sdl_run.h"
#include "record/play_recorder.h"

namespace {

// Started outside its play folder the game opens on an empty sky: say why, on standard error,
// so the console lines stay exactly the game's own.
void HintAtWrongFolder() {
  const std::vector<std::string> unreadable = UnreadablePlayFiles();
  if (unreadable.empty()) return;
  std::error_code error;
  const std::string folder = std::filesystem::current_path(error).string();
  std::fprintf(stderr, "%s\n", PlayFolderHint(error ? "." : folder, unreadable).c_str());
}

// The program with its recorder around it, on whichever backend is in place.
int RunRecorded(const GameOptions& options) {
  PlayRecorder recorder;
  recorder.Start(options.record, options.trace);
  const int status = RunRavelon();
  recorder.Finish();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  GameOptions options;
  const OptionsOutcome outcome = ParseGameOptions({argv + 1, argv + argc}, options);
  if (!outcome.ok) {
    std::fprintf(stderr, "ravelon: %s\n", outcome.error.c_str());
    return kBadOptionsStatus;
  }
  if (options.help) {
    std::printf("Usage: ravelon [options]\n%s", GameOptionsHelp().c_str());
    return 0;
  }
  HintAtWrongFolder();
  if (options.plain_draw) SetDrawShortcuts(false);
  return RunOnSdl(options.scale, options.fullscreen, [&] { return RunRecorded(options); });
}
