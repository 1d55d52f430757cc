// Where an event is heard: across the left view by its place, the right view quieter, near the
// left view faint, elsewhere not at all; the editor's keys straight ahead wherever the views are.
#include <gtest/gtest.h>

#include "frame/game_sounds.h"
#include "shared/units.h"

namespace {

constexpr int64_t kW = SCREEN_WIDTH_UNITS, kH = SCREEN_HEIGHT_UNITS;
const ViewCorner kLeft{kW, kH};           // the left view: one screen in from the corner
const ViewCorner kRight{5 * kW, 2 * kH};  // the right view, far from it

Hearing At(int64_t x, int64_t y) {
  return HearingAt(x, y, &kLeft, &kRight);
}

TEST(Hearing, TheLeftViewPansTheRightViewIsQuieterAndFarAwayIsSilent) {
  const Hearing left_edge = At(kW + kW / 10, kH + kH / 2);
  const Hearing middle = At(kW + kW / 2, kH + kH / 2);
  const Hearing right_edge = At(2 * kW - kW / 10, kH + kH / 2);
  EXPECT_EQ(left_edge.Gain, 1.0f);
  EXPECT_LT(left_edge.Pan, -0.5f);
  EXPECT_NEAR(middle.Pan, 0.0f, 0.01f);
  EXPECT_GT(right_edge.Pan, 0.5f);

  const Hearing right_view = At(5 * kW + kW / 2, 2 * kH + kH / 2);
  EXPECT_GT(right_view.Gain, 0.0f);
  EXPECT_LT(right_view.Gain, 0.5f);

  const Hearing just_off = At(2 * kW + kW / 4, kH + kH / 2);  // a quarter view right of it
  EXPECT_GT(just_off.Gain, 0.0f);
  EXPECT_LT(just_off.Gain, right_view.Gain);
  EXPECT_GT(just_off.Pan, 0.0f);

  EXPECT_EQ(At(3 * kW + 1, kH).Gain, 0.0f);
  EXPECT_EQ(At(kW, 3 * kH).Gain, 0.0f);
  EXPECT_EQ(HearingAt(kW + 10, kH + 10, nullptr, nullptr).Gain, 0.0f);  // no views yet
}

TEST(Hearing, LandingsByFallingSpeedAndTheEditorsKeysWhereverTheViewsAre) {
  auto gain = [](GameEvent kind, int64_t x, int32_t value = 0) {
    return EventHearing({kind, value, x, kH + kH / 2}, &kLeft, &kRight).Gain;
  };
  const int64_t in_view = kW + kW / 2, far_away = 4 * kW;
  EXPECT_EQ(gain(GameEvent::kLanding, in_view, 65000), 0.0f);  // pressed onto the ground
  const float soft = gain(GameEvent::kLanding, in_view, 120000);
  const float hard = gain(GameEvent::kLanding, in_view, 260000);
  EXPECT_GT(soft, 0.0f);
  EXPECT_GT(hard, soft);
  EXPECT_EQ(gain(GameEvent::kJump, far_away), 0.0f);
  EXPECT_EQ(gain(GameEvent::kSaveDone, far_away), 1.0f);
  EXPECT_EQ(gain(GameEvent::kUndo, far_away), 1.0f);
  EXPECT_EQ(gain(GameEvent::kMuted, in_view), 0.0f);  // plays nothing
}

TEST(Hearing, ABadGuysSoundsAreSofterAndLowerThanThePlayersAndFadeWithDistance) {
  auto hear = [](EventActor actor, int64_t x) {
    return EventHearing({GameEvent::kJump, 0, x, kH + kH / 2, actor}, &kLeft, &kRight);
  };
  const int64_t middle = kW + kW / 2, edge = 2 * kW - kW / 20, just_off = 2 * kW + kW / 4;
  const Hearing player = hear(EventActor::kPlayer, middle);
  const Hearing badguy = hear(EventActor::kBadguy, middle);
  EXPECT_EQ(player.Gain, 1.0f);
  EXPECT_EQ(player.Pitch, 1.0f);
  EXPECT_EQ(hear(EventActor::kNone, middle).Gain, player.Gain);
  EXPECT_GT(badguy.Gain, 0.0f);
  EXPECT_LT(badguy.Gain, 0.5f * player.Gain);
  EXPECT_LT(badguy.Pitch, 0.95f);
  EXPECT_EQ(badguy.Pan, player.Pan);
  const float at_edge = hear(EventActor::kBadguy, edge).Gain;
  EXPECT_LT(at_edge, badguy.Gain);
  EXPECT_GT(at_edge, 0.0f);
  EXPECT_LT(hear(EventActor::kBadguy, just_off).Gain, at_edge);
  EXPECT_LT(hear(EventActor::kBadguy, just_off).Gain, hear(EventActor::kPlayer, just_off).Gain);
}

// The world's own sounds are heard where they happen, flowing water by how much of it moves;
// the frame's and the build mode's keys straight ahead, a switch turned off lower than on.
TEST(Hearing, TheWorldsSoundsByPlaceAndAmountAndTheSwitchesByWhatTheyBecame) {
  auto hear = [](GameEvent kind, int64_t x, int32_t value = 0) {
    return EventHearing({kind, value, x, kH + kH / 2}, &kLeft, &kRight);
  };
  const int64_t in_view = kW + kW / 2, far_away = 4 * kW;
  EXPECT_EQ(hear(GameEvent::kWaterFlowed, in_view, 0).Gain, 0.0f);
  const float trickle = hear(GameEvent::kWaterFlowed, in_view, 2).Gain;
  const float stream = hear(GameEvent::kWaterFlowed, in_view, 30).Gain;
  EXPECT_GT(trickle, 0.0f);
  EXPECT_GT(stream, trickle);
  EXPECT_EQ(hear(GameEvent::kWaterFlowed, in_view, 5000).Gain, 1.0f);
  for (const GameEvent kind : {GameEvent::kWaterFlowed, GameEvent::kBoulderFell,
                               GameEvent::kBoulderLanded, GameEvent::kBuildToolUsed}) {
    EXPECT_GT(hear(kind, in_view, 30).Gain, 0.0f) << static_cast<int>(kind);
    EXPECT_EQ(hear(kind, far_away, 30).Gain, 0.0f) << static_cast<int>(kind);
  }
  for (const GameEvent kind : {GameEvent::kLoadDone, GameEvent::kRefreshed, GameEvent::kRestarted,
                               GameEvent::kLevelListShown}) {
    EXPECT_EQ(hear(kind, far_away).Gain, 1.0f) << static_cast<int>(kind);
  }
  for (const GameEvent kind :
       {GameEvent::kWorldHeld, GameEvent::kFreeCamera, GameEvent::kBuildModeSwitched}) {
    const Hearing on = hear(kind, far_away, 1), off = hear(kind, far_away, 0);
    EXPECT_EQ(on.Gain, 1.0f) << static_cast<int>(kind);
    EXPECT_EQ(off.Gain, 1.0f);
    EXPECT_LT(off.Pitch, on.Pitch);
  }
}

}  // namespace
