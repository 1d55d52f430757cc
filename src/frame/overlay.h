// The overlay the window draws over the presented picture: the messages made from the game's
// events and the picker's marks, laid out once a frame into the platform's overlay scene. It
// never draws into the back buffer, so the game's picture, traces and hashes stay its own.
#pragma once

class TOverlay {
 public:
  // Empties the messages and starts listening to the game's events (once per process).
  static void FStart();
  // Lays out the scene for the frame about to be shown.
  static void FLayOut();
  // The space pause: its message goes up and the picture is shown again before the wait.
  static void FShowPause();
};
