// Actors: the player's character and the bad guys. Positions and velocities are 64-bit units.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shared/game_codes.h"
#include "shared/game_events.h"
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

// The actors filed by chunk: the map's, like the chunks, defined in world/map_grids.cpp and
// emptied by TMap::FResetTables.
extern ActorList ActorBuckets[CHUNK_COLUMNS][CHUNK_ROWS];
// The registry's: defined in actors/actor_registry.cpp and emptied by TActor::FResetTables.
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
  int64_t XRelPixel = 0;  // position in the view being drawn, pixels from its corner
  int64_t YRelPixel = 0;
  int32_t Grounded = 0;
  int32_t Hugged = 0;      // clinging to a wall
  int32_t ForceDuck = 0;   // no room to stand up
  int32_t Pose = 0;        // the first frame of the pose's animation
  int32_t HoldPose = 0;    // frames the pose is still held
  int32_t LastFacing = 0;  // a Direction: kRight or kLeft once it has moved
  // The pad as the actor read it this frame (Directions; Pluspad the combined code).
  int32_t Pluspad = 0;
  int32_t VPad = 0;
  int32_t Hpad = 0;
  int32_t AButton = 0;
  int32_t BButton = 0;
  int32_t User = 0;                       // kUserPlayer or kUserBadguy
  int32_t MentalState[4] = {0, 0, 0, 0};  // a bad guy's mind: entries 0..2 for VPad, Hpad, B, A

  // actors/actor_registry.cpp: creation, clearing, the buckets and the update order.
  static int FResetTables();  // both lists empty, their room given back, the count 0
  static int FBoot();         // empties both lists and makes room for the whole cap
  // A new actor at (x, y), hopping up out of its spawn cell; kind is kUserPlayer or kUserBadguy
  // (bad guys join ActorLists[kBadguyList]). Filed in its bucket; counts in ActorCount.
  static std::shared_ptr<TActor> FCreate(int64_t x, int64_t y, int32_t kind);
  static int FClear();          // empties the lists and the count; the buckets are the map's
  static int FUpdateBadguys();  // the player's actor first, then every bad guy in list order
  int MPlaceInBucket();
  int MBucketChange();  // moves the actor to the bucket of its new position
  int MUpdate();        // one frame: input, control, friction, gravity, the move, bucket, pose
  // Who the actor is, for the events it reports.
  EventActor MEventActor() const {
    return User == kUserPlayer ? EventActor::kPlayer : EventActor::kBadguy;
  }

  // actors/physics.cpp: friction, gravity and the two movers.
  int MAddAirFriction();
  int MAddRunFriction();
  int MAddHaltFriction();
  int MAddFriction();  // the one friction of this frame, chosen from the contact flags and pad
  int MAddGravity();   // nothing while grounded or clinging
  // The movers: the velocity walked in sub-pixel steps against the probes, setting Grounded,
  // Hugged and (ducked) ForceDuck; standing, a head bumps the blocks it hits.
  int MAddVelStanding();
  int MAddVelDucked();
  // Not called by the game: kept as part of TActor's interface.
  int MActorCollide(int64_t x, int64_t y) const;  // 1 when (x, y) is inside another bad guy's box

  // actors/control.cpp: where the input comes from and what it does to the velocity.
  int MInput();          // the player's profile or, for a bad guy, its mind
  int MControl();        // running, jumping, climbing and wall jumps
  int MInputFromMind();  // a bad guy's random mind

  // actors/pose.cpp
  int MChoosePose();  // from the contact flags, the speed and the pad, unless a pose is held

  // actors/actor_draw.cpp
  int MOnScreenRelativePos(int64_t corner_x, int64_t corner_y);  // XRelPixel, YRelPixel
  // Where MDraw puts the frame for feet at view pixel (x, y); reads the actor, changes nothing.
  ActorDrawPlacement MDrawPlacement(int32_t x, int32_t y) const;
  int MDraw(int32_t x, int32_t y);
};

// The bucket column and row of a position, kept inside the 20x15 grid (actor_registry.cpp).
int32_t BucketColumnOf(int64_t x);
int32_t BucketRowOf(int64_t y);
