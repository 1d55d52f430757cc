// One change of input as a script states it: what the headless backend delivers, and what a
// recording of real play writes down.
#pragma once

struct ScriptedEvent {
  enum class Kind {
    KeyDown,
    KeyUp,
    MouseMove,
    ButtonDown,
    ButtonUp,
    JoyAxisX,
    JoyAxisY,
    JoyButtonDown,
    JoyButtonUp,
    Close,
    FocusLost,
    Wheel,  // a and b: the wheel's steps across and up (positive away from the user)
    Text    // a: a character typed, as a Unicode code point (only while text is asked for)
  };
  int frame = 1;  // the pass of the main loop (from 1) at whose start it is delivered
  Kind kind = Kind::KeyDown;
  int a = 0, b = 0;  // key code / button / x, y / wheel steps across, up
  float value = 0;   // axis value
};
