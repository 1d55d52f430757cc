// The pads through the browser's Gamepad API, sampled once a pass: new pads take the next port,
// a pad that went frees its port and the ones after it move up, as with SDL.
#include "platform/web/web_pads.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cstdio>

#include "platform/pad_choice.h"
#include "platform/web/pad_reading.h"

namespace {

GamepadSnapshot SnapshotOf(const EmscriptenGamepadEvent& state) {
  GamepadSnapshot pad;
  pad.standard = std::string(state.mapping) == "standard";
  const int axes = std::clamp(state.numAxes, 0, 64);
  const int buttons = std::clamp(state.numButtons, 0, 64);
  pad.axes.assign(state.axis, state.axis + axes);
  for (int b = 0; b < buttons; ++b)
    pad.buttons.push_back(state.digitalButton[b] != 0);
  return pad;
}

PadDescription DescriptionOf(const EmscriptenGamepadEvent& state) {
  PadDescription description;
  description.name = state.id[0] ? state.id : "unnamed pad";
  const bool standard = std::string(state.mapping) == "standard";
  description.kind = standard ? PadKind::kGameController : PadKind::kUnknown;
  description.axes = state.numAxes;
  description.buttons = state.numButtons;
  return description;
}

}  // namespace

void WebPads::Sample() {
  if (!Listening) return;
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
  const int count = emscripten_get_num_gamepads();
  std::vector<bool> seen(Ports.size(), false);
  for (int index = 0; index < count; ++index) {
    EmscriptenGamepadEvent state{};
    if (emscripten_get_gamepad_status(index, &state) != EMSCRIPTEN_RESULT_SUCCESS) continue;
    if (!state.connected) continue;
    auto port = std::find_if(Ports.begin(), Ports.end(),
                             [index](const Pad& pad) { return pad.index == index; });
    if (port == Ports.end()) {
      const PadDescription description = DescriptionOf(state);
      if (!CountsAsPad(description)) continue;
      Ports.push_back(Pad{index, description.name, {}});
      seen.push_back(false);
      port = Ports.end() - 1;
      std::fprintf(stderr, "Pad connected: %s (port %d)\n", port->name.c_str(), Count() - 1);
    }
    seen[port - Ports.begin()] = true;
    port->reading = ReadGamepad(SnapshotOf(state));
  }
  for (size_t i = Ports.size(); i-- > 0;) {
    if (seen[i]) continue;
    std::fprintf(stderr, "Pad disconnected: %s (was port %d)\n", Ports[i].name.c_str(),
                 static_cast<int>(i));
    Ports.erase(Ports.begin() + static_cast<long>(i));
  }
}

JoystickReading WebPads::Read(int port) const {
  if (port < 0 || port >= Count()) return {};
  return Ports[port].reading;
}
