// Frames that mostly repeat the frame before, as the views draw them, give the same pixels
// whether repeated draws are left alone or drawn again: random scenes of tiles, water, fills
// and text, changed a little from frame to frame, with the pixels also written from outside,
// frames ended early and images freed in the middle of a frame.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "platform/render/draw.h"
#include "platform/render/draw_journal.h"
#include "platform/render/image.h"
#include "support/test_env.h"

namespace {

constexpr int kPixels = kBackBufferWidth * kBackBufferHeight;

// Loaded-like 16x16 frames (a serial, mirrored rows): opaque, holed, and half-clear (water).
std::unique_ptr<TImage> Sheet(uint32_t seed, bool loaded) {
  std::mt19937 rng(seed);
  auto image = std::make_unique<TImage>();
  image->width = image->height = 16;
  for (int f = 0; f < 3; ++f) {
    ImageFrame frame;
    for (int i = 0; i < 256; ++i) {
      const bool clear = (f == 1 && i % 16 > 4 && i % 16 < 10) || (f == 2 && i < 100);
      frame.argb.push_back((clear ? 0u : 0xFF000000u) | (rng() & 0xFFFFFF));
    }
    frame.opaque = f == 0;
    if (loaded) {
      frame.mirrored = frame.argb;
      for (auto row = frame.mirrored.begin(); row < frame.mirrored.end(); row += 16)
        std::reverse(row, row + 16);
      frame.serial = NextFrameSerial();
    }
    image->frames.push_back(std::move(frame));
  }
  return image;
}

enum Kind { kTile, kWater, kFill, kBlendFill, kText, kHandBuilt, kViewport, kKinds };

struct Draw {
  int kind, frame;
  float x, y;
  int w, h;
  bool mirrored, half;
};

// Mostly tiles on a grid and plain fills, as the views draw; now and then something else.
Draw RandomDraw(std::mt19937& rng) {
  Draw d{kTile,
         static_cast<int>(rng() % 3),
         static_cast<float>(static_cast<int>(rng() % 860) - 30),
         static_cast<float>(static_cast<int>(rng() % 340) - 30),
         static_cast<int>(rng() % 120) + 1,
         static_cast<int>(rng() % 80) + 1,
         rng() % 6 == 0,
         rng() % 5 == 0};
  const int pick = static_cast<int>(rng() % 100);
  if (pick < 60) {
    d.x = std::floor(d.x / 16) * 16 + 5, d.y = std::floor(d.y / 16) * 16 + 3;
  } else {
    d.kind = pick < 75   ? kFill
             : pick < 81 ? kText
             : pick < 87 ? kWater
             : pick < 91 ? kBlendFill
             : pick < 94 ? kHandBuilt
             : pick < 97 ? kTile
                         : kViewport;
  }
  return d;
}

// Frame to frame: most draws stay, a few move, go or come.
void Change(std::vector<Draw>& scene, std::mt19937& rng) {
  const int changes = rng() % 4 ? 0 : 1 + static_cast<int>(rng() % 3);
  for (int i = 0; i < changes && !scene.empty(); ++i) {
    const size_t at = rng() % scene.size();
    switch (rng() % 3) {
      case 0:
        // A whole pixel or, now and then, half of one: drawn at half size, the same pixels
        // then take other texels.
        scene[at].x += rng() % 3 ? static_cast<float>(rng() % 5) - 2 : 0.5f;
        break;
      case 1:
        scene.erase(scene.begin() + static_cast<long>(at));
        break;
      default:
        scene.insert(scene.begin() + static_cast<long>(at), RandomDraw(rng));
        break;
    }
  }
}

class Frames {
 public:
  explicit Frames(bool journal)
      : Tiles(Sheet(1, true)), Water(Sheet(2, true)), Built(Sheet(3, false)) {
    SetDrawJournal(journal);
    ResetDrawState();
    std::fill_n(BackBuffer(), kPixels, 0x00203040u);
  }
  ~Frames() {
    ResetDrawState();
    SetDrawJournal(true);
  }

