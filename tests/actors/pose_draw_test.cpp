// The pose table, the frame an actor draws and where it draws it.
#include "actor_fixture.h"
#include "actors/pose_frames.h"
#include "frame/main_program.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"

namespace {

using PoseDraw = ActorTest;

int32_t PoseOf(int grounded, int hugged, int64_t xvel, int64_t yvel, int hpad, int vpad) {
  TActor actor;
  actor.Grounded = grounded;
  actor.Hugged = hugged;
  actor.XVel = xvel;
  actor.YVel = yvel;
  actor.Hpad = hpad;
  actor.VPad = vpad;
  actor.MChoosePose();
  return actor.Pose;
}

TEST_F(PoseDraw, GroundPosesByThresholds) {
  EXPECT_EQ(PoseOf(1, 0, 9999, 0, 0, 0), 8);
  EXPECT_EQ(PoseOf(1, 0, -9999, 0, 0, 3), 18);
  EXPECT_EQ(PoseOf(1, 0, 10000, 0, 0, 0), 0);
  EXPECT_EQ(PoseOf(1, 0, 109999, 0, 0, 0), 0);
  EXPECT_EQ(PoseOf(1, 0, 110000, 0, 0, 0), 4);
  EXPECT_EQ(PoseOf(1, 0, -110000, 0, 0, 0), 4);
}

TEST_F(PoseDraw, GroundPosesBySteering) {
  // Moderate speed.
  EXPECT_EQ(PoseOf(1, 0, 50000, 0, 2, 0), 0);
  EXPECT_EQ(PoseOf(1, 0, 50000, 0, 4, 0), 10);
  EXPECT_EQ(PoseOf(1, 0, 50000, 0, 4, 3), 20);
  EXPECT_EQ(PoseOf(1, 0, 50000, 0, 0, 3), 20);
  EXPECT_EQ(PoseOf(1, 0, -50000, 0, 4, 3), 14);
  // Fast.
  EXPECT_EQ(PoseOf(1, 0, -200000, 0, 4, 0), 4);
  EXPECT_EQ(PoseOf(1, 0, -200000, 0, 2, 0), 12);
  EXPECT_EQ(PoseOf(1, 0, -200000, 0, 4, 3), 22);
  EXPECT_EQ(PoseOf(1, 0, -200000, 0, 2, 3), 22);
}

TEST_F(PoseDraw, WallAndAirPoses) {
  EXPECT_EQ(PoseOf(0, 1, 65000, -10000, 2, 1), 26);
  EXPECT_EQ(PoseOf(0, 1, 65000, -9999, 2, 1), 24);
  EXPECT_EQ(PoseOf(0, 1, 65000, 9999, 2, 1), 24);
  EXPECT_EQ(PoseOf(0, 1, 65000, 10000, 2, 1), 30);
  EXPECT_EQ(PoseOf(0, 0, 0, -1, 0, 0), 32);
  EXPECT_EQ(PoseOf(0, 0, 0, 0, 0, 0), 34);
  // Grounded wins over hugged.
  EXPECT_EQ(PoseOf(1, 1, 0, -50000, 0, 0), 8);
}

TEST_F(PoseDraw, HeldPoseCountsDownBeforeAFreshChoice) {
  TActor actor;
  actor.Pose = 36;
  actor.HoldPose = 5;
  actor.Grounded = 1;
  for (int hold = 4; hold >= 0; --hold) {
    actor.MChoosePose();
    EXPECT_EQ(actor.Pose, 36);
    EXPECT_EQ(actor.HoldPose, hold);
  }
  actor.MChoosePose();
  EXPECT_EQ(actor.Pose, 8);
}

TEST_F(PoseDraw, FrameFromAnimPhaseOrSlowToggle) {
  TActor actor;
  AnimPhase = 3;
  SlowToggle = 1;
  const std::pair<int32_t, int32_t> cases[] = {{0, 3}, {4, 7},   {14, 17},
                                               {8, 9}, {22, 23}, {36, 37}};
  for (auto [pose, frame] : cases) {
    actor.Pose = pose;
    EXPECT_EQ(actor.MDrawPlacement(0, 0).Frame, frame) << pose;
  }
  SlowToggle = 0;
  actor.Pose = 36;
  EXPECT_EQ(actor.MDrawPlacement(0, 0).Frame, 36);
}

TEST_F(PoseDraw, MirroredUnlessFacingRight) {
  auto actor = TActor::FCreate(kCell * 10, kCell * 10, kUserScripted);
  actor->MOnScreenRelativePos(actor->XPos, actor->YPos - 100 * kPixel);
  EXPECT_EQ(actor->XRelPixel, 0);
  EXPECT_EQ(actor->YRelPixel, 100);
  const int32_t x = static_cast<int32_t>(actor->XRelPixel);
  const int32_t y = static_cast<int32_t>(actor->YRelPixel);

  for (int facing : {0, 4}) {
    actor->LastFacing = facing;
    const ActorDrawPlacement left = actor->MDrawPlacement(x, y);
    EXPECT_TRUE(left.Mirrored);
    EXPECT_EQ(left.X, 8);
    EXPECT_EQ(left.Y, 78);
  }
  actor->LastFacing = kRight;
  const ActorDrawPlacement right = actor->MDrawPlacement(x, y);
  EXPECT_FALSE(right.Mirrored);
  EXPECT_EQ(right.X, -8);
  EXPECT_EQ(right.Y, 78);
}

TEST_F(PoseDraw, RelativePositionFloorsLeftOfAndAboveTheCorner) {
  auto actor = TActor::FCreate(kCell * 10, kCell * 10, kUserScripted);
  actor->MOnScreenRelativePos(kCell * 10 + 1, kCell * 10 + kPixel);
  EXPECT_EQ(actor->XRelPixel, -1);
  EXPECT_EQ(actor->YRelPixel, -1);
  actor->MOnScreenRelativePos(kCell * 10 - kPixel + 1, 0);
  EXPECT_EQ(actor->XRelPixel, 0);
  EXPECT_EQ(actor->YRelPixel, 160);
}

// A sheet whose frame k is filled with colour k + 1 on its left half and colour 100 + k on its
// right half, so the back buffer shows which frame was drawn and which way round.
std::shared_ptr<TImage> MarkedSheet() {
  auto sheet = std::make_shared<TImage>();
  sheet->width = 16;
  sheet->height = 24;
  sheet->frames.resize(48);
  for (int k = 0; k < 48; ++k) {
    ImageFrame& frame = sheet->frames[k];
    frame.opaque = true;
    frame.argb.resize(16 * 24);
    for (int row = 0; row < 24; ++row)
      for (int col = 0; col < 16; ++col)
        frame.argb[row * 16 + col] = 0xFF000000u | static_cast<uint32_t>(col < 8 ? k + 1 : 100 + k);
  }
  return sheet;
}

uint32_t PixelAt(int x, int y) {
  return BackBuffer()[y * kBackBufferWidth + x] & 0xFFFFFFu;
}

TEST_F(PoseDraw, DrawsTheFrameMirroredAboveTheFeetAndRestoresTheScale) {
  ActorImage = MarkedSheet();
  auto actor = TActor::FCreate(kCell * 10, kCell * 10, kUserScripted);
  actor->Pose = kPoseStand;
  SlowToggle = 1;
  actor->LastFacing = kRight;
  actor->MDraw(100, 100);
  EXPECT_EQ(CurrentDrawState().scale_x, 1.0f);
  const uint32_t facing_right_left_edge = PixelAt(92, 78);
  const uint32_t facing_right_right_edge = PixelAt(107, 101);
  actor->LastFacing = kLeft;
  actor->MDraw(200, 100);
  EXPECT_EQ(CurrentDrawState().scale_x, 1.0f);
  EXPECT_EQ(CurrentDrawState().r, 255);
  EXPECT_EQ(facing_right_left_edge, 10u);    // frame 9, left half, top row at y - 22
  EXPECT_EQ(facing_right_right_edge, 109u);  // right half, bottom row at y + 1
  EXPECT_EQ(PixelAt(192, 78), 109u);         // mirrored: the right half is on the left
  EXPECT_EQ(PixelAt(207, 78), 10u);
}

}  // namespace
