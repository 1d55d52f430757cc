// The input bookkeeping: hit counts, held keys, focus changes, the mouse, the close request,
// events delivered before a query, and an absent joystick.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "platform/commands.h"
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
  InputMouseButton(kMouseLeft, true);
  InputFocusChanged();
  EXPECT_EQ(KeyIsDown(kKeyLeft), 0);
  EXPECT_EQ(KeyHitCount(kKeyN), 0);
  EXPECT_EQ(MouseButtonDown(kMouseLeft), 0);
  EXPECT_EQ(MouseHitCount(1), 0);
  // The key counts anew when pressed again although no release was seen.
  InputKeyDown(kKeyLeft);
  EXPECT_EQ(KeyHitCount(kKeyLeft), 1);
}

TEST_F(InputTest, MouseButtonsAndPointer) {
  InputMouseButton(kMouseRight, true);
  InputMouseButton(kMouseRight, true);
  EXPECT_EQ(MouseButtonDown(kMouseRight), 1);
  EXPECT_EQ(MouseHitCount(2), 1);
  InputMouseButton(kMouseRight, false);
  EXPECT_EQ(MouseButtonDown(kMouseRight), 0);
  InputMouseMove(123, 45);
  EXPECT_EQ(MousePosX(), 123);
  EXPECT_EQ(MousePosY(), 45);
  // Codes outside the tables are ignored rather than written out of bounds.
  InputKeyDown(-1);
  InputKeyDown(256);
  constexpr int kNoSuchButton = 9;
  InputMouseButton(0, true);
  InputMouseButton(kNoSuchButton, true);
  EXPECT_EQ(KeyIsDown(256), 0);
  EXPECT_EQ(KeyHitCount(-1), 0);
  EXPECT_EQ(MouseButtonDown(kNoSuchButton), 0);
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

TEST_F(InputTest, APassReadsTheInputTakenAtItsStart) {
  Backend.SetScript({{1, Kind::KeyDown, kKeyE}, {2, Kind::KeyDown, kKeyS}, {2, Kind::Close}});
  InputBeginPass();
  EXPECT_EQ(KeyIsDown(kKeyE), 1);
  Backend.Passes = 1;  // pass 1 is over: the events of pass 2 are waiting now
  EXPECT_EQ(KeyIsDown(kKeyS), 0);
  EXPECT_EQ(CloseRequested(), 0);
  InputBeginPass();
  EXPECT_EQ(KeyIsDown(kKeyS), 1);
  EXPECT_EQ(CloseRequested(), 1);
}

namespace {

// Everything the game's queries can tell in one pass (hits are read, so cleared, as the game does).
std::vector<float> QueryAll() {
  std::vector<float> seen;
  for (int key : {kKeyEscape, kKeySpace, kKeyLeft, kKeyRight, kKeyB, kKeyF, kKeyS}) {
    seen.push_back(static_cast<float>(KeyHitCount(key)));
    seen.push_back(static_cast<float>(KeyIsDown(key)));
  }
  for (int button = 1; button <= 3; ++button) {
    seen.push_back(static_cast<float>(MouseButtonDown(button)));
    seen.push_back(static_cast<float>(MouseHitCount(button)));
  }
  seen.insert(seen.end(),
              {static_cast<float>(MousePosX()), static_cast<float>(MousePosY()),
               static_cast<float>(CloseRequested()), JoyAxisX(0), JoyAxisY(0),
               static_cast<float>(JoyButtonDown(0, 0)), static_cast<float>(JoyButtonDown(5, 0)),
               static_cast<float>(MouseWheelX()), static_cast<float>(MouseWheelY())});
  return seen;
}

// Raw input as a window delivers it between two passes: presses, repeats, releases, pointer
// moves, focus changes, close requests and joystick readings, chosen by the pass number.
void RawInputBefore(int pass) {
  const int keys[] = {kKeyEscape, kKeySpace, kKeyLeft, kKeyRight, kKeyB, kKeyF, kKeyS};
  for (int i = 0; i < 1 + pass % 4; ++i) {
    const int key = keys[(pass * 3 + i) % 7];
    if ((pass + i) % 3 == 0)
      InputKeyUp(key);
    else
      InputKeyDown(key);
  }
  InputMouseButton(1 + pass % 3, pass % 2 == 0);
  if (pass % 5 == 0) InputMouseMove(pass * 7, 300 - pass);
  if (pass % 5 == 1) InputMouseMove(0, 0);  // back where a replay starts
  if (pass % 11 == 0) InputFocusChanged();
  if (pass % 13 == 0) InputCloseRequest();
  if (pass % 3 == 0) InputMouseWheel(pass % 2, -1);
  if (pass % 3 == 0 && pass % 4 == 0) InputMouseWheel(-pass, 2);  // two turns in one pass
  if (pass == 29) InputMouseWheel(INT32_MAX, INT32_MIN);
  JoystickReading joy;
  joy.present = pass % 7 != 0;  // now and then no device: the last values stay
  joy.x = static_cast<float>(pass % 9) / 9.0f - 0.5f;
  joy.y = pass % 4 == 0 ? -1.0f : 0.3f;
  joy.buttons = static_cast<uint32_t>(pass * 37) & 0x2fu;
  InputSetJoystick(0, joy);
}

}  // namespace

// The wheel of a pass reads the same all the pass long and is gone by the next, whether read or
// not; however far it is turned, it stays a bounded number of steps.
TEST_F(InputTest, TheWheelIsThePassesTurnsKeptWithinBounds) {
  InputMouseWheel(2, -3);
  InputMouseWheel(1, 0);
  EXPECT_EQ(MouseWheelX(), 3);  // outside the loop: read once
  EXPECT_EQ(MouseWheelX(), 0);
  EXPECT_EQ(MouseWheelY(), -3);
  InputMouseWheel(0, 5);
  InputBeginPass();
  EXPECT_EQ(MouseWheelY(), 5);
  EXPECT_EQ(MouseWheelY(), 5);
  InputBeginPass();
  EXPECT_EQ(MouseWheelY(), 0);
  for (int i = 0; i < 5000; ++i)
    InputMouseWheel(INT32_MAX, INT32_MIN);
  InputBeginPass();
  EXPECT_EQ(MouseWheelX(), kWheelStepLimit);
  EXPECT_EQ(MouseWheelY(), -kWheelStepLimit);
  InputMouseWheel(INT32_MIN, 1);
  InputBeginPass();
  EXPECT_EQ(MouseWheelX(), -kWheelStepLimit);
  EXPECT_EQ(MouseWheelY(), 1);
}

// What the tap hands on, played back as a script, makes every query of every pass read the same:
// that is all a recording of play needs to replay exactly.
TEST_F(InputTest, TheTapHandsOnWhatAReplayNeedsToReadTheSame) {
  SetBackend(nullptr);  // the raw input comes from the test, not from a backend's pump
  std::vector<ScriptedEvent> taken;
  int pass = 0;
  InputSetPassTap([&](const std::vector<ScriptedEvent>& events) {
    for (ScriptedEvent event : events) {
      event.frame = pass;
      taken.push_back(event);
    }
  });
  std::vector<std::vector<float>> live;
  for (pass = 1; pass <= 60; ++pass) {
    RawInputBefore(pass);
    InputBeginPass();
    live.push_back(QueryAll());
  }
  // The pointer is handed on once in each pass where it moved: 12 moves out and 11 back (the
  // first "move" to (0, 0) in pass 1 moves nothing).
  EXPECT_EQ(std::count_if(taken.begin(), taken.end(),
                          [](const ScriptedEvent& e) { return e.kind == Kind::MouseMove; }),
            23);

  InputReset();
  SetBackend(&Backend);
  Backend.SetScript(taken);
  for (pass = 1; pass <= 60; ++pass) {
    Backend.Passes = pass - 1;
    InputBeginPass();
    EXPECT_EQ(QueryAll(), live[pass - 1]) << "pass " << pass;
  }
}

// Text reaches the input only while a prompt asks for it, so a recording of play holds none;
// what a pass's snapshot took reads the same all pass, and a replay of the tap types it again.
TEST_F(InputTest, TypedTextIsKeptOnlyWhileAskedForAndReplaysAsTyped) {
  SetBackend(nullptr);
  std::vector<ScriptedEvent> taken;
  InputSetPassTap([&](const std::vector<ScriptedEvent>& events) {
    taken.insert(taken.end(), events.begin(), events.end());
  });
  InputText(U'x');
  InputBeginPass();
  EXPECT_EQ(TypedText(), U"");
  InputWantText(true);
  InputText(U'a');
  InputText(U'\u00e9');
  InputBeginPass();
  EXPECT_EQ(TypedText(), U"a\u00e9");
  EXPECT_EQ(TypedText(), U"a\u00e9");  // read as often as asked within the pass
  for (size_t i = 0; i < kTypedTextLimit + 50; ++i)
    InputText(U'z');
  InputBeginPass();
  EXPECT_EQ(TypedText().size(), kTypedTextLimit);
  InputWantText(false);
  InputText(U'q');
  InputBeginPass();
  EXPECT_EQ(TypedText(), U"");
  const size_t texts = static_cast<size_t>(std::count_if(
      taken.begin(), taken.end(), [](const ScriptedEvent& e) { return e.kind == Kind::Text; }));
  EXPECT_EQ(texts, 2 + kTypedTextLimit);
}
