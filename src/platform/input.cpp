// The input bookkeeping: key and button states with hit counts since the last read, the pointer,
// the close request and the joysticks, fed by the backend and read by the game.
#include "platform/input.h"

#include <cstring>

#include "platform/platform.h"

namespace {
constexpr int kKeys = 256;
constexpr int kButtons = 4;  // 1 left, 2 right, 3 middle
constexpr int kPorts = 4;

struct InputState {
  uint8_t keyDown[kKeys];
  int keyHits[kKeys];
  uint8_t buttonDown[kButtons];
  int buttonHits[kButtons];
  int mouseX, mouseY;
  bool closeRequested;
  JoystickReading joy[kPorts];
};
InputState State{};

void Pump() {
  if (Backend* backend = CurrentBackend()) backend->PumpEvents();
}
bool ValidKey(int key) { return key >= 0 && key < kKeys; }
bool ValidButton(int button) { return button >= 1 && button < kButtons; }
bool ValidPort(int port) { return port >= 0 && port < kPorts; }
const JoystickReading& ReadJoy(int port) {
  Pump();
  if (Backend* backend = CurrentBackend()) backend->ReadJoystick(port);
  return State.joy[port];
}
}  // namespace

void InputKeyDown(int key) {
  if (!ValidKey(key) || State.keyDown[key]) return;
  State.keyDown[key] = 1;
  ++State.keyHits[key];
}

void InputKeyUp(int key) {
  if (ValidKey(key)) State.keyDown[key] = 0;
}

void InputMouseButton(int button, bool down) {
  if (!ValidButton(button)) return;
  if (!down) {
    State.buttonDown[button] = 0;
  } else if (!State.buttonDown[button]) {
    State.buttonDown[button] = 1;
    ++State.buttonHits[button];
  }
}

void InputMouseMove(int x, int y) {
  State.mouseX = x;
  State.mouseY = y;
}

void InputFocusChanged() {
  std::memset(State.keyDown, 0, sizeof State.keyDown);
  std::memset(State.keyHits, 0, sizeof State.keyHits);
  std::memset(State.buttonDown, 0, sizeof State.buttonDown);
  std::memset(State.buttonHits, 0, sizeof State.buttonHits);
}

void InputCloseRequest() { State.closeRequested = true; }

void InputSetJoystick(int port, const JoystickReading& reading) {
  if (!ValidPort(port)) return;
  // A port without a device keeps its last values.
  if (reading.present) State.joy[port] = reading;
}

void InputReset() { State = InputState{}; }

int KeyHitCount(int key) {
  Pump();
  if (!ValidKey(key)) return 0;
  const int hits = State.keyHits[key];
  State.keyHits[key] = 0;
  return hits;
}

int KeyIsDown(int key) {
  Pump();
  return ValidKey(key) ? State.keyDown[key] : 0;
}

int MousePosX() {
  Pump();
  return State.mouseX;
}

int MousePosY() {
  Pump();
  return State.mouseY;
}

int MouseButtonDown(int button) {
  Pump();
  return ValidButton(button) ? State.buttonDown[button] : 0;
}

int MouseHitCount(int button) {
  Pump();
  if (!ValidButton(button)) return 0;
  const int hits = State.buttonHits[button];
  State.buttonHits[button] = 0;
  return hits;
}

int CloseRequested() {
  Pump();
  const bool requested = State.closeRequested;
  State.closeRequested = false;
  return requested ? 1 : 0;
}

float JoyAxisX(int port) { return ValidPort(port) ? ReadJoy(port).x : 0.0f; }
float JoyAxisY(int port) { return ValidPort(port) ? ReadJoy(port).y : 0.0f; }

int JoyButtonDown(int button, int port) {
  if (!ValidPort(port) || button < 0 || button > 31) return 0;
  return (ReadJoy(port).buttons >> button) & 1u;
}
