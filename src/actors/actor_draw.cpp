// Drawing an actor: one 16x24 frame of the character sheet, mirrored unless it faces right.
#include "actors/actor.h"
#include "actors/pose_frames.h"
#include "platform/render/draw.h"
#include "shared/frame_counters.h"
#include "shared/game_codes.h"
#include "shared/game_images.h"

int TActor::MOnScreenRelativePos(int64_t corner_x, int64_t corner_y) {
  // Arithmetic shifts floor, so an actor left of or above the corner gets the pixel it is in.
  XRelPixel = (XPos - corner_x) >> PIXEL_SHIFT;
  YRelPixel = (YPos - corner_y) >> PIXEL_SHIFT;
  return 0;
}

ActorDrawPlacement TActor::MDrawPlacement(int32_t x, int32_t y) const {
  ActorDrawPlacement placement;
  // Runs and the ducked walk cycle through four frames, every other pose toggles two.
  placement.Frame = Pose + (PoseHasFourFrames(Pose) ? AnimPhase : SlowToggle);
  // The sheet faces right; mirrored, the frame drawn from x + 8 covers x - 8 .. x + 8 too.
  placement.Mirrored = LastFacing != kRight;
  placement.X = placement.Mirrored ? x + 8 : x - 8;
  // The frame's top edge is 22 pixels above the feet line.
  placement.Y = y - 22;
  return placement;
}

int TActor::MDraw(int32_t x, int32_t y) {
  const ActorDrawPlacement placement = MDrawPlacement(x, y);
  SetDrawScale(placement.Mirrored ? -1.0f : 1.0f, 1.0f);
  SetColor(255, 255, 255);
  DrawImageFrame(ActorImage.get(), static_cast<float>(placement.X), static_cast<float>(placement.Y),
                 placement.Frame);
  SetDrawScale(1.0f, 1.0f);
  return 0;
}
