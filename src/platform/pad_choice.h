// Which input devices count as the player's pads, and how a pad's stick and d-pad become the
// game's two axes: the same choices for the SDL backend's pads and the web page's. Kept free of
// any device library so they can be checked without a device.
#pragma once

#include <string>

// What the system says a device is.
enum class PadKind {
  kGameController,  // a known pad layout: read through the named buttons and sticks
  kJoystickLike,    // a wheel, flight stick, arcade stick, dance mat and the like
  kUnknown,         // nothing said
};

struct PadDescription {
  std::string name;
  PadKind kind = PadKind::kUnknown;
  int axes = 0, buttons = 0, hats = 0;
};

// Accelerometers, tablets, touch pads and keyboards that present themselves as joysticks are
// never the player's pad: one of them taking port 0 would leave the real pad unread.
bool CountsAsPad(const PadDescription& device);

struct PadAxes {
  float x = 0, y = 0;
};

// The stick, unless the d-pad is pressed: a pressed d-pad direction reads as the stick pushed
// all the way (left -1, right 1, up -1, down 1).
PadAxes StickOrDpad(PadAxes stick, bool left, bool right, bool up, bool down);

// A raw axis reading over -32768..32767 as -1..1.
float AxisValue(int raw);
