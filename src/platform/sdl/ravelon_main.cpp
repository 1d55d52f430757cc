// The game on SDL2: start SDL, put the window backend in place and run the program.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "frame/main_program.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "play_recorder.h"

namespace {

struct PlayOptions {
  std::string record;  // --record FILE: a replay of this play
  std::string trace;   // --trace FILE: the per-frame state trace of this play
};

// Options the game does not know are named on standard error and otherwise ignored.
PlayOptions ReadOptions(int argc, char** argv) {
  PlayOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i], value;
    const size_t eq = name.find('=');
    if (eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    } else if ((name == "--record" || name == "--trace") && i + 1 < argc) {
      value = argv[++i];
    }
    if ((name == "--record" || name == "--trace") && !value.empty()) {
      (name == "--record" ? options.record : options.trace) = value;
    } else {
      std::fprintf(stderr, "ravelon: ignoring the argument %s\n", argv[i]);
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const PlayOptions options = ReadOptions(argc, argv);
  // Without video the window cannot open; start-up then says so and ends with status 1.
  if (SDL_Init(SDL_INIT_VIDEO) != 0) std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
  // A machine without joystick support still plays from the keyboard.
  const bool joystick_ready = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  int status = 0;
  {
    SdlBackend backend(joystick_ready);
    SetBackend(&backend);
    PlayRecorder recorder;
    recorder.Start(options.record, options.trace);
    status = RunRavelon();
    recorder.Finish();
    SetBackend(nullptr);
  }
  SDL_Quit();
  return status;
}
