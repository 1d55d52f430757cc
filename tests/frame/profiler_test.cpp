// The frame profiler's averages and its read-out, the shadowed labelled number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "art/palette.h"
#include "frame/clock.h"
#include "frame/main_program.h"
#include "platform/render/draw.h"
#include "support/test_env.h"

namespace {

class ProfilerTest : public GameTest {};

TEST_F(ProfilerTest, AveragesAreSevenFrameSumsInMicrosecondsPerFrame) {
  FrameTick = 0;
  ClockSum[0] = 7;
  ClockSum[1] = 14;
  ClockSum[2] = 119;
  TClock::FAverage();
  EXPECT_EQ(ClockAverage[0], 1000);
  EXPECT_EQ(ClockAverage[1], 2000);
  EXPECT_EQ(ClockAverage[2], 17000);
  for (int clock = 0; clock < 3; ++clock)
    EXPECT_EQ(ClockSum[clock], 0);

  ClockSum[0] = 1;  // 1 / 7 * 1000 = 142.857...: truncated
  TClock::FAverage();
  EXPECT_EQ(ClockAverage[0], 142);
  EXPECT_EQ(ClockAverage[2], 0);  // a frame within one millisecond shows 0
}

TEST_F(ProfilerTest, OnlyFramesWithTickZeroAverage) {
  ClockAverage[2] = 555;
  ClockSum[2] = 70;
  for (uint8_t tick = 1; tick < 7; ++tick) {
    FrameTick = tick;
    TClock::FAverage();
    EXPECT_EQ(ClockAverage[2], 555);
    EXPECT_EQ(ClockSum[2], 70);
  }
}

TEST_F(ProfilerTest, ClocksSumTheirSpans) {
  Backend.VirtualMillis = 100;
  TClock::FStartClock(1);
  Backend.VirtualMillis = 104;
  TClock::FEndClock(1);
  TClock::FStartClock(1);
  Backend.VirtualMillis = 110;
  TClock::FEndClock(1);
  EXPECT_EQ(ClockSum[1], 10);
  TClock::FStartClock(3);  // no such clock: nothing happens
  TClock::FEndClock(3);
  EXPECT_EQ(ClockSum[1], 10);
}

// A clock that moves on by a millisecond at every reading, so every span is longer than zero.
class TickingBackend : public HeadlessBackend {
 public:
  uint32_t Millis() override { return ++VirtualMillis; }
};

TEST_F(ProfilerTest, TheFirstFrameAlreadyShowsItsOwnAverage) {
  ScopedWorkDir dir;
  TickingBackend ticking;
  SetBackend(&ticking);
  int passes = 1;
  ticking.OnEndOfPass = [&passes](int pass) { return pass < passes; };
  RunRavelon();
  const int64_t span = ClockStop[2] - ClockStart[2];
  ASSERT_GT(span, 0);
  EXPECT_EQ(ClockAverage[2], static_cast<int32_t>(static_cast<double>(span) / 7.0 * 1000.0));
  EXPECT_EQ(ClockSum[2], 0);

  // The second frame only sums; its average waits for frame 8.
  const int32_t first = ClockAverage[2];
  QuitFlag = 0;
  TMain::FRun();  // one more pass: OnEndOfPass stops after it
  EXPECT_EQ(ClockAverage[2], first);
  EXPECT_GT(ClockSum[2], 0);
}

TEST_F(ProfilerTest, DelayFillsTheFrameUpToFifteenMilliseconds) {
  ClockAverage[2] = 5999;  // 5 ms
  TClock::FDelay();
  EXPECT_EQ(Backend.VirtualMillis, 10u);
  ClockAverage[2] = 16234;  // over budget: no sleep
  TClock::FDelay();
  EXPECT_EQ(Backend.VirtualMillis, 10u);
  EXPECT_EQ(Backend.Sleeps, 1);
}

class StatLineTest : public GameTest {
 protected:
  static constexpr uint32_t kPaper = 0x123456;
  void SetUp() override {
    GameTest::SetUp();
    Clear();
  }
  static void Clear() { std::fill_n(BackBuffer(), kBackBufferWidth * kBackBufferHeight, kPaper); }
  static std::vector<uint32_t> Snapshot() {
    return std::vector<uint32_t>(BackBuffer(), BackBuffer() + kBackBufferWidth * kBackBufferHeight);
  }
  // The same picture put together piece by piece at the documented places.
  struct Piece {
    int colour;
    const char* text;
    int x, y;
  };
  static std::vector<uint32_t> Expected(const std::vector<Piece>& pieces) {
    Clear();
    for (const Piece& p : pieces) {
      TPalette::FSet(p.colour);
      DrawTextAt(p.text, static_cast<float>(p.x), static_cast<float>(p.y));
    }
    return Snapshot();
  }
};

TEST_F(StatLineTest, ThousandsEndAtFiftyEightAndUnitsStartAtSixtyTwo) {
  DrawStatLine(" All ", 16234, 300, 24);
  const std::vector<uint32_t> drawn = Snapshot();
  EXPECT_NE(drawn, std::vector<uint32_t>(drawn.size(), kPaper));
  // "16" is two glyphs wide: it starts 16 pixels before x + 58.
  EXPECT_EQ(drawn, Expected({{0, " All ", 301, 25},
                             {0, "16", 343, 25},
                             {0, "234", 363, 25},
                             {5, " All ", 300, 24},
                             {12, "16", 342, 24},
                             {8, "234", 362, 24}}));
}

TEST_F(StatLineTest, ThreeDigitsHaveNoHead) {
  DrawStatLine(" Phys", 987, 100, 24);
  const std::vector<uint32_t> drawn = Snapshot();
  EXPECT_EQ(drawn, Expected({{0, " Phys", 101, 25},
                             {0, "987", 163, 25},
                             {5, " Phys", 100, 24},
                             {8, "987", 162, 24}}));
}

TEST_F(StatLineTest, TheMinusSignGoesWithTheHead) {
  DrawStatLine(" Draw", -1234, 200, 24);
  const std::vector<uint32_t> drawn = Snapshot();
  EXPECT_EQ(drawn, Expected({{0, " Draw", 201, 25},
                             {0, "-1", 243, 25},
                             {0, "234", 263, 25},
                             {5, " Draw", 200, 24},
                             {12, "-1", 242, 24},
                             {8, "234", 262, 24}}));
}

TEST_F(StatLineTest, TheColourIsLeftAtPaletteEight) {
  DrawStatLine(" All ", 16234, 300, 24);
  const DrawState after = CurrentDrawState();
  TPalette::FSet(8);
  EXPECT_EQ(after.r, CurrentDrawState().r);
  EXPECT_EQ(after.g, CurrentDrawState().g);
  EXPECT_EQ(after.b, CurrentDrawState().b);
}

}  // namespace
