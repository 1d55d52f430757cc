// A booted game with an empty map (no border ring) and helpers to lay out blocks and actors.
#pragma once

#include <memory>

#include "actors/actor.h"
#include "actors/profile.h"
#include "support/map_units.h"
#include "support/test_env.h"
#include "world/map.h"

constexpr int kStyleSolid = 23;
constexpr int kStyleBrick = 18;
// An actor with this User keeps whatever input a test gives it.
constexpr int kUserScripted = 1;

class ActorTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    BootSubsystems();
    TMap::FClear();
  }

  static void Row(int row, int from_column, int to_column, int style = kStyleSolid) {
    for (int x = from_column; x <= to_column; ++x)
      TMap::FCreateBlock(x, row, style);
  }
  static void Column(int column, int from_row, int to_row, int style = kStyleSolid) {
    for (int y = from_row; y <= to_row; ++y)
      TMap::FCreateBlock(column, y, style);
  }
  // An actor standing still on the top edge of `floor_row` (one unit above it).
  static std::shared_ptr<TActor> StandingOn(int floor_row, int64_t x, int user = kUserScripted) {
    auto actor = TActor::FCreate(x, floor_row * kCell - 1, user);
    actor->YVel = 65000;
    actor->Grounded = 1;
    return actor;
  }
  // Carries a long run back across a map-wide floor: a whole number of cells keeps the actor's
  // place within its cell, so the physics cannot tell.
  static void WrapRightward(TActor& actor) {
    if (actor.XPos > 60 * kCell) actor.XPos -= 40 * kCell;
  }
};
