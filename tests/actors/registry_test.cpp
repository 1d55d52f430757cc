// Creation, clearing, the buckets and the order in which actors are updated.
#include "actor_fixture.h"
#include "frame/game.h"
#include "frame/main_program.h"

namespace {

using Registry = ActorTest;

bool BucketHolds(int bx, int by, const TActor* actor) {
  for (const auto& entry : ActorBuckets[bx][by])
    if (entry.get() == actor) return true;
  return false;
}

int ActorsInBuckets() {
  int total = 0;
  for (auto& column : ActorBuckets)
    for (auto& bucket : column)
      total += static_cast<int>(bucket.size());
  return total;
}

TEST_F(Registry, NewActorHopsUpWithEveryOtherFieldZero) {
  auto actor = TActor::FCreate(6291456, 10485760, kUserBadguy);
  EXPECT_EQ(actor->XPos, 6291456);
  EXPECT_EQ(actor->YPos, 10485760);
  EXPECT_EQ(actor->YVel, -131072);
  EXPECT_EQ(actor->XVel, 0);
  EXPECT_EQ(actor->LastFacing, kNoDirection);
  EXPECT_EQ(actor->Grounded + actor->Hugged + actor->ForceDuck + actor->Pose + actor->HoldPose, 0);
  for (int entry : actor->MentalState)
    EXPECT_EQ(entry, 0);
  EXPECT_EQ(ActorCount, 1);
}

TEST_F(Registry, StartingActorsAreFiledInTheirBuckets) {
  TGame::FEnterState();
  EXPECT_EQ(ActorCount, 2);
  EXPECT_TRUE(ActorLists[0].empty());
  ASSERT_EQ(ActorLists[kBadguyList].size(), 1u);
  EXPECT_EQ(ActorLists[kBadguyList][0], BadguyActor);
  EXPECT_TRUE(BucketHolds(1, 2, BadguyActor.get()));
  EXPECT_TRUE(BucketHolds(1, 8, Profiles[kPlayerProfile]->Actor.get()));
  EXPECT_EQ(ActorsInBuckets(), 2);

  // A restart clears the registry and the buckets and files the two afresh.
  TGame::FEnterState();
  EXPECT_EQ(ActorCount, 2);
  EXPECT_EQ(ActorLists[kBadguyList].size(), 1u);
  EXPECT_EQ(ActorBuckets[1][2].size(), 1u);
  EXPECT_EQ(ActorBuckets[1][8].size(), 1u);
  EXPECT_EQ(ActorsInBuckets(), 2);
}

TEST_F(Registry, OnlyBadGuysJoinTheListButEveryActorIsCountedAndFiled) {
  auto player = TActor::FCreate(kCell * 5, kCell * 5, kUserPlayer);
  auto other = TActor::FCreate(kCell * 5, kCell * 5, 3);
  auto badguy = TActor::FCreate(kCell * 5, kCell * 5, kUserBadguy);
  EXPECT_EQ(ActorCount, 3);
  ASSERT_EQ(ActorLists[kBadguyList].size(), 1u);
  EXPECT_EQ(ActorLists[kBadguyList][0], badguy);
  ASSERT_EQ(ActorBuckets[1][1].size(), 3u);
  EXPECT_EQ(ActorBuckets[1][1][0], player);
  EXPECT_EQ(ActorBuckets[1][1][2], badguy);

  // Nothing updates an actor that is neither the profile's nor a bad guy.
  const int64_t y = other->YPos;
  TActor::FUpdateBadguys();
  EXPECT_EQ(other->YPos, y);
  EXPECT_NE(badguy->YPos, y);
  EXPECT_EQ(player->YPos, y);  // not the profile's actor
}

TEST_F(Registry, PlayerMovesFirstThenBadGuysInCreationOrder) {
  // All three cross into bucket column 1 in the same frame; the order in which they arrive
  // there is the order in which they moved.
  auto first = TActor::FCreate(4194303, 20 * kCell, kUserBadguy);
  auto second = TActor::FCreate(4194303, 20 * kCell, kUserBadguy);
  Profiles[kPlayerProfile]->Actor = TActor::FCreate(4194303, 20 * kCell, kUserPlayer);
  for (auto* actor : {first.get(), second.get(), Profiles[kPlayerProfile]->Actor.get()}) {
    actor->XVel = 200000;
    actor->YVel = 0;
  }
  TActor::FUpdateBadguys();
  ASSERT_EQ(ActorBuckets[1][5].size(), 3u);
  EXPECT_EQ(ActorBuckets[1][5][0], Profiles[kPlayerProfile]->Actor);
  EXPECT_EQ(ActorBuckets[1][5][1], first);
  EXPECT_EQ(ActorBuckets[1][5][2], second);
}

TEST_F(Registry, CrossingABucketEdgeAppendsAtTheEndOfTheNewBucket) {
  auto resident = TActor::FCreate(4194304 + kCell, 20 * kCell, kUserScripted);
  auto mover = TActor::FCreate(4194303, 20 * kCell, kUserScripted);
  ASSERT_EQ(mover->XBucket, 0);
  ASSERT_EQ(mover->YBucket, 5);
  mover->XPos = 4194304;
  mover->MBucketChange();
  EXPECT_EQ(mover->XBucket, 1);
  EXPECT_TRUE(ActorBuckets[0][5].empty());
  ASSERT_EQ(ActorBuckets[1][5].size(), 2u);
  EXPECT_EQ(ActorBuckets[1][5][0], resident);
  EXPECT_EQ(ActorBuckets[1][5][1], mover);
}

TEST_F(Registry, UpdateRefilesTheActorInTheSameFrame) {
  auto mover = TActor::FCreate(4194303 - 40000, 20 * kCell, kUserScripted);
  mover->YVel = 0;
  mover->XVel = 100000;
  mover->MUpdate();
  EXPECT_GE(mover->XPos, 4194304);
  EXPECT_EQ(mover->XBucket, 1);
  EXPECT_TRUE(BucketHolds(1, 5, mover.get()));
  EXPECT_FALSE(BucketHolds(0, 5, mover.get()));
  EXPECT_EQ(mover->LastFacing, kRight);
}

TEST_F(Registry, BucketsStayInsideTheGridForPositionsOffTheMap) {
  EXPECT_EQ(BucketColumnOf(-1), 0);
  EXPECT_EQ(BucketColumnOf(INT64_MIN), 0);
  EXPECT_EQ(BucketColumnOf(4194304LL * 19), 19);
  EXPECT_EQ(BucketColumnOf(4194304LL * 25), 19);
  EXPECT_EQ(BucketColumnOf(INT64_MAX), 19);
  EXPECT_EQ(BucketRowOf(-4194304), 0);
  EXPECT_EQ(BucketRowOf(4194304LL * 14 - 1), 13);
  EXPECT_EQ(BucketRowOf(4194304LL * 100), 14);

  auto stray = TActor::FCreate(-5 * kCell, 90 * kCell, kUserScripted);
  EXPECT_EQ(stray->XBucket, 0);
  EXPECT_EQ(stray->YBucket, 14);
  EXPECT_TRUE(BucketHolds(0, 14, stray.get()));
}

TEST_F(Registry, ClearEmptiesTheRegistryAndAClearedActorRejoinsOnItsNextMove) {
  auto badguy = TActor::FCreate(kCell * 5, kCell * 5, kUserBadguy);
  Profiles[kPlayerProfile]->Actor = TActor::FCreate(kCell * 5, kCell * 5, kUserPlayer);
  TMap::FClear();
  EXPECT_EQ(ActorCount, 0);
  EXPECT_TRUE(ActorLists[kBadguyList].empty());
  EXPECT_EQ(ActorsInBuckets(), 0);
  // The profile still holds its actor: it moves on and files itself where it now is.
  Profiles[kPlayerProfile]->Actor->XPos = kCell * 40;
  TActor::FUpdateBadguys();
  EXPECT_EQ(ActorsInBuckets(), 1);
  EXPECT_TRUE(BucketHolds(BucketColumnOf(Profiles[kPlayerProfile]->Actor->XPos),
                          BucketRowOf(Profiles[kPlayerProfile]->Actor->YPos),
                          Profiles[kPlayerProfile]->Actor.get()));
}

TEST_F(Registry, UpdatingWithoutAProfileSkipsThePlayer) {
  auto badguy = TActor::FCreate(kCell * 5, kCell * 5, kUserBadguy);
  Profiles[kPlayerProfile] = nullptr;
  TActor::FUpdateBadguys();
  EXPECT_NE(badguy->YPos, kCell * 5);
}

}  // namespace
