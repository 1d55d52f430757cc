// The input bookkeeping: hit counts, held keys, focus changes, the mouse, the close request,
// events delivered before a query, and an absent joystick.
#include <gtest/gtest.h>

#include "platform/input.h"
#include "support/test_env.h"

namespace {
using Kind = ScriptedEvent::Kind;
class InputTest : public GameTest {};
}  // namespace

TEST_F(InputTest, HitsCountPressesSinceTheLastRead) {
  InputKeyDown(kKeyB);
  InputKeyUp(kKeyB);
  InputKeyDown(kKeyB);
  InputKeyUp(kKeyB);
  EXPECT_EQ(KeyHitCount(kKeyB), 2);
  EXPECT_EQ(KeyHitCount(kKeyB), 0);
  EXPECT_EQ(KeyIsDown(kKeyB), 0);
}

TEST_F(InputTest, HeldKeyWithRepeatsCountsOnce) {
  InputKeyDown(kKeyRight);
  EXPECT_EQ(KeyHitCount(kKeyRight), 1);
  for (int frame = 0; frame < 10; ++frame) {
    InputKeyDown(kKeyRight);  // auto-repeat
    EXPECT_EQ(KeyIsDown(kKeyRight), 1);
    EXPECT_EQ(KeyHitCount(kKeyRight), 0);
  }
}

TEST_F(InputTest, FocusChangeClearsKeysButtonsAndHits) {
  InputKeyDown(kKeyLeft);
  InputKeyDown(kKeyN);
  InputMouseButton(1, true);
  InputFocusChanged();
  EXPECT_EQ(KeyIsDown(kKeyLeft), 0);
  EXPECT_EQ(KeyHitCount(kKeyN), 0);
  EXPECT_EQ(MouseButtonDown(1), 0);
  EXPECT_EQ(MouseHitCount(1), 0);
  // The key counts anew when pressed again although no release was seen.
  InputKeyDown(kKeyLeft);
  EXPECT_EQ(KeyHitCount(kKeyLeft), 1);
}

TEST_F(InputTest, MouseButtonsAndPointer) {
  InputMouseButton(2, true);
  InputMouseButton(2, true);
  EXPECT_EQ(MouseButtonDown(2), 1);
  EXPECT_EQ(MouseHitCount(2), 1);
  InputMouseButton(2, false);
  EXPECT_EQ(MouseButtonDown(2), 0);
  InputMouseMove(123, 45);
  EXPECT_EQ(MousePosX(), 123);
  EXPECT_EQ(MousePosY(), 45);
  // Codes outside the tables are ignored rather than written out of bounds.
  InputKeyDown(-1);
  InputKeyDown(256);
  InputMouseButton(0, true);
  InputMouseButton(9, true);
  EXPECT_EQ(KeyIsDown(256), 0);
  EXPECT_EQ(KeyHitCount(-1), 0);
  EXPECT_EQ(MouseButtonDown(9), 0);
}

TEST_F(InputTest, CloseRequestReadsOncePerRequest) {
  EXPECT_EQ(CloseRequested(), 0);
  InputCloseRequest();
  EXPECT_EQ(CloseRequested(), 1);
  EXPECT_EQ(CloseRequested(), 0);
}

TEST_F(InputTest, QueriesSeeEventsDeliveredBeforeThem) {
  Backend.SetScript({{1, Kind::KeyDown, kKeyE}, {1, Kind::Close}, {2, Kind::KeyDown, kKeyS}});
  EXPECT_EQ(KeyIsDown(kKeyE), 1);
  EXPECT_EQ(CloseRequested(), 1);
  EXPECT_EQ(KeyIsDown(kKeyS), 0);  // belongs to the next pass
}

TEST_F(InputTest, JoystickKeepsItsValuesWhenAbsent) {
  SetBackend(nullptr);  // no backend re-reads the device here
  EXPECT_EQ(JoyAxisX(0), 0.0f);
  EXPECT_EQ(JoyButtonDown(0, 0), 0);
  JoystickReading reading;
  reading.present = true;
  reading.x = -1.0f;
  reading.y = 0.5f;
  reading.buttons = 0b1010;
  InputSetJoystick(0, reading);
  InputSetJoystick(0, JoystickReading{});  // device gone: nothing read
  EXPECT_EQ(JoyAxisX(0), -1.0f);
  EXPECT_EQ(JoyAxisY(0), 0.5f);
  EXPECT_EQ(JoyButtonDown(1, 0), 1);
  EXPECT_EQ(JoyButtonDown(2, 0), 0);
  EXPECT_EQ(JoyButtonDown(3, 0), 1);
  EXPECT_EQ(JoyButtonDown(40, 0), 0);
  EXPECT_EQ(JoyAxisX(99), 0.0f);
  InputReset();
  EXPECT_EQ(JoyAxisX(0), 0.0f);
  SetBackend(&Backend);
}
