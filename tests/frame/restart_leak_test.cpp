// Restarting (R) with the actor cap reached, 200 times: every actor and block of the old game
// must be gone after each restart, the registry must start again from the two starting actors,
// and the heap must not grow from one restart to the next. Under the address sanitizer the
// heap figures are the sanitizer's own; there LeakSanitizer checks at exit instead.
#include <gtest/gtest.h>

#include <malloc.h>

#include <memory>
#include <vector>

#include "actors/actor.h"
#include "actors/profile.h"
#include "frame/main_program.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "support/test_env.h"
#include "world/block.h"
#include "world/map.h"

#if defined(__SANITIZE_ADDRESS__)
#define RAVELON_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAVELON_UNDER_ASAN 1
#endif
#endif

namespace {

struct OldGame {
  std::vector<std::weak_ptr<TActor>> Actors;
  std::vector<std::weak_ptr<TBlock>> Blocks;
};

// Fills the registry up to the cap, spread over the whole map so that many buckets fill.
OldGame FillToTheCap() {
  OldGame old;
  for (int n = 0; ActorCount < kActorCap; ++n) {
    const int64_t x = TILE_UNITS * (1 + n % 73) + TILE_UNITS / 2;
    const int64_t y = TILE_UNITS * (2 + (n / 73) * 7 % 50);
    TActor::FCreate(x, y, kUserBadguy);
  }
  for (const auto& actor : ActorLists[kBadguyList])
    old.Actors.push_back(actor);
  old.Actors.push_back(Profiles[kPlayerProfile]->Actor);
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
      if (BlockGrid[x][y]) old.Blocks.push_back(BlockGrid[x][y]);
  return old;
}

void PressRestart() {
  InputKeyDown(kKeyR);
  MainLoopPass();
  InputKeyUp(kKeyR);
}

size_t HeapInUse() {
  return mallinfo2().uordblks;
}

class RestartLeakTest : public GameTest {
 protected:
  ScopedWorkDir Dir;  // the dummy map, no art: nothing but the game's own objects
};

TEST_F(RestartLeakTest, TwoHundredRestartsAtTheCapLeaveNothingBehind) {
  Backend.OnEndOfPass = [](int) { return false; };
  RunRavelon(false);
  size_t heap_after_warm_up = 0;
  for (int round = 1; round <= 200; ++round) {
    const OldGame old = FillToTheCap();
    ASSERT_EQ(ActorCount, kActorCap);
    // A frame at the cap: the bad guys move, bump and re-file themselves.
    MainLoopPass();
    PressRestart();

    ASSERT_EQ(ActorCount, 2) << "round " << round;
    ASSERT_EQ(ActorLists[kBadguyList].size(), 1u) << "round " << round;
    EXPECT_TRUE(ActorLists[0].empty());
    size_t filed = 0;
    for (const auto& column : ActorBuckets)
      for (const auto& bucket : column)
        filed += bucket.size();
    ASSERT_EQ(filed, 2u) << "round " << round;
    // The new bad guy is held by BadguyActor, the list and its bucket; the player's actor by
    // the profile and its bucket. Anything more would be a leftover reference.
    EXPECT_EQ(BadguyActor.use_count(), 3);
    EXPECT_EQ(Profiles[kPlayerProfile]->Actor.use_count(), 2);
    for (const auto& actor : old.Actors)
      ASSERT_TRUE(actor.expired()) << "an actor of the old game survived round " << round;
    for (const auto& block : old.Blocks) {
      if (block.expired()) continue;
      // Only a block still animating its bump may outlive the map it was part of.
      const auto alive = block.lock();
      bool animating = false;
      for (const auto& active : ActiveBlocks)
        animating = animating || active == alive;
      ASSERT_TRUE(animating) << "a block of the old map survived round " << round;
    }
    if (round == 20) heap_after_warm_up = HeapInUse();
  }
#ifndef RAVELON_UNDER_ASAN
  // Containers reserve once and are reused; 180 further restarts may not add up to anything.
  const size_t heap_at_end = HeapInUse();
  EXPECT_LE(heap_at_end, heap_after_warm_up + 64 * 1024)
      << "heap grew from " << heap_after_warm_up << " to " << heap_at_end << " bytes";
#else
  (void)heap_after_warm_up;
#endif
}

}  // namespace
