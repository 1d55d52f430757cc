// A game pad as the browser's Gamepad API reports it, read the way the SDL backend reads a pad.
// Free of the browser so it can be checked anywhere.
#pragma once

#include <vector>

#include "platform/input.h"

struct GamepadSnapshot {
  bool standard = false;  // the browser knows the layout ("standard" mapping)
  std::vector<double> axes;
  std::vector<bool> buttons;
};

// A pad of the standard layout is read by its named parts: the left stick, or the d-pad where
// one of its directions is pressed, and A, B, X and Y as the game's buttons 0 to 3, as SDL reads
// a game controller. Any other pad is read raw: axes 0 and 1, and its buttons by number.
JoystickReading ReadGamepad(const GamepadSnapshot& pad);
