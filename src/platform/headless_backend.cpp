// The backend without a window: scripted events delivered at the start of their pass, a
// joystick fed from the script, and a virtual clock that only the flips and sleeps move.
#include "platform/headless_backend.h"

#include <algorithm>

#include "platform/input.h"

bool HeadlessBackend::OpenWindow(int width, int height, const std::string& title) {
  WindowOpen = !RefuseWindow;
  return WindowOpen;
}

void HeadlessBackend::SetScript(std::vector<ScriptedEvent> events) {
  std::stable_sort(
      events.begin(), events.end(),
      [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
  Script = std::move(events);
  Next = 0;
}

void HeadlessBackend::PumpEvents() {
  // The events of pass F arrive at its first query, before the Escape check.
  const int pass = Passes + 1;
  while (Next < Script.size() && Script[Next].frame <= pass)
    Deliver(Script[Next++]);
}

void HeadlessBackend::Deliver(const ScriptedEvent& event) {
  if (InputDeliver(event)) return;
  using Kind = ScriptedEvent::Kind;
  switch (event.kind) {
    case Kind::JoyAxisX:
      JoyX = event.value;
      break;
    case Kind::JoyAxisY:
      JoyY = event.value;
      break;
    case Kind::JoyButtonDown:
      JoyButtons |= 1u << (event.a & 31);
      break;
    case Kind::JoyButtonUp:
      JoyButtons &= ~(1u << (event.a & 31));
      break;
    default:
      break;
  }
}

void HeadlessBackend::ReadJoystick(int port) {
  if (port != 0) return;
  JoystickReading reading;
  reading.present = true;
  reading.x = JoyX;
  reading.y = JoyY;
  reading.buttons = JoyButtons;
  InputSetJoystick(0, reading);
}

void HeadlessBackend::Present(const uint32_t* pixels, int width, int height, int sync) {
  ++Flips;
  // A virtual display refreshing every 16 ms: the game's own clock reads stay reproducible.
  if (sync == 1) VirtualMillis += 16;
}

void HeadlessBackend::Sleep(int ms) {
  ++Sleeps;
  VirtualMillis += static_cast<uint32_t>(ms);
}

bool HeadlessBackend::EndOfPass() {
  ++Passes;
  return OnEndOfPass ? OnEndOfPass(Passes) : true;
}
