// Whether a window manager looks after the window. Desktop full screen is a request to the window
// manager; where there is none (a bare X server, as on virtual displays and kiosks) the window
// has to cover the screen by itself.
#pragma once

#include <SDL.h>

// False only on an X display without a window manager that follows the desktop conventions.
bool HasWindowManager(SDL_Window* window);
