// Which devices count as pads, by kind and by name, and the stick or d-pad as the game's axes.
#include "platform/pad_choice.h"

#include <algorithm>
#include <cctype>

namespace {

// Name parts of devices that report themselves as joysticks but are not held by a player.
constexpr const char* kNotPads[] = {"accelerometer", "gyro",  "motion sensor", "tablet", "touchpad",
                                    "trackpad",      "mouse", "keyboard",      "stylus"};

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool NamedLikeANonPad(const std::string& name) {
  const std::string lowered = Lowered(name);
  for (const char* part : kNotPads) {
    if (lowered.find(part) != std::string::npos) return true;
  }
  return false;
}

float DpadAxis(float stick, bool minus, bool plus) {
  if (minus != plus) return minus ? -1.0f : 1.0f;
  return stick;
}

}  // namespace

bool CountsAsPad(const PadDescription& device) {
  if (device.kind == PadKind::kGameController) return true;
  if (NamedLikeANonPad(device.name)) return false;
  // Something steerable needs a way to steer and a button to press.
  const bool steers = device.axes >= 2 || device.hats >= 1;
  if (device.kind == PadKind::kJoystickLike) return steers || device.buttons >= 1;
  return steers && device.buttons >= 1;
}

PadAxes StickOrDpad(PadAxes stick, bool left, bool right, bool up, bool down) {
  return {DpadAxis(stick.x, left, right), DpadAxis(stick.y, up, down)};
}

float AxisValue(int raw) {
  // SDL reports every axis over -32768..32767.
  constexpr double kMin = -32768, kMax = 32767;
  return static_cast<float>((raw - kMin) * 2 / (kMax - kMin) - 1);
}
