// Which devices count as pads, the d-pad over the stick, and the axes' range.
#include <gtest/gtest.h>

#include "platform/pad_choice.h"

TEST(PadChoiceTest, PadsAndJoysticksCountButSensorsAndKeyboardsDoNot) {
  EXPECT_TRUE(CountsAsPad({"Xbox Wireless Controller", PadKind::kGameController, 6, 11, 1}));
  EXPECT_TRUE(CountsAsPad({"Logitech Extreme 3D", PadKind::kJoystickLike, 4, 12, 1}));
  EXPECT_TRUE(CountsAsPad({"USB Gamepad", PadKind::kUnknown, 2, 10, 0}));
  EXPECT_TRUE(CountsAsPad({"Retro pad", PadKind::kUnknown, 0, 8, 1}));  // d-pad as a hat only
  EXPECT_FALSE(CountsAsPad({"Android Accelerometer", PadKind::kUnknown, 3, 0, 0}));
  EXPECT_FALSE(CountsAsPad({"Sony Motion Sensors", PadKind::kUnknown, 6, 1, 0}));
  EXPECT_FALSE(CountsAsPad({"Wacom Intuos Tablet Pad", PadKind::kUnknown, 2, 4, 0}));
  EXPECT_FALSE(CountsAsPad({"Gaming KEYBOARD Consumer Control", PadKind::kUnknown, 2, 5, 0}));
  EXPECT_FALSE(CountsAsPad({"mystery device", PadKind::kUnknown, 3, 0, 0}));  // nothing to press
  EXPECT_FALSE(CountsAsPad({"volume knob", PadKind::kUnknown, 1, 1, 0}));     // nothing to steer
}

TEST(PadChoiceTest, DpadOverridesTheStickAxisByAxis) {
  const PadAxes stick{0.25f, -0.5f};
  const PadAxes idle = StickOrDpad(stick, false, false, false, false);
  EXPECT_FLOAT_EQ(idle.x, 0.25f);
  EXPECT_FLOAT_EQ(idle.y, -0.5f);
  const PadAxes left_down = StickOrDpad(stick, true, false, false, true);
  EXPECT_FLOAT_EQ(left_down.x, -1.0f);
  EXPECT_FLOAT_EQ(left_down.y, 1.0f);
  const PadAxes right_only = StickOrDpad(stick, false, true, false, false);
  EXPECT_FLOAT_EQ(right_only.x, 1.0f);
  EXPECT_FLOAT_EQ(right_only.y, -0.5f);
  // Both ways at once (a worn d-pad, a hat reporting nonsense): the stick decides.
  EXPECT_FLOAT_EQ(StickOrDpad(stick, true, true, true, true).x, 0.25f);
}

TEST(PadChoiceTest, AxesSpanMinusOneToOne) {
  EXPECT_FLOAT_EQ(AxisValue(-32768), -1.0f);
  EXPECT_FLOAT_EQ(AxisValue(32767), 1.0f);
  EXPECT_NEAR(AxisValue(0), 0.0f, 1e-4);
}
