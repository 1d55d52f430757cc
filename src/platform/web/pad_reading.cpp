// The Gamepad API's standard layout: buttons 0..3 are A, B, X, Y; 12..15 the d-pad's up, down,
// left and right; axes 0 and 1 the left stick, -1..1 with up and left negative.
#include "platform/web/pad_reading.h"

#include <cstddef>

#include "platform/pad_choice.h"

namespace {

constexpr size_t kDpadUp = 12, kDpadDown = 13, kDpadLeft = 14, kDpadRight = 15;
constexpr size_t kNamedButtons = 4;  // A, B, X, Y
constexpr size_t kMaxButtons = 32;

bool Pressed(const GamepadSnapshot& pad, size_t button) {
  return button < pad.buttons.size() && pad.buttons[button];
}

float Axis(const GamepadSnapshot& pad, size_t axis) {
  if (axis >= pad.axes.size()) return 0;
  const double value = pad.axes[axis];
  if (value != value) return 0;  // a NaN from a confused driver reads as centred
  if (value < -1) return -1;
  return value > 1 ? 1.0f : static_cast<float>(value);
}

}  // namespace

JoystickReading ReadGamepad(const GamepadSnapshot& pad) {
  JoystickReading reading;
  reading.present = true;
  const PadAxes stick{Axis(pad, 0), Axis(pad, 1)};
  const PadAxes axes = pad.standard
                           ? StickOrDpad(stick, Pressed(pad, kDpadLeft), Pressed(pad, kDpadRight),
                                         Pressed(pad, kDpadUp), Pressed(pad, kDpadDown))
                           : stick;
  reading.x = axes.x;
  reading.y = axes.y;
  const size_t buttons = pad.standard ? kNamedButtons : kMaxButtons;
  for (size_t b = 0; b < buttons && b < pad.buttons.size(); ++b) {
    if (pad.buttons[b]) reading.buttons |= 1u << b;
  }
  return reading;
}
