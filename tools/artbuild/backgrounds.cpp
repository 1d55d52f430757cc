// The background tiles drawn in code. Style b of a sky chunk is cell 256 + b, of a dark chunk
// 512 + b, and the dark chunks show the sky band's tiles in shade. Styles 0..7 are the wall that
// painting scatters, 8..15 the same wall in the shade of a block above, 16..23 things that stand
// in the open; the cave row starts with the rock walls and what grows or hangs on them.
#include <algorithm>

#include "materials.h"
#include "tiles.h"

namespace art {

namespace {

constexpr int kSkyBase = 256;
constexpr int kDarkBase = 512;
constexpr float kShadeFactor = 0.58f;
// Dark chunks are caves and cellars: their copy of a sky tile is darker and bluer than the
// shade under a block, so a wall there reads as cold stone in the dark.
constexpr float kDarkFactor = 0.45f;
constexpr float kDarkCast = 0.3f;
constexpr int kCaveRow = 128;

const Ramp kMasonry{Rgb(104, 112, 138), Rgb(118, 126, 152), Rgb(132, 140, 166), Rgb(146, 154, 178)};
const Colour kMortar = Rgb(86, 92, 118);
const Ramp kCaveWall{Rgb(20, 28, 46), Rgb(28, 38, 60), Rgb(36, 48, 74), Rgb(46, 60, 88)};

// Big blocks of masonry in two courses of eight; variants change the stones, not the joints,
// so a painted wall has no seams.
Canvas SkyWall(int variant) {
  Canvas t(kTile, kTile);
  Rng rng(7000 + variant);
  for (int course = 0; course < 2; ++course) {
    int top = course * 8;
    int joint = course == 0 ? 0 : 8;
    bool split = variant % 4 == 1 && course == 1;  // a stone cut in two
    for (int y = top; y < top + 8; ++y)
      for (int x = 0; x < kTile; ++x) {
        int stone = (x >= joint) ? 1 : 0;
        float v = 0.5f + TileNoise(7010 + variant * 2 + course + stone, x, y, 4) * 0.35f - 0.17f;
        v += (Hash01(7020 + variant, x, y) - 0.5f) * 0.15f;
        if (y == top) v += 0.3f;
        if (y == top + 6) v -= 0.2f;
        Colour c = kMasonry.At(v);
        if (y == top + 7 || x == (joint + 15) % 16 || (split && x == 3)) c = kMortar;
        t.Set(x, y, c);
      }
  }
  if (variant == 3 || variant == 6) {
    Crack(t, rng, 4 + rng.Below(8), 1, 6, Shade(kMortar, 0.85f), kMasonry.Tone(3));
  }
  if (variant == 5) {  // a patch of moss in a joint
    for (int x = 2; x < 9; ++x)
      t.Set(x, 7, Rgb(84, 130, 78));
    t.Set(4, 8, Rgb(70, 112, 66));
    t.Set(6, 6, Rgb(96, 146, 86));
  }
  return t;
}

Canvas CaveWall(int variant) {
  Canvas t(kTile, kTile);
  NoiseFill(t, kCaveWall, 7500, 8, 0.35f);
  Rng rng(7510 + variant);
  for (int i = 0; i < 2 + variant % 3; ++i) {
    int x = rng.Below(15), y = rng.Below(15);
    t.Set(x, y, kCaveWall.Tone(3));
    t.Set(x + 1, y + 1, kCaveWall.Tone(0));
  }
  if (variant == 2 || variant == 6)
    Crack(t, rng, 3 + rng.Below(10), 2, 8, Rgb(12, 16, 28), kCaveWall.Tone(3));
  if (variant == 4) {  // a faint glint of ore
    t.Set(9, 6, Rgb(90, 140, 170));
    t.Set(10, 5, Rgb(150, 200, 220));
  }
  return t;
}

const Colour kOutlineWood = Rgb(74, 44, 22);
const Colour kWoodLight = Rgb(206, 156, 96);
const Colour kWoodMid = Rgb(168, 118, 66);

void Fence(Canvas& t) {
  for (int p : {2, 10}) {
    t.Fill(p, 3, 4, 13, kWoodMid);
    t.VLine(p, 3, 15, kWoodLight);
    t.Fill(p + 1, 2, 2, 1, kWoodMid);
    t.Set(p, 3, kOutlineWood);
    t.Set(p + 3, 3, kOutlineWood);
  }
  for (int y : {6, 11}) {
    t.HLine(0, 15, y, kWoodLight);
    t.HLine(0, 15, y + 1, kWoodMid);
    t.HLine(0, 15, y + 2, kOutlineWood);
  }
}

void Bush(Canvas& t) {
  const Ramp leaf{Rgb(30, 96, 42), Rgb(52, 136, 52), Rgb(86, 172, 66), Rgb(136, 206, 96)};
  t.FillCircle(5, 11, 5, leaf.Tone(0));
  t.FillCircle(11, 10.5f, 5.5f, leaf.Tone(0));
  t.FillCircle(5, 11, 4, leaf.Tone(1));
  t.FillCircle(11, 10.5f, 4.5f, leaf.Tone(1));
  t.FillCircle(4, 9.5f, 2, leaf.Tone(2));
  t.FillCircle(10, 8.5f, 2.5f, leaf.Tone(2));
  t.Set(9, 7, leaf.Tone(3));
  t.Set(3, 8, leaf.Tone(3));
  t.Fill(0, 15, 16, 1, kTransparent);
}

void Trunk(Canvas& t, bool prop) {
  Colour dark = prop ? Rgb(86, 56, 30) : Rgb(78, 52, 34);
  Colour mid = prop ? Rgb(150, 104, 56) : Rgb(118, 82, 52);
  Colour light = prop ? Rgb(190, 140, 80) : Rgb(148, 108, 70);
  for (int y = 0; y < kTile; ++y) {
    t.HLine(5, 10, y, mid);
    t.Set(5, y, dark);
    t.Set(10, y, dark);
    t.Set(6, y, light);
    if (!prop && (y * 7) % 5 == 1) t.Set(8, y, dark);  // bark
  }
  if (prop) {
    t.HLine(5, 10, 2, dark);
    t.Set(7, 8, Rgb(200, 196, 186));
    t.Set(7, 13, Rgb(200, 196, 186));
  }
}

void Leaves(Canvas& t) {
  const Ramp leaf{Rgb(26, 86, 40), Rgb(44, 120, 48), Rgb(72, 158, 60), Rgb(118, 196, 86)};
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      // Clumps of leaves: a light side up-left, dark hollows between them.
      float clump = TileNoise(7700, x, y, 4) * 0.6f + TileNoise(7702, x + 3, y + 5, 2) * 0.4f;
      float lit = (((x + 2) % 8) < 4 && ((y + 1) % 8) < 3) ? 0.15f : 0.0f;
      t.Set(x, y, leaf.At(clump + lit + (Hash01(7701, x, y) - 0.5f) * 0.25f));
    }
}

void Roots(Canvas& t) {
  Colour root = Rgb(120, 84, 52), lit = Rgb(160, 118, 76);
  for (int r : {2, 7, 12}) {
    int x = r;
    for (int y = 0; y < 10 + r % 5; ++y) {
      t.Set(x, y, root);
      t.Set(x - 1, y, lit);
      if ((y + r) % 4 == 0) x += (r % 2) ? 1 : -1;
    }
  }
}

void Flowers(Canvas& t) {
  const Colour stem = Rgb(46, 130, 48);
  for (int x = 0; x < kTile; ++x) {
    int h = 2 + int(Hash01(7800, x, 0) * 3.0f);
    for (int y = kTile - h; y < kTile; ++y)
      t.Set(x, y, x % 2 ? stem : Rgb(70, 160, 60));
  }
  const int spot[3][2] = {{3, 9}, {8, 7}, {13, 10}};
  const Colour petals[3] = {Rgb(240, 80, 90), Rgb(250, 226, 70), Rgb(250, 250, 250)};
  for (int i = 0; i < 3; ++i) {
    int x = spot[i][0], y = spot[i][1];
    t.VLine(x, y + 1, 15, stem);
    t.Set(x, y - 1, petals[i]);
    t.Set(x - 1, y, petals[i]);
    t.Set(x + 1, y, petals[i]);
    t.Set(x, y + 1, petals[i]);
    t.Set(x, y, Rgb(255, 200, 60));
  }
}

void Mushrooms(Canvas& t) {
  const int spot[3][2] = {{3, 12}, {8, 10}, {12, 13}};
  for (const auto& s : spot) {
    int x = s[0], y = s[1];
    t.VLine(x, y, 15, Rgb(200, 200, 180));
    t.HLine(x - 2, x + 2, y, Rgb(60, 200, 190));
    t.HLine(x - 1, x + 1, y - 1, Rgb(120, 250, 230));
    t.Set(x, y - 2, Rgb(200, 255, 245));
  }
}

// Half of a two-cell picture drawn on a 32-pixel canvas.
void Cloud(Canvas& t, int half) {
  Canvas wide(32, 16);
  const Colour shadow = Rgb(196, 222, 244), white = Rgb(250, 252, 255);
  wide.FillCircle(9, 10, 5, shadow);
  wide.FillCircle(17, 7.5f, 6.5f, shadow);
  wide.FillCircle(25, 10.5f, 4.5f, shadow);
  wide.Fill(6, 10, 22, 5, shadow);
  wide.FillCircle(9, 9, 4, white);
  wide.FillCircle(17, 6.5f, 5.5f, white);
  wide.FillCircle(25, 9.5f, 3.5f, white);
  wide.Fill(8, 9, 18, 3, white);
  t.BlitPart(wide, half * 16, 0, 16, 16, 0, 0);
}

void Crystals(Canvas& t, int half) {
  Canvas wide(32, 16);
  const Colour dark = Rgb(80, 60, 170), mid = Rgb(140, 110, 240), light = Rgb(210, 190, 255);
  const int spikes[4][3] = {{8, 6, 2}, {14, 2, 3}, {20, 5, 2}, {25, 9, 2}};
  for (const auto& s : spikes) {
    for (int y = s[1]; y < 16; ++y) {
      int w = std::min(s[2] + (y - s[1]) / 3, s[2] + 1);
      wide.HLine(s[0] - w, s[0] + w, y, mid);
      wide.Set(s[0] - w, y, dark);
      wide.Set(s[0] + w, y, dark);
      wide.Set(s[0], y, light);
    }
  }
  t.BlitPart(wide, half * 16, 0, 16, 16, 0, 0);
}

void Window(Canvas& t) {
  t.Fill(4, 3, 8, 12, Rgb(70, 76, 100));
  t.Fill(5, 4, 6, 10, Rgb(26, 30, 52));
  t.HLine(5, 10, 3, Rgb(70, 76, 100));
  t.Fill(6, 2, 4, 1, Rgb(70, 76, 100));
  t.VLine(7, 4, 13, Rgb(70, 76, 100));
  t.HLine(5, 10, 9, Rgb(70, 76, 100));
  t.Set(5, 5, Rgb(90, 110, 160));
  t.Set(8, 5, Rgb(90, 110, 160));
  t.HLine(3, 12, 14, Rgb(160, 168, 190));
}

void Lantern(Canvas& t) {
  for (int r = 6; r >= 1; --r)
    t.FillCircle(8, 9, float(r), Mix(t.Get(8, 9 - r), Rgb(255, 190, 90), 0.12f * float(7 - r)));
  t.VLine(8, 0, 4, Rgb(40, 40, 46));
  t.Fill(6, 5, 5, 7, Rgb(56, 50, 44));
  t.Fill(7, 6, 3, 5, Rgb(255, 214, 110));
  t.Set(8, 8, Rgb(255, 250, 210));
  t.HLine(5, 11, 12, Rgb(56, 50, 44));
}

// Decorations that stand in the open: drawn over the sky they stand against, so a painted one
// looks in a sky chunk as it always has, and its square in the picker holds no holes.
void DrawSkyDecorations(Canvas& sheet) {
  auto sky = [&](int style, auto draw) {
    Canvas picture(kTile, kTile), t(kTile, kTile, kSkyColour);
    draw(picture);
    t.Blit(picture, 0, 0);
    PutTile(sheet, kSkyBase + style, t);
  };
  sky(16, [](Canvas& t) { Fence(t); });
  sky(17, [](Canvas& t) { Bush(t); });
  sky(18, [](Canvas& t) { Trunk(t, false); });
  sky(19, [](Canvas& t) { Leaves(t); });
  sky(20, [](Canvas& t) { Flowers(t); });
  sky(21, [](Canvas& t) { Cloud(t, 0); });
  sky(22, [](Canvas& t) { Cloud(t, 1); });
  Canvas window = SkyWall(0);
  Window(window);
  PutTile(sheet, kSkyBase + 23, window);
}

// The start of the cave row: rock walls and the things found on them.
void DrawCaveRow(Canvas& sheet) {
  for (int v = 0; v < 8; ++v)
    PutTile(sheet, kSkyBase + kCaveRow + v, CaveWall(v));
  Canvas base = CaveWall(0);
  int style = kCaveRow + 8;
  auto cave = [&](auto draw) {
    Canvas t = base;
    draw(t);
    PutTile(sheet, kSkyBase + style++, t);
  };
  cave([](Canvas& t) { Roots(t); });
  cave([](Canvas& t) {  // moss on the cave floor
    for (int x = 0; x < kTile; ++x)
      for (int y = 9 + int(Hash01(7900, x, 0) * 4); y < kTile; ++y)
        t.Set(x, y, Mix(Rgb(40, 96, 60), Rgb(80, 150, 90), Hash01(7901, x, y)));
  });
  cave([](Canvas& t) { Mushrooms(t); });
  for (int half = 0; half < 2; ++half)
    cave([half](Canvas& t) {  // the crystals are cut from a wider picture, holes and all
      Canvas crystals(kTile, kTile);
      Crystals(crystals, half);
      t.Blit(crystals, 0, 0);
    });
  cave([](Canvas& t) { Lantern(t); });
  cave([](Canvas& t) { Trunk(t, true); });  // a pit prop
  cave([](Canvas& t) { Fence(t); });
}

}  // namespace

void DrawBackgrounds(Canvas& sheet) {
  for (int v = 0; v < 8; ++v) {
    Canvas sky = SkyWall(v);
    PutTile(sheet, kSkyBase + v, sky);
    PutTile(sheet, kSkyBase + 8 + v, ShadedCopy(sky, kShadeFactor));
  }
  DrawSkyDecorations(sheet);
  DrawCaveRow(sheet);
}

void ShadeDarkBand(Canvas& sheet) {
  for (int b = 0; b < 256; ++b)
    PutTile(sheet, kDarkBase + b, ShadedCopy(GetTile(sheet, kSkyBase + b), kDarkFactor, kDarkCast));
}

}  // namespace art
