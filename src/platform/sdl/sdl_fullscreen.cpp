// Desktop full screen, switched by Alt+Enter and F11: the window fills its display at the
// desktop's own resolution and the frame is scaled into it as into any window.
#include <cstdio>

#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_window_manager.h"

bool SdlBackend::IsFullscreen() const {
  return CoveringScreen || (SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlBackend::SetFullscreen(bool on) {
  if (!Window || on == IsFullscreen()) return;
  SurfaceStale = true;
  if (CoveringScreen || !HasWindowManager(Window)) {
    CoverScreen(on);
  } else if (SDL_SetWindowFullscreen(Window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    std::fprintf(stderr, "Full screen could not be switched: %s\n", SDL_GetError());
  }
}

// Without a window manager nobody answers a full-screen request, so the window itself moves to
// the display's corner and takes its size, and goes back to where it was.
void SdlBackend::CoverScreen(bool on) {
  if (on) {
    SDL_Rect bounds;
    const int display = SDL_GetWindowDisplayIndex(Window);
    if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0) {
      std::fprintf(stderr, "Full screen could not be switched: %s\n", SDL_GetError());
      return;
    }
    SDL_GetWindowPosition(Window, &WindowedPlace.x, &WindowedPlace.y);
    SDL_GetWindowSize(Window, &WindowedPlace.w, &WindowedPlace.h);
    SDL_SetWindowBordered(Window, SDL_FALSE);
    SDL_SetWindowPosition(Window, bounds.x, bounds.y);
    SDL_SetWindowSize(Window, bounds.w, bounds.h);
  } else {
    SDL_SetWindowSize(Window, WindowedPlace.w, WindowedPlace.h);
    SDL_SetWindowPosition(Window, WindowedPlace.x, WindowedPlace.y);
    SDL_SetWindowBordered(Window, SDL_TRUE);
  }
  CoveringScreen = on;
}
