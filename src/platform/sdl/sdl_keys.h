// SDL's keys as the game's key codes (the virtual-key codes 0..255); 0 for keys it has no code for.
#pragma once

#include <SDL.h>

int GameKeyCode(const SDL_Keysym& key);
