// The drawing layer's shortcuts (tile copies held back, water drawn from kept composites,
// mirrored frames from reversed rows, masked frames drawn by their runs of drawn texels,
// backdrop fills skipped where the colour already lies, glyphs painted in the text colour)
// must give the pixels of the plain paths. Each sequence of draws runs twice: with loaded-like
// frames, which take the shortcuts, and with the same frames built by hand, which never do.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/render/blend_composites.h"
#include "platform/render/draw.h"
#include "platform/render/font.h"
#include "platform/render/image.h"
#include "support/test_env.h"

namespace {

constexpr int kPixels = kBackBufferWidth * kBackBufferHeight;

// Tiles as the views draw them: opaque, masked (a hole in the middle) and water-like (a
// transparent top, as the partly filled water frames have).
TImage Tiles(std::mt19937& rng, bool loaded) {
  TImage image;
  image.width = image.height = 16;
  for (int f = 0; f < 4; ++f) {
    ImageFrame frame;
    for (int i = 0; i < 256; ++i) {
      const bool hole = (f == 1 && i % 16 > 5 && i % 16 < 9) || (f == 3 && i < 96);
      frame.argb.push_back((hole ? 0x00000000u : 0xFF000000u) | (rng() & 0xFFFFFF));
    }
    frame.opaque = f % 2 == 0;
    if (loaded) {
      frame.mirrored = frame.argb;
      for (auto row = frame.mirrored.begin(); row < frame.mirrored.end(); row += 16)
        std::reverse(row, row + 16);
      FindDrawnRuns(frame, 16);
      frame.serial = NextFrameSerial();
    }
    image.frames.push_back(std::move(frame));
  }
  return image;
}

struct Step {
  int kind;  // 0 tile, 1 water over the last tile's place, 2 fill, 3 outside write, 4 viewport
  int frame, x, y, w, h;
  bool mirrored, half;
  uint32_t colour;
};

std::vector<Step> RandomSteps(std::mt19937& rng, int count) {
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    Step s{static_cast<int>(rng() % 10),
           static_cast<int>(rng() % 4),
           static_cast<int>(rng() % 840) - 20,
           static_cast<int>(rng() % 320) - 20,
           static_cast<int>(rng() % 90) + 1,
           static_cast<int>(rng() % 90) + 1,
           rng() % 4 == 0,
           rng() % 9 == 0,
           static_cast<uint32_t>(rng() % 3) * 0x123456u};
    s.kind = s.kind < 4 ? 0 : s.kind < 7 ? 1 : s.kind < 9 ? 2 : 3 + static_cast<int>(rng() % 2);
    steps.push_back(s);
  }
  return steps;
}

// Runs the steps; after every fill, the filled rectangle must hold the colour.
std::vector<uint32_t> Play(const std::vector<Step>& steps, const TImage& tiles,
                           const TImage& water) {
  ResetDrawState();
  std::fill_n(BackBuffer(), kPixels, 0x00102030u);
  int lastX = 0, lastY = 0;
  for (const Step& s : steps) {
    SetDrawScale(s.mirrored ? -1.0f : (s.half ? 0.5f : 1.0f), 1.0f);
    switch (s.kind) {
      case 0:
        SetBlend(kBlendMask);
        SetAlpha(1.0);
        DrawImageFrame(&tiles, static_cast<float>(s.x), static_cast<float>(s.y), s.frame);
        lastX = s.x, lastY = s.y;
        break;
      case 1:
        SetBlend(kBlendAlpha);
        SetAlpha(0.7);
        DrawImageFrame(&water, static_cast<float>(lastX), static_cast<float>(lastY), s.frame);
        break;
      case 2: {
        SetBlend(kBlendMask);
        SetAlpha(1.0);
        SetDrawScale(1, 1);
        SetColor(s.colour >> 16, (s.colour >> 8) & 0xFF, s.colour & 0xFF);
        DrawRect(static_cast<float>(s.x), static_cast<float>(s.y), static_cast<float>(s.w),
                 static_cast<float>(s.h));
        const DrawState& state = CurrentDrawState();
        const uint32_t* pixels = FinishedBackBuffer();
        for (int y = std::max({s.y, 0, state.view_y});
             y < std::min({s.y + s.h, kBackBufferHeight, state.view_y + state.view_h}); ++y) {
          for (int x = std::max({s.x, 0, state.view_x});
               x < std::min({s.x + s.w, kBackBufferWidth, state.view_x + state.view_w}); ++x) {
            EXPECT_EQ(pixels[y * kBackBufferWidth + x], s.colour) << x << "," << y;
          }
        }
        SetColor(255, 255, 255);
        break;
      }
      case 3:
        BackBuffer()[(s.y + 20) % kBackBufferHeight * kBackBufferWidth +
                     (s.x + 20) % kBackBufferWidth] = s.colour ^ 0x0F0F0F;
        break;
      default:
        SetViewport(s.x, s.y, s.w * 4, s.h * 2);
        break;
    }
  }
  const uint32_t* pixels = FinishedBackBuffer();
  return std::vector<uint32_t>(pixels, pixels + kPixels);
}

