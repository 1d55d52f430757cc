// A message box beside the game's window, for words a player must see even where the window
// shows nothing of the game (its art missing). It waits for its button in a process of its own,
// so the game runs on behind it.
#pragma once

#include <string>

// Shows the box; call before SDL starts (the box's process shares nothing with the game's).
void ShowMessageBoxAside(const std::string& title, const std::string& text);
// Takes the box away if it is still up (the game is ending).
void CloseMessageBoxAside();
// Shows the box and waits for its button (the game is about to end); at once where there is no
// display. Call before SDL starts.
void ShowMessageBoxNow(const std::string& title, const std::string& text);
