// The game on SDL2: start SDL, put the window backend in place and run the program.
#include <SDL.h>

#include <cstdio>

#include "frame/main_program.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"

int main(int argc, char** argv) {
  // Without video the window cannot open; start-up then says so and ends with status 1.
  if (SDL_Init(SDL_INIT_VIDEO) != 0) std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
  // A machine without joystick support still plays from the keyboard.
  const bool joystick_ready = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  int status = 0;
  {
    SdlBackend backend(joystick_ready);
    SetBackend(&backend);
    status = RunRavelon();
    SetBackend(nullptr);
  }
  SDL_Quit();
  return status;
}