// The font as an ordinary image: its frames take the general tinted path.
TImage GlyphImage() {
  TImage image;
  image.width = kGlyphWidth;
  image.height = kGlyphHeight;
  for (int code = 32; code <= 127; ++code) {
    ImageFrame frame;
    for (int y = 0; y < kGlyphHeight; ++y) {
      for (int x = 0; x < kGlyphWidth; ++x)
        frame.argb.push_back((GlyphRows(code)[y] >> (7 - x)) & 1 ? 0xFFFFFFFFu : 0x00FFFFFFu);
    }
    image.frames.push_back(frame);
  }
  return image;
}

class DrawShortcuts : public GameTest {
 protected:
  // These tests are about the shortcuts themselves: on, whatever RAVELON_PLAIN_DRAW says.
  void SetUp() override {
    GameTest::SetUp();
    SetDrawShortcuts(true);
  }
  void TearDown() override {
    ResetDrawState();
    GameTest::TearDown();
  }
};

// `count` frames of size x size with serials, as loaded; a texel is half clear where
// `half_clear(i)` says, opaque elsewhere, its colour random.
template <typename HalfClear>
TImage LoadedLikeFrames(int count, int size, unsigned seed, HalfClear half_clear) {
  TImage image;
  image.width = image.height = size;
  std::mt19937 rng(seed);
  for (int f = 0; f < count; ++f) {
    ImageFrame frame;
    for (int i = 0; i < size * size; ++i)
      frame.argb.push_back((half_clear(i) ? 0x80000000u : 0xFF000000u) | (rng() & 0xFFFFFF));
    frame.serial = NextFrameSerial();
    image.frames.push_back(std::move(frame));
  }
  return image;
}

// A fill of `rgb` as large as the image at (at, at), and the frame blended over it at `alpha`.
void BlendOverFill(const TImage& image, int frame, int at, uint32_t rgb, double alpha) {
  SetBlend(kBlendMask);
  SetAlpha(1.0);
  SetColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF),
           static_cast<int>(rgb & 0xFF));
  DrawRect(static_cast<float>(at), static_cast<float>(at), static_cast<float>(image.width),
           static_cast<float>(image.height));
  SetBlend(kBlendAlpha);
  SetColor(255, 255, 255);
  SetAlpha(alpha);
  DrawImageFrame(&image, static_cast<float>(at), static_cast<float>(at), frame);
}

}  // namespace

TEST_F(DrawShortcuts, GiveThePixelsOfThePlainPaths) {
  for (int round = 0; round < 40; ++round) {
    std::mt19937 art(round), moves(1000 + round);
    const TImage plainTiles = Tiles(art, false), plainWater = Tiles(art, false);
    std::mt19937 sameArt(round);
    const TImage tiles = Tiles(sameArt, true), water = Tiles(sameArt, true);
    // Tiles land on the same few places, so water often meets the tile just drawn there.
    std::vector<Step> steps = RandomSteps(moves, 300);
    for (Step& s : steps) {
      if (s.kind == 0 && moves() % 2) s.x = s.x / 16 * 16, s.y = s.y / 16 * 16;
    }
    const std::vector<uint32_t> plain = Play(steps, plainTiles, plainWater);
    const std::vector<uint32_t> fast = Play(steps, tiles, water);
    ASSERT_TRUE(plain == fast) << "round " << round;
    // The switch turns every shortcut off for the loaded frames too.
    SetDrawShortcuts(false);
    const std::vector<uint32_t> switched_off = Play(steps, tiles, water);
    SetDrawShortcuts(true);
    ASSERT_TRUE(plain == switched_off) << "round " << round;
  }
}

