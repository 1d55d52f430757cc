// What the editor draws: the black gap and strip beside the left view, and the picker with
// the selected styles only while the mouse is over the right view.
#include <memory>

#include "editor_fixture.h"
#include "frame/main_program.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"

namespace {
std::shared_ptr<TImage> SolidImage(int size, int frames, uint32_t rgb) {
  auto image = std::make_shared<TImage>();
  image->width = image->height = size;
  for (int f = 0; f < frames; ++f) {
    ImageFrame frame;
    frame.argb.assign(static_cast<size_t>(size) * size, 0xFF000000u | (rgb + f));
    frame.opaque = true;
    image->frames.push_back(frame);
  }
  return image;
}

uint32_t Pixel(int x, int y) {
  return BackBuffer()[y * kBackBufferWidth + x];
}

class EditorDrawTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    AllTilesImage = SolidImage(32, 1, 0xFF0000);
    TileSet0 = SolidImage(16, 64, 0x00FF00);
    TileSet1 = SolidImage(16, 64, 0x0000F0);
    for (int i = 0; i < kBackBufferWidth * kBackBufferHeight; ++i)
      BackBuffer()[i] = 0x123456;
  }
};
}  // namespace

TEST_F(EditorDrawTest, BlackGapAndStripAndNoPickerOverTheLeftView) {
  Mouse(400, 10);
  TEditor::FDraw();
  EXPECT_EQ(Pixel(400, 0), 0u);
  EXPECT_EQ(Pixel(415, 287), 0u);
  EXPECT_EQ(Pixel(0, 288), 0u);
  EXPECT_EQ(Pixel(415, 299), 0u);
  EXPECT_EQ(Pixel(399, 0), 0x123456u);
  EXPECT_EQ(Pixel(416, 288), 0x123456u);
  EXPECT_EQ(Pixel(420, 20), 0x123456u);
  EXPECT_EQ(CurrentDrawState().r, 255);
  EXPECT_EQ(CurrentDrawState().b, 255);
}

TEST_F(EditorDrawTest, PickerAtHalfScaleAndTheSelectedStyles) {
  EditorBlockStyle = 3;
  EditorBGStyle = 5;
  Mouse(401, 10);
  TEditor::FDraw();
  EXPECT_EQ(Pixel(416, 16), 0xFF0000u);
  EXPECT_EQ(Pixel(431, 31), 0xFF0000u);  // 32 pixels drawn as 16
  EXPECT_EQ(Pixel(432, 32), 0x123456u);
  EXPECT_EQ(Pixel(432, 256), 0x00FF03u);
  EXPECT_EQ(Pixel(447, 271), 0x00FF03u);
  EXPECT_EQ(Pixel(464, 256), 0x0000F5u);
  EXPECT_EQ(CurrentDrawState().scale_x, 1.0f);
}
