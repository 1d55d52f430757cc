// The game on SDL2: read the command line, start SDL, put the window backend in place and run
// the program.
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame/game_sounds.h"
#include "frame/main_program.h"
#include "platform/platform.h"
#include "platform/sdl/play_folder_hint.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_options.h"
#include "play_recorder.h"

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

// Game controllers bring the joystick subsystem with them; a machine without either still
// plays from the keyboard.
bool StartPads() {
  SDL_SetHint(SDL_HINT_ACCELEROMETER_AS_JOYSTICK, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) return true;
  return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
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
  // Without video the window cannot open; start-up then says so and ends with status 1.
  if (SDL_Init(SDL_INIT_VIDEO) != 0) std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
  const bool joystick_ready = StartPads();
  int status = 0;
  {
    SdlBackend backend(joystick_ready, {options.scale, options.fullscreen});
    SetBackend(&backend);
    SdlAudio audio;
    const std::unique_ptr<GameSounds> sound = StartSound(options, audio);
    PlayRecorder recorder;
    recorder.Start(options.record, options.trace);
    status = RunRavelon();
    recorder.Finish();
    SetBackend(nullptr);
  }
  SDL_Quit();
  return status;
}
