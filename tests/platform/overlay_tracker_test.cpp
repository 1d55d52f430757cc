// What a window repaints for its overlay from pass to pass: the layer's areas when a note comes,
// nothing while the very same note stands, the old note's areas again when it goes, and the
// frame under a blended area is the frame's own wherever the layer is clear.
#include <gtest/gtest.h>

#include "platform/render/overlay_tracker.h"

namespace {

constexpr int kW = 816, kH = 300;

int Rows(const std::vector<FrameRect>& areas) {
  int rows = 0;
  for (const FrameRect& area : areas)
    rows += area.height;
  return rows;
}

TEST(OverlayTracker, RepaintsOnlyWhenTheLayerComesChangesOrGoes) {
  SetOverlayScene({});
  SetOverlayNote("");
  OverlayTracker tracker;
  EXPECT_TRUE(tracker.Changes(kW, kH).empty());
  EXPECT_FALSE(tracker.BlendedIn());

  SetOverlayNote("Saved.");
  EXPECT_EQ(Rows(tracker.Changes(kW, kH)), kH) << "the first layer is painted whole";
  EXPECT_TRUE(tracker.BlendedIn());
  EXPECT_TRUE(tracker.Changes(kW, kH).empty()) << "the same note again repaints nothing";
  EXPECT_TRUE(tracker.Again());

  SetOverlayNote("Something else was said here, and longer.");
  const int note_rows = Rows(tracker.Changes(kW, kH));
  EXPECT_GT(note_rows, 0);
  EXPECT_LT(note_rows, kH) << "only the note's band";

  SetOverlayNote("");
  const int gone_rows = Rows(tracker.Changes(kW, kH));
  EXPECT_GT(gone_rows, 0) << "where the note was is painted again";
  EXPECT_LT(gone_rows, kH);
  EXPECT_FALSE(tracker.BlendedIn());
  EXPECT_TRUE(tracker.Changes(kW, kH).empty());

  SetOverlayNote("Saved.");
  tracker.Changes(kW, kH);
  tracker.Forget();
  EXPECT_TRUE(tracker.Changes(kW, kH).empty()) << "a forgotten picture with the same layer";
  SetOverlayNote("");
}

TEST(OverlayTracker, AComposedAreaIsTheFrameWithTheLayerOverItOnlyInsideTheArea) {
  SetOverlayScene({});
  SetOverlayNote("A note over the frame");
  OverlayTracker tracker;
  tracker.Changes(kW, kH);
  ASSERT_TRUE(tracker.BlendedIn());
  std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH, 0x123456);
  std::vector<uint32_t> composite(frame.size(), 0xABCDEF);
  tracker.ComposeArea(frame.data(), kW, kH, {0, 0, kW, kH / 2}, composite);
  int covered = 0;
  for (size_t i = 0; i < frame.size(); ++i) {
    const bool inside = i < static_cast<size_t>(kW) * (kH / 2);
    const uint32_t layer = tracker.Layer()[i];
    if (!inside) {
      ASSERT_EQ(composite[i], 0xABCDEFu) << "outside the area nothing is touched";
    } else if (layer == 0) {
      ASSERT_EQ(composite[i], 0x123456u);
    } else if (composite[i] != 0x123456u) {
      ++covered;
    }
  }
  EXPECT_GT(covered, 0) << "the note is blended in";
  SetOverlayNote("");
}

}  // namespace
