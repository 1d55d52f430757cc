// The player's pads on SDL2, in the order they were connected: the first is port 0. A device SDL
// knows as a game controller is read by its named buttons and sticks, so every pad maps alike;
// other joysticks are read raw. Pads come and go while the game runs.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/input.h"

class SdlPads {
 public:
  SdlPads() = default;
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Opens the device at SDL's device index unless it is open already or is no pad.
  void Connect(int device_index);
  // Closes the device with SDL's instance id; the pads after it move up one port.
  // Returns false when it was none of ours.
  bool Disconnect(SDL_JoystickID instance);
  // The pad at the port as the game reads it; present = false where there is none.
  JoystickReading Read(int port) const;
  int Count() const { return static_cast<int>(Pads.size()); }

 private:
  struct Pad {
    SDL_GameController* controller = nullptr;  // set for game controllers
    SDL_Joystick* joystick = nullptr;          // always set: the controller's own, or raw
    SDL_JoystickID instance = -1;
    std::string name;
  };

  bool IsOpen(SDL_JoystickID instance) const;
  static JoystickReading ReadController(SDL_GameController* controller);
  static JoystickReading ReadRaw(SDL_Joystick* joystick);
  static void Close(Pad& pad);

  std::vector<Pad> Pads;
};
