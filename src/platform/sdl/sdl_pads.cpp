// The pads on SDL2: devices connected and disconnected while the game runs, and each pad read
// as a game controller or as a raw joystick.
#include "platform/sdl/sdl_pads.h"

#include <cstdio>
#include <iterator>

#include "platform/sdl/pad_choice.h"
#include "shared/game_events.h"

namespace {

PadKind KindOf(int device_index) {
  if (SDL_IsGameController(device_index)) return PadKind::kGameController;
  switch (SDL_JoystickGetDeviceType(device_index)) {
    case SDL_JOYSTICK_TYPE_UNKNOWN:
      return PadKind::kUnknown;
    default:
      return PadKind::kJoystickLike;
  }
}

std::string NameOr(const char* name) {
  return name ? name : "unnamed pad";
}

// A pad's A, B, X and Y are the game's buttons 0, 1, 2 and 3, whatever numbers the device
// itself gives them.
constexpr SDL_GameControllerButton kGameButtons[] = {
    SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y};

}  // namespace

SdlPads::~SdlPads() {
  for (Pad& pad : Pads)
    Close(pad);
}

bool SdlPads::IsOpen(SDL_JoystickID instance) const {
  for (const Pad& pad : Pads) {
    if (pad.instance == instance) return true;
  }
  return false;
}

void SdlPads::Connect(int device_index) {
  if (device_index < 0 || device_index >= SDL_NumJoysticks()) return;
  if (IsOpen(SDL_JoystickGetDeviceInstanceID(device_index))) return;
  Pad pad;
  if (KindOf(device_index) == PadKind::kGameController) {
    pad.controller = SDL_GameControllerOpen(device_index);
    if (pad.controller) pad.joystick = SDL_GameControllerGetJoystick(pad.controller);
  } else {
    pad.joystick = SDL_JoystickOpen(device_index);
  }
  if (!pad.joystick) return;  // gone again already, or refused: nothing to read
  PadDescription description;
  description.name = NameOr(SDL_JoystickName(pad.joystick));
  description.kind = KindOf(device_index);
  description.axes = SDL_JoystickNumAxes(pad.joystick);
  description.buttons = SDL_JoystickNumButtons(pad.joystick);
  description.hats = SDL_JoystickNumHats(pad.joystick);
  if (!CountsAsPad(description)) {
    Close(pad);
    return;
  }
  pad.instance = SDL_JoystickInstanceID(pad.joystick);
  pad.name = description.name;
  Pads.push_back(pad);
  std::fprintf(stderr, "Pad connected: %s (port %d)\n", pad.name.c_str(), Count() - 1);
  TGameEvents::FReport(GameEvent::kPadConnected, 0, 0, Count() - 1);
}

bool SdlPads::Disconnect(SDL_JoystickID instance) {
  for (auto it = Pads.begin(); it != Pads.end(); ++it) {
    if (it->instance != instance) continue;
    std::fprintf(stderr, "Pad disconnected: %s (was port %d)\n", it->name.c_str(),
                 static_cast<int>(it - Pads.begin()));
    TGameEvents::FReport(GameEvent::kPadGone, 0, 0, static_cast<int32_t>(it - Pads.begin()));
    Close(*it);
    Pads.erase(it);
    return true;
  }
  return false;
}

void SdlPads::Close(Pad& pad) {
  if (pad.controller) {
    SDL_GameControllerClose(pad.controller);
  } else if (pad.joystick) {
    SDL_JoystickClose(pad.joystick);
  }
  pad.controller = nullptr;
  pad.joystick = nullptr;
}

JoystickReading SdlPads::Read(int port) const {
  if (port < 0 || port >= Count()) return {};
  const Pad& pad = Pads[port];
  if (!SDL_JoystickGetAttached(pad.joystick)) return {};
  return pad.controller ? ReadController(pad.controller) : ReadRaw(pad.joystick);
}

JoystickReading SdlPads::ReadController(SDL_GameController* controller) {
  JoystickReading reading;
  reading.present = true;
  const auto pressed = [controller](SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(controller, button) != 0;
  };
  const PadAxes stick{AxisValue(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX)),
                      AxisValue(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY))};
  const PadAxes axes = StickOrDpad(
      stick, pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT), pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
      pressed(SDL_CONTROLLER_BUTTON_DPAD_UP), pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
  reading.x = axes.x;
  reading.y = axes.y;
  for (unsigned b = 0; b < std::size(kGameButtons); ++b) {
    if (pressed(kGameButtons[b])) reading.buttons |= 1u << b;
  }
  return reading;
}

JoystickReading SdlPads::ReadRaw(SDL_Joystick* joystick) {
  JoystickReading reading;
  reading.present = true;
  const int axes = SDL_JoystickNumAxes(joystick);
  PadAxes stick;
  if (axes > 0) stick.x = AxisValue(SDL_JoystickGetAxis(joystick, 0));
  if (axes > 1) stick.y = AxisValue(SDL_JoystickGetAxis(joystick, 1));
  const Uint8 hat = SDL_JoystickNumHats(joystick) > 0 ? SDL_JoystickGetHat(joystick, 0) : 0;
  const PadAxes read = StickOrDpad(stick, hat & SDL_HAT_LEFT, hat & SDL_HAT_RIGHT, hat & SDL_HAT_UP,
                                   hat & SDL_HAT_DOWN);
  reading.x = read.x;
  reading.y = read.y;
  const int buttons = SDL_JoystickNumButtons(joystick);
  for (int b = 0; b < buttons && b < 32; ++b) {
    if (SDL_JoystickGetButton(joystick, b)) reading.buttons |= 1u << b;
  }
  return reading;
}
