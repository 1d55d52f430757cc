// The pads through SDL's virtual joysticks, which behave like plugged-in devices without any
// hardware or display.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/input.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_pads.h"
#include "shared/game_events.h"
#include "support/test_env.h"

namespace {

class SdlPadsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    // A real pad on the machine would take port 0 before the virtual ones.
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is connected";
  }
  void TearDown() override {
    while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0))
      SDL_JoystickDetachVirtual(0);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    GameTest::TearDown();
  }

  // A pad SDL knows by its layout: every standard button and axis.
  static int AttachController(const char* name) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = name;
    return SDL_JoystickAttachVirtualEx(&desc);
  }

  static int AttachRaw(SDL_JoystickType type, int axes, int buttons, int hats, const char* name) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = type;
    desc.naxes = static_cast<Uint16>(axes);
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.nhats = static_cast<Uint16>(hats);
    desc.name = name;
    return SDL_JoystickAttachVirtualEx(&desc);
  }

  static int IndexOf(SDL_JoystickID instance) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance) return i;
    }
    return -1;
  }

  // The virtual device behind an open pad, to press its buttons.
  static SDL_Joystick* Device(int device_index) {
    return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device_index));
  }
};

}  // namespace

TEST_F(SdlPadsTest, ControllersGiveABXYAsButtonsZeroToThreeAndTheDpadAsAxes) {
  SdlPads pads;
  const int index = AttachController("Virtual Pad");
  ASSERT_GE(index, 0) << SDL_GetError();
  pads.Connect(index);
  ASSERT_EQ(pads.Count(), 1);
  SDL_Joystick* device = Device(index);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_Y, 1);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_START, 1);  // not a game button
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  SDL_JoystickSetVirtualAxis(device, SDL_CONTROLLER_AXIS_LEFTY, 32767);
  SDL_JoystickUpdate();
  const JoystickReading reading = pads.Read(0);
  EXPECT_TRUE(reading.present);
  EXPECT_EQ(reading.buttons, 1u << 3);
  EXPECT_FLOAT_EQ(reading.x, -1.0f);
  EXPECT_FLOAT_EQ(reading.y, 1.0f);
}

TEST_F(SdlPadsTest, RawJoysticksReadEveryButtonAndTheirHatAsAxes) {
  SdlPads pads;
  const int index = AttachRaw(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 8, 1, "Virtual Stick");
  ASSERT_GE(index, 0) << SDL_GetError();
  pads.Connect(index);
  ASSERT_EQ(pads.Count(), 1);
  SDL_Joystick* device = Device(index);
  SDL_JoystickSetVirtualButton(device, 6, 1);
  SDL_JoystickSetVirtualHat(device, 0, SDL_HAT_RIGHTUP);
  SDL_JoystickUpdate();
  const JoystickReading reading = pads.Read(0);
  EXPECT_EQ(reading.buttons, 1u << 6);
  EXPECT_FLOAT_EQ(reading.x, 1.0f);
  EXPECT_FLOAT_EQ(reading.y, -1.0f);
}

TEST_F(SdlPadsTest, SensorsNeverTakeAPortAndTheFirstConnectedPadIsPortZero) {
  SdlPads pads;
  pads.Connect(AttachRaw(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 0, 0, "Virtual Accelerometer"));
  EXPECT_EQ(pads.Count(), 0);
  const int first = AttachController("First Pad");
  const int second = AttachRaw(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0, "Second Pad");
  pads.Connect(first);
  pads.Connect(second);
  pads.Connect(first);  // announced twice (at start-up and by its event): opened once
  ASSERT_EQ(pads.Count(), 2);
  SDL_JoystickSetVirtualButton(Device(second), 0, 1);
  SDL_JoystickUpdate();
  EXPECT_EQ(pads.Read(0).buttons, 0u);
  EXPECT_EQ(pads.Read(1).buttons, 1u);
  // The first one unplugged: the second moves up to port 0.
  EXPECT_TRUE(pads.Disconnect(SDL_JoystickGetDeviceInstanceID(first)));
  EXPECT_EQ(pads.Count(), 1);
  EXPECT_EQ(pads.Read(0).buttons, 1u);
  EXPECT_FALSE(pads.Read(1).present);
  EXPECT_FALSE(pads.Disconnect(-5));
}

TEST_F(SdlPadsTest, APadPulledOutMidJumpLeavesNothingHeld) {
  SdlBackend backend(true);
  SetBackend(&backend);
  const int index = AttachRaw(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0, "Jumping Pad");
  ASSERT_GE(index, 0);
  const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
  backend.PumpEvents();
  SDL_JoystickSetVirtualButton(Device(index), 2, 1);  // jump held
  SDL_JoystickSetVirtualAxis(Device(index), 0, 32767);
  backend.ReadJoystick(0);
  EXPECT_EQ(JoyButtonDown(2, 0), 1);
  SDL_JoystickDetachVirtual(IndexOf(instance));
  backend.PumpEvents();
  backend.ReadJoystick(0);
  EXPECT_EQ(JoyButtonDown(2, 0), 0);
  EXPECT_FLOAT_EQ(JoyAxisX(0), 0.0f);
  SetBackend(&Backend);
}

TEST_F(SdlPadsTest, EachPadComingAndGoingIsReportedOnceForTheOverlay) {
  TGameEvents::FClear();
  SdlPads pads;
  pads.Connect(AttachRaw(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 0, 0, "Virtual Accelerometer"));
  const int pad = AttachController("Reported Pad");
  pads.Connect(pad);
  pads.Connect(pad);  // announced twice: one message
  pads.Disconnect(SDL_JoystickGetDeviceInstanceID(pad));
  pads.Disconnect(-5);
  std::vector<GameEvent> kinds;
  for (const GameEventRecord& event : TGameEvents::FPending())
    kinds.push_back(event.Kind);
  EXPECT_EQ(kinds, (std::vector<GameEvent>{GameEvent::kPadConnected, GameEvent::kPadGone}));
  TGameEvents::FClear();
}
