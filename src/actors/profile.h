// Player profiles: the keyboard and the first joystick read into five input values.
#pragma once

#include <cstdint>
#include <memory>

#include "shared/game_codes.h"

class TActor;

class TProfile {
 public:
  int32_t Pluspad = 0;  // the two pads' combined code (PluspadOf)
  int32_t VPad = 0;     // a Direction: kUp, kDown or kNoDirection
  int32_t Hpad = 0;     // a Direction: kLeft, kRight or kNoDirection
  int32_t AButton = 0;
  int32_t BButton = 0;
  std::shared_ptr<TActor> Actor;  // the actor this profile steers
  // Never read or written by the game: kept with the profile's other fields.
  int32_t Bought[20] = {};
  int32_t Found[20] = {};
  int32_t Value[20] = {};

  // All in actors/profile.cpp.
  static int FResetTables();  // no profile at all
  static int FBoot();         // creates the player's profile
  static int FUpdate();  // the player's profile reads the pad, once a frame before any actor moves
  // The arrow keys or the stick (up beats down, left beats right), B or buttons 2 and 3, N or
  // buttons 0 and 1.
  int MInput();
};

constexpr int kPlayerProfile = 0;  // the one profile the game reads: the player's
// Defined in actors/profile.cpp, emptied by TProfile::FResetTables, filled by TProfile::FBoot.
extern std::shared_ptr<TProfile> Profiles[4];

// The combined direction code of a vertical and a horizontal pad (actors/profile.cpp).
int32_t PluspadOf(int32_t vpad, int32_t hpad);
