// The game on SDL2: read the command line, start SDL, put the window backend in place and run
// the program.
#include <SDL.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/main_program.h"
#include "platform/overlay_compose.h"
#include "platform/overlay_scene.h"
#include "platform/platform.h"
#include "platform/sdl/play_folder_hint.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_options.h"
#include "play_recorder.h"

namespace {

pid_t MessageBoxProcess = -1;

// The message box waits for its button in a process of its own, started before SDL is, so the
// game runs on behind it and shares nothing with it; the game's end takes it away.
void ShowMessageBoxAside(const std::string& text) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child != 0) {
    MessageBoxProcess = child;
    return;
  }
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Ravelon: the art is missing", text.c_str(),
                           nullptr);
  _exit(0);
}

void CloseMessageBox() {
  if (MessageBoxProcess <= 0) return;
  kill(MessageBoxProcess, SIGTERM);
  waitpid(MessageBoxProcess, nullptr, 0);
  MessageBoxProcess = -1;
}

// Started outside its play folder the game opens on an empty sky: say why, on standard error,
// so the console lines stay exactly the game's own. Missing art is also told over the window and
// in a message box, where a player looks.
void HintAtWrongFolder(const char* program) {
  const std::vector<std::string> unreadable = UnreadablePlayFiles();
  if (unreadable.empty()) return;
  std::error_code error;
  const std::string folder = std::filesystem::current_path(error).string();
  std::fprintf(stderr, "%s\n", PlayFolderHint(error ? "." : folder, unreadable).c_str());
  const std::vector<std::string> art = ArtFilesAmong(unreadable);
  if (art.empty()) return;
  const std::string note = MissingArtNote(error ? "." : folder, art, program ? program : "");
  SetOverlayNote(note);
  std::string boxed;
  for (const std::string& line : WrapNote(note, 72))
    boxed += (boxed.empty() ? "" : "\n") + line;
  ShowMessageBoxAside(boxed);
}

// Game controllers bring the joystick subsystem with them; a machine without either still
// plays from the keyboard.
bool StartPads() {
  SDL_SetHint(SDL_HINT_ACCELEROMETER_AS_JOYSTICK, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) return true;
  return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
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
  HintAtWrongFolder(argc > 0 ? argv[0] : nullptr);
  // Without video the window cannot open; start-up then says so and ends with status 1.
  if (SDL_Init(SDL_INIT_VIDEO) != 0) std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
  const bool joystick_ready = StartPads();
  int status = 0;
  {
    SdlBackend backend(joystick_ready, {options.scale, options.fullscreen});
    SetBackend(&backend);
    PlayRecorder recorder;
    recorder.Start(options.record, options.trace);
    status = RunRavelon();
    recorder.Finish();
    SetBackend(nullptr);
  }
  SDL_Quit();
  CloseMessageBox();
  return status;
}