// Loaded-like frames of 64x64, each blended over a fill: every one is kept until the kept results
// reach their bound in bytes, then they start afresh, and the picture stays the plain one.
TEST_F(DrawShortcuts, KeptCompositesStayWithinTheirBytes) {
  const TImage big = LoadedLikeFrames(160, 64, 3, [](int i) { return i < 2000; });
  size_t most = 0;
  auto play = [&] {
    ResetDrawState();
    for (int f = 0; f < big.FrameCount(); ++f) {
      BlendOverFill(big, f, 64, 0x0A141E, 0.5);
      most = std::max(most, KeptCompositeBytes());
    }
    const uint32_t* pixels = FinishedBackBuffer();
    return std::vector<uint32_t>(pixels, pixels + kPixels);
  };
  const std::vector<uint32_t> fast = play();
  EXPECT_LE(most, size_t{2} << 20);
  EXPECT_GT(most, size_t{1} << 20);  // they were kept, up to near the bound
  SetDrawShortcuts(false);
  const std::vector<uint32_t> plain = play();
  SetDrawShortcuts(true);
  EXPECT_TRUE(fast == plain);
}

// A hundred pairs shown every frame are blended once each, and found in every later frame: no
// two of them take turns throwing each other out of the table.
TEST_F(DrawShortcuts, PairsShownEveryFrameAreBlendedOnce) {
  const TImage sprites = LoadedLikeFrames(100, 16, 8, [](int i) { return i % 3 != 0; });
  auto frame_of_pairs = [&] {
    for (int f = 0; f < sprites.FrameCount(); ++f)
      BlendOverFill(sprites, f, 32, 0x28323C, 0.75);
    FinishedBackBuffer();
  };
  ResetDrawState();
  const size_t before = KeptCompositesMade();
  frame_of_pairs();
  EXPECT_EQ(KeptCompositesMade() - before, 100u);
  frame_of_pairs();
  frame_of_pairs();
  EXPECT_EQ(KeptCompositesMade() - before, 100u);
}

// A copy of a loaded image is the copier's to change: its frames no longer carry the serials,
// so a blend kept for the original is never taken for the changed copy.
TEST_F(DrawShortcuts, ACopiedImageMayChangeItsTexels) {
  std::mt19937 art(9);
  const TImage tiles = Tiles(art, true);
  ASSERT_NE(tiles.frames[0].serial, 0u);
  auto blend_over_fill = [](const TImage& image) {
    SetBlend(kBlendMask);
    SetAlpha(1.0);
    SetColor(40, 50, 60);
    DrawRect(32, 32, 16, 16);
    SetBlend(kBlendAlpha);
    SetColor(255, 255, 255);
    SetAlpha(0.6);
    DrawImageFrame(&image, 32, 32, 0);
    return FinishedBackBuffer()[40 * kBackBufferWidth + 40];
  };
  ResetDrawState();
  blend_over_fill(tiles);  // kept for the original's serial
  TImage copy = tiles;
  EXPECT_EQ(copy.frames[0].serial, 0u);
  for (uint32_t& texel : copy.frames[0].argb)
    texel = 0xFFFF0000u;
  const uint32_t fast = blend_over_fill(copy);
  SetDrawShortcuts(false);
  const uint32_t plain = blend_over_fill(copy);
  SetDrawShortcuts(true);
  EXPECT_EQ(fast, plain);
  EXPECT_NE(fast, blend_over_fill(tiles));
}

// A tile held back must be in the pixels whoever looks next, and its image may go first.
TEST_F(DrawShortcuts, HeldTileLandsBeforeAnyoneLooks) {
  std::mt19937 art(7);
  auto tiles = std::make_unique<TImage>(Tiles(art, true));
  const uint32_t texel = tiles->frames[0].argb[0] & 0xFFFFFF;
  std::fill_n(BackBuffer(), kPixels, 0u);
  DrawImageFrame(tiles.get(), 32, 48, 0);
  EXPECT_EQ(FinishedBackBuffer()[48 * kBackBufferWidth + 32], texel);
  DrawImageFrame(tiles.get(), 64, 48, 0);
  tiles.reset();
  EXPECT_EQ(FinishedBackBuffer()[48 * kBackBufferWidth + 64], texel);
}