  void Draw(const ::Draw& d) {
    SetDrawScale(d.mirrored ? -1.0f : (d.half ? 0.5f : 1.0f), 1.0f);
    SetBlend(d.kind == kWater || d.kind == kBlendFill ? 3 : 1);
    SetAlpha(d.kind == kWater || d.kind == kBlendFill ? 0.7 : 1.0);
    const float x = d.x, y = d.y;
    switch (d.kind) {
      case kTile:
        DrawImageFrame(Tiles.get(), x, y, d.frame);
        break;
      case kWater:
        DrawImageFrame(Water.get(), x, y, d.frame);
        break;
      case kFill:
      case kBlendFill:
        SetColor(d.w * 2, d.h * 3, d.frame * 100);
        DrawRect(x, y, static_cast<float>(d.w), static_cast<float>(d.h));
        SetColor(255, 255, 255);
        break;
      case kText:
        SetColor(255, d.w, 0);
        DrawTextAt("Phys " + std::to_string(d.h), x, y);
        SetColor(255, 255, 255);
        break;
      case kHandBuilt:
        DrawImageFrame(Built.get(), x, y, d.frame);
        break;
      default:
        SetViewport(static_cast<int>(d.x), static_cast<int>(d.y), d.w * 6, d.h * 3);
        break;
    }
    SetDrawScale(1.0f, 1.0f);
  }

  // The tile sheet goes, in the middle of a frame, and a new one (new serials) takes its place
  // at the very same address.
  void ReplaceTiles(uint32_t seed) {
    std::unique_ptr<TImage> fresh = Sheet(seed, true);
    TImage* at = Tiles.get();
    at->~TImage();
    new (at) TImage(std::move(*fresh));
  }

  std::unique_ptr<TImage> Tiles, Water, Built;
};

// Frame after frame of `scene(play, frame)`, and the back buffer after each.
template <typename Scene>
std::vector<std::vector<uint32_t>> PlayFrames(bool journal, int frames, Scene scene) {
  Frames play(journal);
  std::vector<std::vector<uint32_t>> pictures;
  for (int f = 0; f < frames; ++f) {
    ResetDrawState();
    scene(play, f);
    const uint32_t* pixels = FinishedBackBuffer();
    pictures.emplace_back(pixels, pixels + kPixels);
  }
  return pictures;
}

template <typename Scene>
void ExpectFramesDrawnWhole(int frames, Scene scene) {
  const auto whole = PlayFrames(false, frames, scene);
  const auto kept = PlayFrames(true, frames, scene);
  for (int f = 0; f < frames; ++f)
    EXPECT_TRUE(kept[f] == whole[f]) << "frame " << f + 1;
}

// Eighty random draws, changed a little from frame to frame; now and then, in the middle of a
// frame, the pixels are written from outside, the frame is ended early or the tile sheet is
// replaced, and between frames the pixels are written or the first viewport moves.
class RandomScene {
 public:
  explicit RandomScene(uint32_t seed) : Seed(seed), Rng(seed) {
    for (int i = 0; i < 80; ++i)
      Draws.push_back(RandomDraw(Rng));
  }

  void operator()(Frames& play, int f) {
    if (f > 0) {
      LeftAlone += JournalBinsLeftAlone();
      Change(Draws, Rng);
      if (Unusual == 3) BackBuffer()[(f * 104729) % kPixels] ^= 0x00FFFFFFu;
      if (Unusual == 4) Viewport = (Viewport + 3) % 40;
    }
    SetViewport(Viewport, 0, kBackBufferWidth, kBackBufferHeight);
    Unusual = static_cast<int>(Rng() % 12);
    const size_t at = Rng() % Draws.size();
    for (size_t i = 0; i < Draws.size(); ++i) {
      if (i == at && Unusual == 0) BackBuffer()[(f * 7919) % kPixels] ^= 0x00FFFFFFu;
      if (i == at && Unusual == 1) FinishedBackBuffer();
      if (i == at && Unusual == 2) play.ReplaceTiles(Seed + static_cast<uint32_t>(f));
      play.Draw(Draws[i]);
    }
  }

  int LeftAlone = 0;  // bins left alone over the frames so far

 private:
  uint32_t Seed;
  std::mt19937 Rng;
  std::vector<Draw> Draws;
  int Unusual = 0;
  int Viewport = 0;
};

class DrawJournal : public GameTest {};

}  // namespace

TEST_F(DrawJournal, RepeatedFramesGiveThePixelsOfFramesDrawnWhole) {
  int leftAlone = 0;
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    RandomScene wholeScene(seed), keptScene(seed);
    const auto whole = PlayFrames(false, 40, std::ref(wholeScene));
    const auto kept = PlayFrames(true, 40, std::ref(keptScene));
    for (size_t f = 0; f < whole.size(); ++f)
      ASSERT_TRUE(kept[f] == whole[f]) << "seed " << seed << ", frame " << f + 1;
    leftAlone += keptScene.LeftAlone;
  }
  // The scenes repeat enough for bins to be left alone: the case under test happens.
  EXPECT_GT(leftAlone, 200);
}

