// The input bookkeeping: key and button states with hit counts since the last read, the pointer,
// the close request and the joysticks, fed by the backend; inside the main loop taken once per
// pass, and told to the pass tap (a recording of play) when one is set.
#include "platform/input.h"

#include <cstring>

#include "platform/commands.h"
#include "platform/platform.h"

namespace {
constexpr int kKeys = 256;
constexpr int kButtons = 4;  // 1 left, 2 right, 3 middle
constexpr int kPorts = 4;

struct InputState {
  uint8_t keyDown[kKeys];
  uint8_t keyPressedSince[kKeys];  // went down since the last snapshot
  uint8_t keyDownAtSnapshot[kKeys];
  uint8_t keyHeldInPass[kKeys];  // down at the snapshot before this pass's, or went down since
  int keyHits[kKeys];
  uint8_t buttonDown[kButtons];
  int buttonHits[kButtons];
  int mouseX, mouseY;
  int wheelX, wheelY;          // steps since the last snapshot (or read, outside the loop)
  int passWheelX, passWheelY;  // the steps the pass's snapshot took
  bool closeRequested;
  JoystickReading joy[kPorts];
  bool textWanted;
  std::u32string text;      // typed since the last snapshot (or read, outside the loop)
  std::u32string passText;  // what the pass's snapshot took
};
InputState State{};
bool PassSnapshots = false;  // the main loop takes the input once per pass

// What a pass tap has been told so far, and what it has not been told yet.
struct TapState {
  PassInputTap tap;
  std::vector<ScriptedEvent> pending;
  int mouseX = 0, mouseY = 0;
  JoystickReading joy;
};
TapState Tap;

void Pump() {
  if (PassSnapshots) return;
  if (Backend* backend = CurrentBackend()) backend->PumpEvents();
}

void Note(ScriptedEvent::Kind kind, int a = 0, int b = 0, float value = 0) {
  if (!Tap.tap) return;
  ScriptedEvent event;
  event.kind = kind;
  event.a = a;
  event.b = b;
  event.value = value;
  Tap.pending.push_back(event);
}

// The pointer and the first joystick are plain values: only where they stand at the snapshot
// counts, not the way they took to get there.
void NoteMouseAndJoystick() {
  using Kind = ScriptedEvent::Kind;
  if (State.mouseX != Tap.mouseX || State.mouseY != Tap.mouseY) {
    Note(Kind::MouseMove, State.mouseX, State.mouseY);
    Tap.mouseX = State.mouseX;
    Tap.mouseY = State.mouseY;
  }
  const JoystickReading& joy = State.joy[0];
  if (joy.x != Tap.joy.x) Note(Kind::JoyAxisX, 0, 0, joy.x);
  if (joy.y != Tap.joy.y) Note(Kind::JoyAxisY, 0, 0, joy.y);
  for (int bit = 0; bit < 32; ++bit) {
    const uint32_t mask = 1u << bit;
    if ((joy.buttons & mask) == (Tap.joy.buttons & mask)) continue;
    Note((joy.buttons & mask) ? Kind::JoyButtonDown : Kind::JoyButtonUp, bit);
  }
  Tap.joy = joy;
}

// Huge or endless wheel input stays a bounded number of steps.
int SaturatedSteps(int64_t sum) {
  if (sum > kWheelStepLimit) return kWheelStepLimit;
  return sum < -kWheelStepLimit ? -kWheelStepLimit : static_cast<int>(sum);
}

bool ValidKey(int key) {
  return key >= 0 && key < kKeys;
}
bool ValidButton(int button) {
  return button >= 1 && button < kButtons;
}
bool ValidPort(int port) {
  return port >= 0 && port < kPorts;
}
const JoystickReading& ReadJoy(int port) {
  if (!PassSnapshots) {
    Pump();
    if (Backend* backend = CurrentBackend()) backend->ReadJoystick(port);
  }
  return State.joy[port];
}
}  // namespace

void InputKeyDown(int key) {
  if (!ValidKey(key) || State.keyDown[key]) return;
  State.keyDown[key] = 1;
  State.keyPressedSince[key] = 1;
  ++State.keyHits[key];
  // Typed text erases in its place among the characters, however many a pass brings.
  if (key == kKeyBackspace && State.textWanted && State.text.size() < kTypedTextLimit)
    State.text.push_back(U'\b');
  Note(ScriptedEvent::Kind::KeyDown, key);
}

void InputKeyUp(int key) {
  if (!ValidKey(key) || !State.keyDown[key]) return;
  State.keyDown[key] = 0;
  Note(ScriptedEvent::Kind::KeyUp, key);
}

void InputMouseButton(int button, bool down) {
  if (!ValidButton(button)) return;
  if (!down) {
    if (State.buttonDown[button]) Note(ScriptedEvent::Kind::ButtonUp, button);
    State.buttonDown[button] = 0;
  } else if (!State.buttonDown[button]) {
    State.buttonDown[button] = 1;
    ++State.buttonHits[button];
    Note(ScriptedEvent::Kind::ButtonDown, button);
  }
}

void InputMouseMove(int x, int y) {
  State.mouseX = x;
  State.mouseY = y;
}

void InputMouseWheel(int dx, int dy) {
  State.wheelX = SaturatedSteps(int64_t{State.wheelX} + dx);
  State.wheelY = SaturatedSteps(int64_t{State.wheelY} + dy);
}

