// The game's process entry: read the command line, choose the backend (the SDL window) and run
// the program on it, recording the play when asked.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame/game_options.h"
#include "frame/game_sounds.h"
#include "frame/main_program.h"
#include "frame/play_folder_hint.h"
#include "platform/sdl/sdl_audio.h"
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

// No audio device is no reason not to play: the game then runs silent.
std::unique_ptr<GameSounds> StartSound(const GameOptions& options, SdlAudio& audio) {
  if (!audio.Open()) return nullptr;
  SoundSettings settings;
  settings.Volume = options.volume;
  settings.Muted = options.muted;
  return std::make_unique<GameSounds>(settings, [&audio](SoundMixer& mixer) { audio.Feed(mixer); });
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
  return RunOnSdl(options.scale, options.fullscreen, [&] {
    SdlAudio audio;
    const std::unique_ptr<GameSounds> sound = StartSound(options, audio);
    return RunRecorded(options);
  });
}
