// The overlay's messages: the words for the editor's and the frame's events, how long a line
// stays, and how many show at once; and the pause, whose line is up before the wait.
#include <gtest/gtest.h>

#include <set>

#include "frame/overlay.h"
#include "frame/overlay_messages.h"
#include "platform/platform.h"
#include "support/test_env.h"

namespace {

GameEventRecord Event(GameEvent kind, int32_t value = 0) {
  return {kind, value, 0, 0};
}

std::vector<std::string> Texts(uint32_t now) {
  std::vector<std::string> texts;
  for (const auto& line : TOverlayMessages::FVisible(now))
    texts.push_back(line.Text);
  return texts;
}

class OverlayMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { TOverlayMessages::FReset(); }
};

TEST_F(OverlayMessagesTest, EveryReasonAndEveryStepHasItsOwnWords) {
  std::set<std::string> seen;
  auto distinct = [&](const GameEventRecord& event) {
    const std::string text = MessageFor(event);
    EXPECT_FALSE(text.empty()) << static_cast<int>(event.Kind);
    EXPECT_TRUE(seen.insert(text).second) << text;
    EXPECT_LE(text.size(), 100u) << text;  // one line of the picture
  };
  for (int why = 0; why <= 4; ++why)
    distinct(Event(GameEvent::kSaveFailed, why));
  for (int step = 0; step <= 2; ++step) {
    distinct(Event(GameEvent::kUndo, step));
    distinct(Event(GameEvent::kRedo, step));
  }
  for (int why = 0; why <= 6; ++why)
    distinct(Event(GameEvent::kLoadFailed, why));
  for (GameEvent kind : {GameEvent::kLoadDone, GameEvent::kRefreshed, GameEvent::kRestarted,
                         GameEvent::kNothingToUndo, GameEvent::kNothingToRedo, GameEvent::kPaused,
                         GameEvent::kPadConnected, GameEvent::kPadGone, GameEvent::kRecoveryOffered,
                         GameEvent::kRecoveryLoaded})
    distinct(Event(kind));
  for (GameEvent kind :
       {GameEvent::kFreeCamera, GameEvent::kWorldHeld, GameEvent::kPanelShown, GameEvent::kMuted}) {
    distinct(Event(kind, 1));
    distinct(Event(kind, 0));
  }
  EXPECT_EQ(MessageFor(Event(GameEvent::kSaveDone, 93005)), "Map saved at 09:30:05");
  EXPECT_NE(MessageFor(Event(GameEvent::kRecoveryOffered)).find("Ctrl+L"), std::string::npos);
  EXPECT_NE(MessageFor(Event(GameEvent::kRestarted)).find("Ctrl+Z"), std::string::npos);
  // Out-of-range values from a newer reporter still read as something sensible.
  EXPECT_EQ(MessageFor(Event(GameEvent::kSaveFailed, 77)),
            MessageFor(Event(GameEvent::kSaveFailed, 0)));
  // The gameplay's events are the sound's, not the overlay's.
  for (GameEvent kind : {GameEvent::kJump, GameEvent::kLanding, GameEvent::kBrickBroken,
                         GameEvent::kBlockPainted, GameEvent::kWaterPoured})
    EXPECT_EQ(MessageFor(Event(kind)), "");
}

TEST_F(OverlayMessagesTest, ALineStaysTwoSecondsThenFadesOut) {
  const GameEventRecord refreshed = Event(GameEvent::kRefreshed);
  TOverlayMessages::FHear({&refreshed, 1}, 1000);
  ASSERT_EQ(TOverlayMessages::FVisible(2999).size(), 1u);
  EXPECT_EQ(TOverlayMessages::FVisible(2999)[0].Alpha, 255);
  const uint8_t fading = TOverlayMessages::FVisible(3250)[0].Alpha;
  EXPECT_GT(fading, 0);
  EXPECT_LT(fading, 255);
  EXPECT_TRUE(TOverlayMessages::FVisible(3500).empty());
  // A clock that wrapped round between the event and now still ages the line rightly.
  TOverlayMessages::FReset();
  TOverlayMessages::FHear({&refreshed, 1}, 0xFFFFFF00u);
  EXPECT_EQ(TOverlayMessages::FVisible(0x100u).size(), 1u);
  EXPECT_TRUE(TOverlayMessages::FVisible(0xFFFFFF00u + 2600).empty());
}

TEST_F(OverlayMessagesTest, ABurstOfSavesShowsTheNewestThreeNewestOnTop) {
  std::vector<GameEventRecord> burst;
  for (int i = 0; i < 100; ++i)
    burst.push_back(Event(GameEvent::kSaveDone, 120000 + i));
  TOverlayMessages::FHear(burst, 10);
  const GameEventRecord undo = Event(GameEvent::kNothingToUndo);
  TOverlayMessages::FHear({&undo, 1}, 20);
  EXPECT_EQ(Texts(30), (std::vector<std::string>{"Nothing to undo", "Map saved at 12:00:99",
                                                 "Map saved at 12:00:98"}));
  OverlayScene scene;
  TOverlayMessages::FLayOut(scene, 30, 816);
  ASSERT_EQ(scene.Texts.size(), 3u);
  EXPECT_EQ(scene.Texts[0].Text, "Nothing to undo");
  EXPECT_LT(scene.Texts[0].Y, scene.Texts[1].Y);
  EXPECT_LT(scene.Texts[1].Y, scene.Texts[2].Y);
}

TEST_F(OverlayMessagesTest, TheStartUpOfferOfRecoveredEditsStaysLonger) {
  const GameEventRecord offer = Event(GameEvent::kRecoveryOffered);
  TOverlayMessages::FHear({&offer, 1}, 0);
  EXPECT_EQ(TOverlayMessages::FVisible(5000).size(), 1u);
  EXPECT_TRUE(TOverlayMessages::FVisible(TOverlayMessages::kPromptMillis + 600).empty());
}

class ShowAgainCounter : public HeadlessBackend {
 public:
  void ShowAgain() override {
    ++Shown;
    Lines = CurrentOverlayScene().Texts.size();
  }
  int Shown = 0;
  size_t Lines = 0;
};

TEST(OverlayPause, ThePauseLineIsShownBeforeTheWaitAndOnlyOnce) {
  ShowAgainCounter backend;
  SetBackend(&backend);
  TOverlay::FStart();
  TGameEvents::FClear();
  TGameEvents::FReport(GameEvent::kPaused, 0, 0, 3000);
  TOverlay::FShowPause();
  EXPECT_EQ(backend.Shown, 1);
  EXPECT_EQ(backend.Lines, 1u);
  TGameEvents::FDeliver();  // the pass's end hands the same pause over
  EXPECT_EQ(TOverlayMessages::FVisible(backend.Millis()).size(), 1u);
  TOverlay::FStart();
  SetBackend(nullptr);
}

}  // namespace
