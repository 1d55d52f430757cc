// Actors: the player's character and the bad guys. Positions and velocities are 64-bit units.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shared/game_codes.h"
#include "shared/units.h"

class TActor;

// Where and how MDraw puts an actor's frame, relative to the view's origin.
struct ActorDrawPlacement {
  int32_t Frame = 0;      // frame of ActorImage
  int32_t X = 0;          // left edge as passed to the draw (the right edge when mirrored)
  int32_t Y = 0;          // top edge
  bool Mirrored = false;  // drawn with scale (-1, 1): facing left
};

// An insertion-ordered list of shared actors.
using ActorList = std::vector<std::shared_ptr<TActor>>;

extern ActorList ActorBuckets[CHUNK_COLUMNS][CHUNK_ROWS];
constexpr int kBadguyList = 1;  // the bad guys in creation order; list 0 stays empty
extern ActorList ActorLists[2];
extern int32_t ActorCount;  // actors created since the last clear

constexpr int kActorCap = 500;  // no actor is created once this many exist

constexpr int kUserPlayer = 0;
constexpr int kUserBadguy = 6;

class TActor : public std::enable_shared_from_this<TActor> {
 public:
  int64_t XPos = 0;  // centre line
  int64_t YPos = 0;  // feet line
  int64_t XVel = 0;
  int64_t YVel = 0;
  int32_t XBucket = 0;
  int32_t YBucket = 0;
  int64_t XRelPixel = 0;
  int64_t YRelPixel = 0;
  int32_t Grounded = 0;
  int32_t Hugged = 0;
  int32_t ForceDuck = 0;
  int32_t Pose = 0;
  int32_t HoldPose = 0;
  int32_t LastFacing = 0;
  int32_t Pluspad = 0;
  int32_t VPad = 0;
  int32_t Hpad = 0;
  int32_t AButton = 0;
  int32_t BButton = 0;
  int32_t User = 0;
  int32_t MentalState[4] = {0, 0, 0, 0};

  // Registry and buckets.
  static int FBoot();
  static std::shared_ptr<TActor> FCreate(int64_t x, int64_t y, int32_t kind);
  static int FClear();
  static int FUpdateBadguys();
  int MPlaceInBucket();
  int MBucketChange();
  int MUpdate();

  // Physics.
  int MAddAirFriction();
  int MAddRunFriction();
  int MAddHaltFriction();
  int MAddFriction();  // the one friction of this frame, chosen from the contact flags and pad
  int MAddGravity();
  int MAddVelStanding();
  int MAddVelDucked();
  int MActorCollide(int64_t x, int64_t y) const;

  // Control.
  int MInput();
  int MControl();
  int MInputFromMind();  // a bad guy's random mind

  // Pose and drawing.
  int MChoosePose();
  int MOnScreenRelativePos(int64_t corner_x, int64_t corner_y);
  ActorDrawPlacement MDrawPlacement(int32_t x, int32_t y) const;
  int MDraw(int32_t x, int32_t y);
};

// The bucket column and row of a position, kept inside the 20x15 grid.
int32_t BucketColumnOf(int64_t x);
int32_t BucketRowOf(int64_t y);
