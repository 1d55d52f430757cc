// The web backend's readings of the browser's input: keys give the codes the SDL backend gives
// the same keys, and game pads read as SDL reads a game controller or a raw joystick.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/web/pad_reading.h"
#include "platform/web/web_keys.h"

namespace {

TEST(WebKeys, LettersFollowTheLayoutOtherKeysTheirPlace) {
  EXPECT_EQ(WebGameKeyCode("b", "KeyB"), 'B');
  EXPECT_EQ(WebGameKeyCode("B", "KeyB"), 'B');  // with Shift held
  EXPECT_EQ(WebGameKeyCode("q", "KeyA"), 'Q');  // AZERTY: the letter printed on the key
  EXPECT_EQ(WebGameKeyCode("&", "Digit1"), '1');
  EXPECT_EQ(WebGameKeyCode("\xc3\xa9", "Digit2"), '2');  // a layout's accented letter
  EXPECT_EQ(WebGameKeyCode("\xd0\xb8", "KeyB"), 'B');    // a Cyrillic layout, by place
  EXPECT_EQ(WebGameKeyCode("ArrowLeft", "ArrowLeft"), 37);
  EXPECT_EQ(WebGameKeyCode("ArrowDown", "ArrowDown"), 40);
  EXPECT_EQ(WebGameKeyCode("Shift", "ShiftRight"), 16);
  EXPECT_EQ(WebGameKeyCode("Control", "ControlLeft"), 17);
  EXPECT_EQ(WebGameKeyCode(" ", "Space"), 32);
  EXPECT_EQ(WebGameKeyCode("Escape", "Escape"), 27);
  EXPECT_EQ(WebGameKeyCode("Enter", "NumpadEnter"), 13);
  EXPECT_EQ(WebGameKeyCode("F11", "F11"), 122);
  EXPECT_EQ(WebGameKeyCode("7", "Numpad7"), 103);
  EXPECT_EQ(WebGameKeyCode("MediaPlayPause", "MediaPlayPause"), 0);
  EXPECT_EQ(WebGameKeyCode("Unidentified", ""), 0);
  EXPECT_EQ(WebGameKeyCode("", "KeyZZ"), 0);
}

GamepadSnapshot StandardPad() {
  GamepadSnapshot pad;
  pad.standard = true;
  pad.axes = {0.25, -0.5, 0, 0};
  pad.buttons.assign(17, false);
  return pad;
}

TEST(WebPads, AStandardPadReadsLikeAGameController) {
  GamepadSnapshot pad = StandardPad();
  pad.buttons[0] = pad.buttons[3] = true;  // A and Y
  pad.buttons[9] = true;                   // Start: not one of the game's buttons
  JoystickReading reading = ReadGamepad(pad);
  EXPECT_TRUE(reading.present);
  EXPECT_FLOAT_EQ(reading.x, 0.25f);
  EXPECT_FLOAT_EQ(reading.y, -0.5f);
  EXPECT_EQ(reading.buttons, 0b1001u);
  // A pressed d-pad direction wins over the stick, all the way.
  pad.buttons[14] = true;  // left
  pad.buttons[13] = true;  // down
  reading = ReadGamepad(pad);
  EXPECT_FLOAT_EQ(reading.x, -1.0f);
  EXPECT_FLOAT_EQ(reading.y, 1.0f);
}

TEST(WebPads, OtherPadsReadRawAndOddValuesStayInRange) {
  GamepadSnapshot pad;
  pad.axes = {std::numeric_limits<double>::quiet_NaN(), 7.0};
  pad.buttons.assign(40, false);
  pad.buttons[14] = pad.buttons[31] = pad.buttons[35] = true;
  const JoystickReading reading = ReadGamepad(pad);
  EXPECT_FLOAT_EQ(reading.x, 0.0f);  // a NaN reads centred
  EXPECT_FLOAT_EQ(reading.y, 1.0f);
  EXPECT_EQ(reading.buttons, (1u << 14) | (1u << 31));  // raw numbers, up to the 32nd
  GamepadSnapshot bare;
  bare.standard = true;  // a pad reporting no axes and no buttons at all
  const JoystickReading none = ReadGamepad(bare);
  EXPECT_TRUE(none.present);
  EXPECT_EQ(none.x, 0.0f);
  EXPECT_EQ(none.buttons, 0u);
}

}  // namespace
