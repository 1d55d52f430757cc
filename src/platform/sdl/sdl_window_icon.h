// The window's icon: the player's character, cut from the game's own actor sheet.
#pragma once

#include <SDL.h>

// Gives the window the first cell of the actor sheet in the working folder as its icon. Without
// a readable sheet the window keeps the system's default icon.
void SetWindowIconFromArt(SDL_Window* window);
