// The event channel as the main loop drives it: each pass's events reach every listener once,
// after the pass, and a pass that reports more than the channel holds keeps the first ones.
#include <gtest/gtest.h>

#include <vector>

#include "frame/main_program.h"
#include "shared/game_events.h"
#include "support/test_env.h"

namespace {

class GameEventsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    TGameEvents::FListen([this](std::span<const GameEventRecord> events) {
      Deliveries.emplace_back(events.begin(), events.end());
    });
  }
  std::vector<std::vector<GameEventRecord>> Deliveries;
};

TEST_F(GameEventsTest, EachPassDeliversItsOwnEventsOnceAtItsEnd) {
  ScopedWorkDir dir;
  TGameEvents::FReport(GameEvent::kRecoveryOffered);  // before the first pass: goes with it
  int pass = 0;
  Backend.OnEndOfPass = [&pass](int) {
    if (++pass == 1) TGameEvents::FReport(GameEvent::kJump, 7, 9, 3);
    return pass < 3;
  };
  RunRavelon();
  ASSERT_EQ(Deliveries.size(), 3u);
  // RunRavelon starts on an empty channel, so what was reported before it is gone.
  EXPECT_TRUE(Deliveries[0].empty());
  // Reported between passes: delivered with the next one, exactly once.
  ASSERT_EQ(Deliveries[1].size(), 1u);
  EXPECT_EQ(Deliveries[1][0].Kind, GameEvent::kJump);
  EXPECT_EQ(Deliveries[1][0].X, 7);
  EXPECT_EQ(Deliveries[1][0].Y, 9);
  EXPECT_EQ(Deliveries[1][0].Value, 3);
  EXPECT_TRUE(Deliveries[2].empty());
}

TEST_F(GameEventsTest, APassKeepsTheFirstEventsItCanHold) {
  for (size_t i = 0; i < TGameEvents::kCapacity + 50; ++i) {
    TGameEvents::FReport(GameEvent::kLanding, 0, 0, static_cast<int32_t>(i));
  }
  TGameEvents::FDeliver();
  ASSERT_EQ(Deliveries.size(), 1u);
  ASSERT_EQ(Deliveries[0].size(), TGameEvents::kCapacity);
  EXPECT_EQ(Deliveries[0].back().Value, static_cast<int32_t>(TGameEvents::kCapacity - 1));
  TGameEvents::FDeliver();
  EXPECT_TRUE(Deliveries[1].empty());
}

}  // namespace