// Text in any colour, alpha, scale and place, clipped by a viewport or not, over a busy picture,
// gives the pixels of its glyphs drawn as image frames one after another.
TEST_F(DrawShortcuts, TextGivesThePixelsOfItsGlyphsAsFrames) {
  const TImage glyphs = GlyphImage();
  const std::string text = "Fps 60 ~{|}\x7f\x01g";
  std::mt19937 rng(5);
  for (int round = 0; round < 120; ++round) {
    const int r = static_cast<int>(rng() % 256), g = static_cast<int>(rng() % 256),
              b = static_cast<int>(rng() % 256);
    const double alphas[] = {1.0, 0.9, 0.5, 0.3, 0.0};
    const float scales[] = {1.0f, 1.0f, -1.0f, 0.5f, 2.0f};
    const double alpha = alphas[rng() % 5];
    const float scale = scales[rng() % 5];
    const int blend = rng() % 4 == 0 ? kBlendAlpha : kBlendMask;
    const float x =
        static_cast<float>(static_cast<int>(rng() % 1000) - 100) + (rng() % 3 ? 0 : 0.5f);
    const float y = static_cast<float>(static_cast<int>(rng() % 340) - 20);
    const int viewX = static_cast<int>(rng() % 500), viewY = static_cast<int>(rng() % 200);
    const bool clipped = rng() % 2;
    std::vector<uint32_t> backdrop(kPixels);
    for (uint32_t& pixel : backdrop)
      pixel = rng() & 0xFFFFFF;
    auto draw = [&](bool asText) {
      ResetDrawState();
      std::copy(backdrop.begin(), backdrop.end(), BackBuffer());
      SetColor(r, g, b);
      SetAlpha(alpha);
      SetBlend(blend);
      SetDrawScale(scale, 1.0f);
      if (clipped) SetViewport(viewX, viewY, 150, 60);
      if (asText) {
        DrawTextAt(text, x, y);
      } else {
        int drawn = 0;
        for (const char ch : text) {
          const int code = static_cast<unsigned char>(ch);
          if (!GlyphRows(code)) continue;
          DrawImageFrame(&glyphs, x + static_cast<float>(drawn++ * kGlyphWidth) * scale, y,
                         code - 32);
        }
      }
      const uint32_t* pixels = FinishedBackBuffer();
      return std::vector<uint32_t>(pixels, pixels + kPixels);
    };
    ASSERT_TRUE(draw(false) == draw(true)) << "round " << round;
  }
}

// A draw from whole pixels maps by integers; the same draw a quarter pixel on takes the general
// mapping, and by the centre rule covers the same pixels with the same texels. Frames, fills and
// text, clipped by random viewports and moved by origins, must agree pixel for pixel.
TEST_F(DrawShortcuts, WholePixelDrawsGiveThePixelsOfTheGeneralMapping) {
  std::mt19937 art(11);
  const TImage tiles = Tiles(art, true);
  for (int round = 0; round < 30; ++round) {
    std::mt19937 moves(200 + round);
    std::vector<Step> steps = RandomSteps(moves, 200);
    auto play = [&](float shift) {
      ResetDrawState();
      std::fill_n(BackBuffer(), kPixels, 0x00405060u);
      for (const Step& s : steps) {
        const auto x = static_cast<float>(s.x) + shift, y = static_cast<float>(s.y) + shift;
        SetBlend(s.kind == 1 ? kBlendAlpha : kBlendMask);
        SetAlpha(s.kind == 1 ? 0.7 : 1.0);
        SetColor(255, s.mirrored ? 90 : 255, 255);
        switch (s.kind) {
          case 0:
          case 1:
            DrawImageFrame(&tiles, x, y, s.frame);
            break;
          case 2:
            SetColor(s.colour >> 16, (s.colour >> 8) & 0xFF, s.colour & 0xFF);
            DrawRect(x, y, static_cast<float>(s.w), static_cast<float>(s.h));
            break;
          case 3:
            DrawTextAt("Draw 12", x, y);
            break;
          default:
            SetViewport(s.x, s.y, s.w * 4, s.h * 2);
            SetDrawOrigin(static_cast<float>(s.w % 7 - 3), static_cast<float>(s.h % 5 - 2));
            break;
        }
      }
      const uint32_t* pixels = FinishedBackBuffer();
      return std::vector<uint32_t>(pixels, pixels + kPixels);
    };
    ASSERT_TRUE(play(0.0f) == play(0.25f)) << "round " << round;
  }
}

