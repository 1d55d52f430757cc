// Player profiles: the keyboard and the first joystick read into five input values.
#pragma once

#include <cstdint>
#include <memory>

#include "shared/game_codes.h"

class TActor;

class TProfile {
 public:
  int32_t Pluspad = 0;
  int32_t VPad = 0;  // a Direction: kUp, kDown or kNoDirection
  int32_t Hpad = 0;  // a Direction: kLeft, kRight or kNoDirection
  int32_t AButton = 0;
  int32_t BButton = 0;
  std::shared_ptr<TActor> Actor;
  int32_t Bought[20] = {};
  int32_t Found[20] = {};
  int32_t Value[20] = {};

  static int FBoot();
  static int FUpdate();
  int MInput();
};

constexpr int kPlayerProfile = 0;  // the one profile the game reads: the player's
extern std::shared_ptr<TProfile> Profiles[4];

// The combined direction code of a vertical and a horizontal pad.
int32_t PluspadOf(int32_t vpad, int32_t hpad);
