// The player's profile: the keyboard and the first joystick read into five input values once a
// frame, before any actor moves.
#include "actors/profile.h"
#include "shared/game_codes.h"

#include "platform/commands.h"
#include "platform/input.h"

std::shared_ptr<TProfile> Profiles[4];

namespace {

constexpr int kJoyPort = 0;
// Strict: a stick resting exactly at half travel still counts as centred.
constexpr float kAxisThreshold = 0.5f;

}  // namespace

int32_t PluspadOf(int32_t vpad, int32_t hpad) {
  // Rows: no vertical, up, down; columns: no horizontal, left, right.
  static constexpr int32_t kCodes[3][3] = {{0, 4, 2}, {1, 5, 6}, {3, 7, 8}};
  int32_t row = 0;
  if (vpad == kUp) row = 1;
  if (vpad == kDown) row = 2;
  int32_t column = 0;
  if (hpad == kLeft) column = 1;
  if (hpad == kRight) column = 2;
  return kCodes[row][column];
}

int TProfile::FResetTables() {
  for (auto& profile : Profiles)
    profile = nullptr;
  return 0;
}

int TProfile::FBoot() {
  Profiles[kPlayerProfile] = std::make_shared<TProfile>();
  return 0;
}

int TProfile::FUpdate() {
  if (Profiles[kPlayerProfile]) Profiles[kPlayerProfile]->MInput();
  return 0;
}

int TProfile::MInput() {
  // A key that is down makes the joystick test unnecessary; up beats down, left beats right.
  if (CommandHeld(Command::kClimbUp) || JoyAxisY(kJoyPort) < -kAxisThreshold) {
    VPad = kUp;
  } else if (CommandHeld(Command::kDuck) || JoyAxisY(kJoyPort) > kAxisThreshold) {
    VPad = kDown;
  } else {
    VPad = kNoDirection;
  }
  if (CommandHeld(Command::kRunLeft) || JoyAxisX(kJoyPort) < -kAxisThreshold) {
    Hpad = kLeft;
  } else if (CommandHeld(Command::kRunRight) || JoyAxisX(kJoyPort) > kAxisThreshold) {
    Hpad = kRight;
  } else {
    Hpad = kNoDirection;
  }
  Pluspad = PluspadOf(VPad, Hpad);
  BButton =
      (CommandHeld(Command::kJump) || JoyButtonDown(2, kJoyPort) || JoyButtonDown(3, kJoyPort)) ? 1
                                                                                                : 0;
  AButton =
      (CommandHeld(Command::kAButton) || JoyButtonDown(0, kJoyPort) || JoyButtonDown(1, kJoyPort))
          ? 1
          : 0;
  return 0;
}