// A frame that draws exactly what the frame before drew leaves the pixels as they were, even
// where it blends: water over water must not darken from frame to frame.
TEST_F(DrawJournal, BlendingOverLastFramesPixelsIsDrawnAgain) {
  Frames play(true);
  std::vector<uint32_t> before;
  for (int f = 0; f < 3; ++f) {
    play.Draw(::Draw{kWater, 0, 40, 40, 0, 0, false, false});
    const uint32_t* pixels = FinishedBackBuffer();
    if (f > 0) {
      EXPECT_NE(pixels[45 * kBackBufferWidth + 45], before[45 * kBackBufferWidth + 45]);
    }
    before.assign(pixels, pixels + kPixels);
  }
}

// A pixel written from outside between two frames that draw alike is drawn over again.
TEST_F(DrawJournal, PixelsWrittenFromOutsideAreDrawnOver) {
  Frames play(true);
  const ::Draw tile{kTile, 0, 32, 32, 0, 0, false, false};
  for (int f = 0; f < 3; ++f) {
    play.Draw(tile);
    FinishedBackBuffer();
  }
  EXPECT_GT(JournalBinsLeftAlone(), 0);
  const uint32_t texel = play.Tiles->frames[0].argb[0] & 0xFFFFFF;
  BackBuffer()[32 * kBackBufferWidth + 32] = ~texel & 0xFFFFFF;
  play.Draw(tile);
  EXPECT_EQ(FinishedBackBuffer()[32 * kBackBufferWidth + 32], texel);
}

// What changes a draw's pixels without changing the pixels it covers must still be seen: half a
// pixel at half size samples other texels, and a narrower viewport cuts the same draw.
TEST_F(DrawJournal, ChangesInsideTheSamePixelsAreDrawn) {
  ExpectFramesDrawnWhole(4, [](Frames& play, int f) {
    play.Draw(::Draw{kTile, 0, f < 2 ? 40.0f : 40.5f, 40, 0, 0, false, true});
  });
  ExpectFramesDrawnWhole(4, [](Frames& play, int f) {
    play.Draw(::Draw{kFill, 0, 0, 0, 300, 200, false, false});
    SetViewport(0, 0, f < 2 ? 100 : 90, 100);
    play.Draw(::Draw{kTile, 0, 88, 40, 0, 0, false, false});
  });
}

// However long a picture kept changing, once it stands still its bins are left alone again
// within about a second: looking less often at a busy picture must not stop looking.
TEST_F(DrawJournal, APictureThatSettlesAfterLongChangeIsLeftAloneWithinASecond) {
  Frames play(true);
  std::vector<::Draw> scene;
  for (int i = 0; i < 200; ++i)
    scene.push_back(::Draw{kTile, i % 3, 16.0f * (i % 50), 16.0f * (i / 50), 0, 0, false, false});
  auto draw_frame = [&](float shift) {
    ResetDrawState();
    for (const ::Draw& d : scene)
      play.Draw(::Draw{d.kind, d.frame, d.x + shift, d.y, 0, 0, false, false});
    FinishedBackBuffer();
  };
  for (int f = 0; f < 1200; ++f)
    draw_frame(static_cast<float>(f % 7));
  int still = 0;
  do {
    draw_frame(0);
    ++still;
  } while (JournalBinsLeftAlone() == 0 && still < 200);
  EXPECT_LE(still, 70) << "frames standing still before anything was left alone";
}

// Both views scrolling for one frame changes every draw, but a view that then stands still is
// left alone again the very next frame; a second such frame in a row still stops the keeping.
// Either way the pixels are those of frames drawn whole.
TEST_F(DrawJournal, OneFrameOfEverythingMovingIsBorne) {
  auto shift_at = [](int f) { return f < 6 ? 0.0f : f < 12 ? 3.0f : f < 13 ? 5.0f : 7.0f; };
  auto scene = [&](Frames& play, int f) {
    for (int i = 0; i < 200; ++i) {
      play.Draw(::Draw{kTile, i % 3, 16.0f * (i % 50) + shift_at(f), 16.0f * (i / 50), 0, 0, false,
                       false});
    }
  };
  ExpectFramesDrawnWhole(20, scene);
  Frames play(true);
  std::vector<int> left_alone;
  for (int f = 0; f < 20; ++f) {
    ResetDrawState();
    scene(play, f);
    FinishedBackBuffer();
    left_alone.push_back(JournalBinsLeftAlone());
  }
  EXPECT_GT(left_alone[5], 0);
  EXPECT_EQ(left_alone[6], 0);  // everything moved
  EXPECT_GT(left_alone[7], 0) << "one frame of change made the journal pass frames";
  EXPECT_EQ(left_alone[14], 0) << "two frames of change in a row kept the journal keeping";
}