// Sprites as a character sheet has them: see-through rows, ragged edges, holes, and alphas
// either side of the mask threshold, in an odd width. Loaded ones are drawn by their runs of
// drawn texels, the same frames built by hand texel by texel. Either facing, scaled, tinted, at
// any alpha and in both blends, anywhere against the buffer's edges and random viewports, from
// whole pixels and not, they must give the same pixels; so must a copy of a loaded sprite whose
// texels were changed after the copy.
TEST_F(DrawShortcuts, SpritesDrawnByRunsGiveThePixelsOfEveryTexel) {
  constexpr int kWidth = 13, kHeight = 19;
  auto sprites = [](bool loaded) {
    std::mt19937 art(23);
    TImage image;
    image.width = kWidth;
    image.height = kHeight;
    for (int f = 0; f < 6; ++f) {
      ImageFrame frame;
      for (int y = 0; y < kHeight; ++y) {
        const bool empty = y < 3 || art() % 5 == 0;
        const int left = static_cast<int>(art() % 8), right = left + static_cast<int>(art() % 10);
        const int hole = static_cast<int>(art() % 16);
        for (int x = 0; x < kWidth; ++x) {
          const bool drawn = !empty && x >= left && x <= right && x != hole;
          const uint32_t alphas[] = {drawn ? 255u : 0u, drawn ? 128u : 127u, drawn ? 200u : 40u};
          frame.argb.push_back((alphas[art() % 3] << 24) | (art() & 0xFFFFFF));
        }
      }
      if (loaded) {
        frame.mirrored = frame.argb;
        for (auto row = frame.mirrored.begin(); row < frame.mirrored.end(); row += kWidth)
          std::reverse(row, row + kWidth);
        FindDrawnRuns(frame, kWidth);
        frame.serial = NextFrameSerial();
      }
      image.frames.push_back(std::move(frame));
    }
    return image;
  };
  const TImage byHand = sprites(false), loaded = sprites(true);
  // A copy may change its texels: every texel of its first frame now drawn.
  TImage changedByHand = byHand, changedCopy = loaded;
  for (TImage* image : {&changedByHand, &changedCopy}) {
    for (uint32_t& texel : image->frames[0].argb)
      texel |= 0xFF000000u;
  }
  std::mt19937 rng(31);
  std::vector<uint32_t> backdrop(kPixels);
  for (int round = 0; round < 60; ++round) {
    for (uint32_t& pixel : backdrop)
      pixel = rng() & 0xFFFFFF;
    std::mt19937 moves(500 + round);
    auto play = [&](const TImage& sprite, const TImage& changed) {
      ResetDrawState();
      std::copy(backdrop.begin(), backdrop.end(), BackBuffer());
      std::mt19937 m = moves;
      for (int k = 0; k < 80; ++k) {
        const float scalesX[] = {1.0f, -1.0f, 1.0f, -1.0f, 0.5f}, scalesY[] = {1, 1, 1, 0.5f, 2};
        const double alphas[] = {1.0, 1.0, 0.8, 0.5, 0.3};
        SetDrawScale(scalesX[m() % 5], scalesY[m() % 5]);
        SetAlpha(alphas[m() % 5]);
        SetBlend(m() % 5 == 0 ? kBlendAlpha : kBlendMask);
        if (m() % 3 == 0) {
          SetColor(static_cast<int>(m() % 256), static_cast<int>(m() % 256), 255);
        } else {
          SetColor(255, 255, 255);
        }
        if (m() % 4 == 0) {
          SetViewport(static_cast<int>(m() % 700), static_cast<int>(m() % 250), 90, 40);
          SetDrawOrigin(static_cast<float>(m() % 9) - 4, static_cast<float>(m() % 5));
        } else if (m() % 2 == 0) {
          SetViewport(0, 0, kBackBufferWidth, kBackBufferHeight);
        }
        const float x =
            static_cast<float>(static_cast<int>(m() % 860) - 30) + (m() % 6 == 0 ? 0.5f : 0.0f);
        const float y =
            static_cast<float>(static_cast<int>(m() % 350) - 30) + (m() % 6 == 0 ? 0.25f : 0.0f);
        const int frame = static_cast<int>(m() % 6);
        DrawImageFrame(m() % 8 == 0 ? &changed : &sprite, x, y, frame);
      }
      const uint32_t* pixels = FinishedBackBuffer();
      return std::vector<uint32_t>(pixels, pixels + kPixels);
    };
    ASSERT_TRUE(play(byHand, changedByHand) == play(loaded, changedCopy)) << "round " << round;
  }
}