void InputText(char32_t character) {
  if (!State.textWanted || State.text.size() >= kTypedTextLimit) return;
  State.text.push_back(character);
  Note(ScriptedEvent::Kind::Text, static_cast<int>(character));
}

void InputWantText(bool want) {
  State.textWanted = want;
  if (want) return;
  State.text.clear();
  State.passText.clear();
}

bool InputTextWanted() {
  return State.textWanted;
}

std::u32string TypedText() {
  Pump();
  if (PassSnapshots) return State.passText;
  std::u32string text;
  text.swap(State.text);
  return text;
}

void InputFocusChanged() {
  std::memset(State.keyDown, 0, sizeof State.keyDown);
  std::memset(State.keyPressedSince, 0, sizeof State.keyPressedSince);
  std::memset(State.keyDownAtSnapshot, 0, sizeof State.keyDownAtSnapshot);
  std::memset(State.keyHeldInPass, 0, sizeof State.keyHeldInPass);
  std::memset(State.keyHits, 0, sizeof State.keyHits);
  std::memset(State.buttonDown, 0, sizeof State.buttonDown);
  std::memset(State.buttonHits, 0, sizeof State.buttonHits);
  // Gaining the focus back clears the same way, so one kind of event stands for both.
  Note(ScriptedEvent::Kind::FocusLost);
}

void InputCloseRequest() {
  State.closeRequested = true;
  Note(ScriptedEvent::Kind::Close);
}

bool InputDeliver(const ScriptedEvent& event) {
  using Kind = ScriptedEvent::Kind;
  switch (event.kind) {
    case Kind::KeyDown:
      InputKeyDown(event.a);
      return true;
    case Kind::KeyUp:
      InputKeyUp(event.a);
      return true;
    case Kind::MouseMove:
      InputMouseMove(event.a, event.b);
      return true;
    case Kind::ButtonDown:
    case Kind::ButtonUp:
      InputMouseButton(event.a, event.kind == Kind::ButtonDown);
      return true;
    case Kind::Close:
      InputCloseRequest();
      return true;
    case Kind::FocusLost:
      InputFocusChanged();
      return true;
    case Kind::Wheel:
      InputMouseWheel(event.a, event.b);
      return true;
    case Kind::Text:
      if (event.a > 0) InputText(static_cast<char32_t>(event.a));
      return true;
    default:
      return false;
  }
}

void InputSetJoystick(int port, const JoystickReading& reading) {
  if (!ValidPort(port)) return;
  // A port without a device keeps its last values.
  if (reading.present) State.joy[port] = reading;
}

void InputReset() {
  State = InputState{};
  PassSnapshots = false;
  Tap = TapState{};
}

void InputBeginPass() {
  PassSnapshots = true;
  if (Backend* backend = CurrentBackend()) {
    backend->PumpEvents();
    for (int port = 0; port < kPorts; ++port)
      backend->ReadJoystick(port);
  }
  for (int key = 0; key < kKeys; ++key) {
    State.keyHeldInPass[key] = State.keyDownAtSnapshot[key] | State.keyPressedSince[key];
    State.keyDownAtSnapshot[key] = State.keyDown[key];
  }
  std::memset(State.keyPressedSince, 0, sizeof State.keyPressedSince);
  State.passWheelX = State.wheelX;
  State.passWheelY = State.wheelY;
  State.wheelX = State.wheelY = 0;
  State.passText.swap(State.text);
  State.text.clear();
  if (!Tap.tap) return;
  NoteMouseAndJoystick();
  if (State.passWheelX != 0 || State.passWheelY != 0)
    Note(ScriptedEvent::Kind::Wheel, State.passWheelX, State.passWheelY);
  std::vector<ScriptedEvent> events;
  events.swap(Tap.pending);
  Tap.tap(events);
}

// The tap starts from no input at all, as a replay does: install it before the game starts.
void InputSetPassTap(PassInputTap tap) {
  Tap = TapState{};
  Tap.tap = std::move(tap);
}

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

int KeyHeldDuringPass(int key) {
  Pump();
  if (!ValidKey(key)) return 0;
  return PassSnapshots ? State.keyHeldInPass[key] : State.keyDown[key];
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

namespace {
// Inside the loop the pass's steps; outside, what has come since the last read of that axis.
int WheelSteps(int& pending, int pass_steps) {
  Pump();
  if (PassSnapshots) return pass_steps;
  const int steps = pending;
  pending = 0;
  return steps;
}
}  // namespace

int MouseWheelX() {
  return WheelSteps(State.wheelX, State.passWheelX);
}
int MouseWheelY() {
  return WheelSteps(State.wheelY, State.passWheelY);
}

int CloseRequested() {
  Pump();
  const bool requested = State.closeRequested;
  State.closeRequested = false;
  return requested ? 1 : 0;
}

float JoyAxisX(int port) {
  return ValidPort(port) ? ReadJoy(port).x : 0.0f;
}
float JoyAxisY(int port) {
  return ValidPort(port) ? ReadJoy(port).y : 0.0f;
}

int JoyButtonDown(int button, int port) {
  if (!ValidPort(port) || button < 0 || button > 31) return 0;
  return (ReadJoy(port).buttons >> button) & 1u;
}
