// Starting SDL for the run, the window backend in place around it, and SDL shut down after.
#include "platform/sdl/sdl_run.h"

#include <SDL.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"

namespace {

// Game controllers bring the joystick subsystem with them; a machine without either still
// plays from the keyboard.
bool StartPads() {
  SDL_SetHint(SDL_HINT_ACCELEROMETER_AS_JOYSTICK, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) return true;
  return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
}

}  // namespace

int RunOnSdl(int scale, bool fullscreen, bool fill, const std::function<int()>& run) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
  const bool joystick_ready = StartPads();
  int status = 0;
  {
    SdlBackend backend(joystick_ready, {scale, fullscreen, fill});
    SetBackend(&backend);
    status = run();
    SetBackend(nullptr);
  }
  SDL_Quit();
  return status;
}
