// Friction, gravity and the two movers, to the unit.
#include <algorithm>

#include "actor_fixture.h"
#include "frame/main_program.h"
#include "world/block.h"

namespace {

using Physics = ActorTest;

TEST_F(Physics, FrictionsTruncateTheSinglePrecisionProduct) {
  TActor actor;
  actor.YVel = 65000;
  actor.XVel = -65000;
  actor.MAddHaltFriction();
  EXPECT_EQ(actor.YVel, 61749);
  EXPECT_EQ(actor.XVel, -61749);
  actor.YVel = 65000;
  actor.MAddRunFriction();
  EXPECT_EQ(actor.YVel, 63700);
  actor.YVel = 65000;
  actor.MAddAirFriction();
  EXPECT_EQ(actor.YVel, 64350);
  // Small speeds die out to exactly zero.
  actor.XVel = 19;
  actor.YVel = -1;
  actor.MAddHaltFriction();
  EXPECT_EQ(actor.XVel, 18);
  EXPECT_EQ(actor.YVel, 0);
}

TEST_F(Physics, FallingSettlesAt1099902AndMovesIn17SubSteps) {
  TActor actor;
  for (int frame = 0; frame < 3000; ++frame) {
    actor.MAddAirFriction();
    actor.MAddGravity();
  }
  EXPECT_EQ(actor.YVel, 1099902);

  // 17 sub-steps of 64700 leave the remainder of 2 units unmoved.
  auto faller = TActor::FCreate(40 * kCell, 10 * kCell, kUserScripted);
  faller->YVel = 1099902;
  faller->MAddVelStanding();
  EXPECT_EQ(faller->YPos, 10 * kCell + 17 * 64700);
  EXPECT_EQ(faller->YVel, 1099902);
  EXPECT_EQ(faller->Grounded, 0);
}

TEST_F(Physics, MoversAtRestChangeNothing) {
  auto actor = TActor::FCreate(40 * kCell, 10 * kCell, kUserScripted);
  actor->YVel = 0;
  actor->Grounded = 1;
  actor->Hugged = 1;
  actor->ForceDuck = 1;
  actor->MAddVelStanding();
  actor->MAddVelDucked();
  EXPECT_EQ(actor->Grounded, 1);
  EXPECT_EQ(actor->Hugged, 1);
  EXPECT_EQ(actor->ForceDuck, 1);
}

TEST_F(Physics, HardLandingHoldsTheLandingPose) {
  Row(30, 30, 50);
  for (int64_t speed : {70001, 70000}) {
    auto actor = TActor::FCreate(40 * kCell, 30 * kCell - 1, kUserScripted);
    actor->YVel = speed;
    actor->MAddVelStanding();
    EXPECT_EQ(actor->YPos, 30 * kCell - 1) << speed;
    EXPECT_EQ(actor->Grounded, 1);
    EXPECT_EQ(actor->YVel, 65000);
    EXPECT_EQ(actor->Pose, speed > 70000 ? 36 : 0) << speed;
    EXPECT_EQ(actor->HoldPose, speed > 70000 ? 5 : 0) << speed;
  }
  // A ducked landing never shows it.
  auto ducked = TActor::FCreate(40 * kCell, 30 * kCell - 1, kUserScripted);
  ducked->YVel = 200000;
  ducked->MAddVelDucked();
  EXPECT_EQ(ducked->Grounded, 1);
  EXPECT_EQ(ducked->YVel, 65000);
  EXPECT_EQ(ducked->Pose, 0);
  EXPECT_EQ(ducked->HoldPose, 0);
}

TEST_F(Physics, ActorComesToRestShortOfTheFloorWithoutSnapping) {
  Row(30, 30, 50);
  auto actor = TActor::FCreate(40 * kCell, 30 * kCell - 100000, kUserScripted);
  actor->YVel = 130000;  // two sub-steps of 65000: the first fits, the second does not
  actor->MAddVelStanding();
  EXPECT_EQ(actor->YPos, 30 * kCell - 100000 + 65000);
  EXPECT_EQ(actor->Grounded, 1);
}

TEST_F(Physics, WalkingOffAnEdgeLeavesTheGround) {
  Row(30, 30, 40);
  auto actor = StandingOn(30, 41 * kCell + 4 * kPixel);
  actor->MAddVelStanding();
  EXPECT_EQ(actor->Grounded, 0);
  EXPECT_EQ(actor->YVel, 65000);
}

TEST_F(Physics, HeadBumpHitsBothCornerCellsAndRebounds) {
  Row(20, 10, 11, kStyleBrick);
  // Corners 3 pixels either side of the column edge: one in each brick.
  auto actor = TActor::FCreate(11 * kCell, 22 * kCell + 1, kUserScripted);
  actor->YVel = -200000;
  actor->MAddVelStanding();
  EXPECT_EQ(actor->YVel, 70000);
  EXPECT_EQ(actor->YPos, 22 * kCell + 1);
  EXPECT_EQ(actor->Grounded, 0);
  ASSERT_EQ(ActiveBlocks.size(), 2u);
  EXPECT_EQ(ActiveBlocks.front(), BlockGrid[10][20]);  // left corner first
  EXPECT_EQ(ActiveBlocks.back(), BlockGrid[11][20]);
  EXPECT_EQ(BlockGrid[10][20]->Angle, kUp);
  EXPECT_EQ(BlockGrid[11][20]->Angle, kUp);
}

TEST_F(Physics, HeadBumpAtTheTopOfAnOpenMapHitsNothingOutside) {
  auto actor = TActor::FCreate(40 * kCell, kCell + 1, kUserScripted);
  actor->YVel = -200000;
  actor->MAddVelStanding();
  EXPECT_EQ(actor->YVel, 70000);
  EXPECT_TRUE(ActiveBlocks.empty());
}

TEST_F(Physics, ClingingNeedsTheAButtonAndAWallBesideTheFeet) {
  struct Case {
    int abutton;
    int wall_from_row;
    int64_t xvel;
    int hugged;
  };
  for (const Case c : {Case{1, 10, 65000, 1}, Case{0, 10, 0, 0}, Case{1, 29, 0, 0}}) {
    CreateTables();
    BootSubsystems();
    TMap::FClear();
    // The wall's left face is at x = 41 cells. From row 29 alone it meets only the head (row
    // 29), not the feet (row 30).
    Column(41, c.wall_from_row, c.wall_from_row == 29 ? 29 : 40);
    auto actor =
        TActor::FCreate(41 * kCell - 3 * kPixel - 1000, 30 * kCell + kCell / 2, kUserScripted);
    actor->AButton = c.abutton;
    actor->XVel = 100000;
    actor->YVel = 20000;
    actor->MAddVelStanding();
    EXPECT_EQ(actor->Hugged, c.hugged) << c.abutton << " " << c.wall_from_row;
    EXPECT_EQ(actor->XVel, c.xvel) << c.abutton << " " << c.wall_from_row;
    EXPECT_EQ(actor->XPos, 41 * kCell - 3 * kPixel - 1000);
  }
}

TEST_F(Physics, ClingingStopsGravityAndClimbingTopsOutAt56980) {
  Column(41, 5, 50);
  auto actor = TActor::FCreate(41 * kCell - 3 * kPixel - 1000, 45 * kCell, kUserScripted);
  actor->AButton = 1;
  actor->Hpad = kRight;
  actor->XVel = 65000;
  actor->YVel = 0;
  actor->MUpdate();
  ASSERT_EQ(actor->Hugged, 1);
  EXPECT_EQ(actor->YVel, 11000);  // the gravity of the frame before it caught the wall
  actor->MUpdate();
  EXPECT_EQ(actor->YVel, 10449);  // halt friction, no gravity
  EXPECT_EQ(actor->Pose, 30);

  actor->VPad = kUp;
  for (int frame = 0; frame < 400 && actor->Hugged == 1; ++frame)
    actor->MUpdate();
  EXPECT_EQ(actor->Hugged, 1);
  EXPECT_EQ(actor->YVel, -56980);
  EXPECT_EQ(actor->Pose, 26);

  // Neither up nor down: the climb dies away and the actor hangs still.
  actor->VPad = kNoDirection;
  for (int frame = 0; frame < 400; ++frame)
    actor->MUpdate();
  EXPECT_EQ(actor->Hugged, 1);
  EXPECT_EQ(actor->YVel, 0);
}

TEST_F(Physics, DuckedUnderALowCeilingStaysDucked) {
  Row(30, 0, 74);
  Row(28, 10, 30);  // one free row between: 16 pixels of head room, too little to stand
  auto actor = StandingOn(30, 20 * kCell, kUserPlayer);
  Profiles[kPlayerProfile]->VPad = kDown;
  actor->MUpdate();
  EXPECT_EQ(actor->ForceDuck, 1);
  EXPECT_EQ(actor->Grounded, 1);
  EXPECT_EQ(actor->Pose, 18);

  // Released "down", holding right: ground acceleration, but halt friction and the ducked mover.
  Profiles[kPlayerProfile]->VPad = kNoDirection;
  Profiles[kPlayerProfile]->Hpad = kRight;
  int frames = 0;
  while (actor->ForceDuck == 1 && frames < 1000) {
    actor->MUpdate();
    ++frames;
    EXPECT_EQ(actor->VPad, kDown);
    if (actor->XPos > 25 * kCell && actor->XPos < 29 * kCell) actor->XPos -= 10 * kCell;
    if (frames == 800) {
      EXPECT_EQ(actor->XVel, 94980);
    }
  }
  EXPECT_GE(frames, 800);
}

TEST_F(Physics, LeavingTheLowCeilingLetsTheActorStand) {
  Row(30, 0, 74);
  Row(28, 10, 20);
  auto actor = StandingOn(30, 20 * kCell, kUserPlayer);
  Profiles[kPlayerProfile]->VPad = kDown;
  Profiles[kPlayerProfile]->Hpad = kRight;
  actor->MUpdate();
  ASSERT_EQ(actor->ForceDuck, 1);
  Profiles[kPlayerProfile]->VPad = kNoDirection;
  int frames = 0;
  while (actor->ForceDuck == 1 && frames < 200) {
    actor->MUpdate();
    ++frames;
  }
  EXPECT_EQ(actor->ForceDuck, 0);
  EXPECT_GE(actor->XPos - 3 * kPixel, 21 * kCell);
}

TEST_F(Physics, DuckedActorNeverClings) {
  Row(30, 0, 74);
  Column(41, 20, 29);
  auto actor = StandingOn(30, 41 * kCell - 3 * kPixel - 1000);
  actor->XVel = 50000;
  actor->AButton = 1;
  actor->MAddVelDucked();
  EXPECT_EQ(actor->XVel, 0);
  EXPECT_EQ(actor->Hugged, 0);
  EXPECT_EQ(actor->Grounded, 1);
}

TEST_F(Physics, ActorCollideUsesAStrictBoxAroundOtherBadGuys) {
  auto other = TActor::FCreate(40 * kCell, 20 * kCell, kUserBadguy);
  auto self = TActor::FCreate(40 * kCell, 20 * kCell, kUserBadguy);
  auto player = TActor::FCreate(10 * kCell, 20 * kCell, kUserPlayer);
  EXPECT_EQ(self->MActorCollide(40 * kCell + 6 * kPixel - 1, 20 * kCell), 1);
  EXPECT_EQ(self->MActorCollide(40 * kCell + 6 * kPixel, 20 * kCell), 0);
  EXPECT_EQ(self->MActorCollide(40 * kCell - 6 * kPixel, 20 * kCell), 0);
  EXPECT_EQ(self->MActorCollide(40 * kCell, 21 * kCell), 0);
  EXPECT_EQ(self->MActorCollide(40 * kCell, 19 * kCell + 1), 1);
  EXPECT_EQ(other->MActorCollide(40 * kCell, 20 * kCell), 1);  // finds `self`, skips itself
  EXPECT_EQ(self->MActorCollide(10 * kCell, 20 * kCell), 0);   // the player is not listed
}

// A map loaded from disk need not have walls. Whatever the actor does, it stays inside the map
// and never touches a grid cell or bucket that does not exist.
TEST_F(Physics, ActorOnAnOpenMapPushesEveryEdgeSafely) {
  struct Push {
    int hpad, vpad, abutton, bbutton;
  };
  auto actor = TActor::FCreate(37 * kCell, 27 * kCell, kUserScripted);
  for (const Push push : {Push{4, 0, 1, 1}, Push{2, 0, 1, 1}, Push{0, 1, 0, 1}, Push{4, 3, 0, 0},
                          Push{2, 1, 1, 0}, Push{0, 0, 0, 0}}) {
    actor->Hpad = push.hpad;
    actor->VPad = push.vpad;
    actor->AButton = push.abutton;
    actor->BButton = push.bbutton;
    for (int frame = 0; frame < 3000; ++frame) {
      actor->MUpdate();
      ASSERT_GE(actor->XPos, 0);
      ASSERT_LT(actor->XPos, MAP_WIDTH_UNITS);
      ASSERT_GE(actor->YPos - kCell, 0);
      ASSERT_LT(actor->YPos, MAP_HEIGHT_UNITS);
      ASSERT_EQ(actor->XBucket, BucketColumnOf(actor->XPos));
      ASSERT_EQ(actor->YBucket, BucketRowOf(actor->YPos));
    }
  }
  // It ends resting on the bottom edge of the map as on a floor.
  EXPECT_EQ(actor->Grounded, 1);
}

}  // namespace
