// The block half of the tile sheet: six-variant material families, bricks, containers, the
// border wall and a few extra solids.
#include <cmath>
#include <iostream>

#include "materials.h"
#include "text_art.h"
#include "tiles.h"

namespace art {

namespace {

const Ramp kDirt{Rgb(78, 44, 26), Rgb(104, 62, 34), Rgb(128, 80, 44), Rgb(150, 98, 56),
                 Rgb(172, 118, 70)};
const Ramp kGrass{Rgb(30, 96, 40), Rgb(52, 142, 48), Rgb(92, 184, 62), Rgb(150, 220, 92)};
const Ramp kStone{Rgb(72, 74, 88), Rgb(100, 103, 118), Rgb(128, 131, 146), Rgb(156, 159, 172),
                  Rgb(186, 188, 198)};
const Ramp kWood{Rgb(98, 56, 28), Rgb(134, 82, 40), Rgb(164, 108, 56), Rgb(194, 138, 78)};
const Ramp kCave{Rgb(40, 34, 60), Rgb(60, 52, 86), Rgb(82, 74, 112), Rgb(108, 100, 140),
                 Rgb(138, 130, 170)};
const Ramp kIce{Rgb(110, 170, 228), Rgb(146, 204, 244), Rgb(182, 228, 252), Rgb(222, 246, 255)};
const Ramp kClay{Rgb(132, 44, 26), Rgb(170, 62, 34), Rgb(198, 86, 46), Rgb(222, 118, 70)};
const Ramp kSlate{Rgb(56, 64, 96), Rgb(78, 88, 124), Rgb(100, 112, 150), Rgb(130, 142, 178)};
const Ramp kSteel{Rgb(46, 50, 62), Rgb(68, 74, 90), Rgb(92, 98, 116), Rgb(124, 130, 148),
                  Rgb(168, 174, 190)};
const Ramp kMoss{Rgb(42, 92, 44), Rgb(66, 126, 52), Rgb(98, 160, 66)};

// Dirt shared by the grassy family and the plain earth below it: one noise seed, so that a
// painted ground area shows no seams between its variants.
void DirtBody(Canvas& t, int variant) {
  NoiseFill(t, kDirt, 4401, 8, 0.35f);
  Rng rng(4410 + variant);
  for (int i = 0; i < 3 + variant % 3; ++i) {  // pebbles
    int x = rng.Below(14), y = rng.Below(14);
    t.Set(x, y, kDirt.Tone(0));
    t.Set(x + 1, y, kDirt.Tone(0));
    t.Set(x, y - 1, kDirt.Tone(4));
  }
  if (variant == 2 || variant == 5) {  // a stone in the earth
    int x = 3 + rng.Below(8), y = 7 + rng.Below(5);
    t.Fill(x, y, 4, 3, kStone.Tone(2));
    t.HLine(x + 1, x + 2, y - 1, kStone.Tone(3));
    t.HLine(x, x + 3, y + 3, kDirt.Tone(0));
    t.Set(x, y, kStone.Tone(4));
  }
  if (variant == 3) {  // a root
    int y = 9;
    for (int x = 2; x < 13; ++x) {
      if (x % 4 == 0) ++y;
      t.Set(x, y, Rgb(196, 150, 100));
      t.Set(x, y + 1, kDirt.Tone(0));
    }
  }
}

Canvas Grass(int variant) {
  Canvas t(kTile, kTile);
  DirtBody(t, variant);
  Rng rng(100 + variant);
  for (int x = 0; x < kTile; ++x) {
    int depth = 4 + int(TileNoise(77 + variant, x, 0, 4) * 3.0f);
    if (Hash01(91 + variant, x, 0) < 0.12f) depth += 2;  // a drip of turf down the side
    for (int y = 0; y < depth; ++y)
      t.Set(x, y, kGrass.At(0.75f - float(y) / float(depth) * 0.6f + Hash01(5, x, y) * 0.2f));
    t.Set(x, depth, kGrass.Tone(0));
    t.Set(x, depth + 1, kDirt.Tone(0));
    // Blade tips against the sky: gaps in the top row, light tips in the next.
    if (Hash01(300 + variant, x, 0) < 0.45f)
      t.Set(x, 0, kTransparent);
    else
      t.Set(x, 0, kGrass.Tone(3));
  }
  if (variant == 1 || variant == 4) {  // a little flower
    int x = 3 + rng.Below(10);
    Colour petal = variant == 1 ? Rgb(250, 230, 80) : Rgb(240, 90, 120);
    t.Set(x, 0, petal);
    t.Set(x - 1, 1, petal);
    t.Set(x + 1, 1, petal);
    t.Set(x, 1, Rgb(255, 250, 220));
    t.Set(x, 2, petal);
  }
  return t;
}

Canvas Dirt(int variant) {
  Canvas t(kTile, kTile);
  DirtBody(t, variant);
  return t;
}

Canvas Stone(int variant) {
  Canvas t(kTile, kTile);
  NoiseFill(t, kStone, 600 + variant, 4, 0.3f);
  Rng rng(610 + variant);
  if (variant == 2) {  // split into two courses
    t.HLine(0, 15, 7, kStone.Tone(0));
    t.HLine(0, 15, 8, kStone.Tone(4));
  }
  if (variant == 1 || variant == 3 || variant == 5)
    Crack(t, rng, 3 + rng.Below(10), 2, 9, kStone.Tone(0), kStone.Tone(3));
  Bevel(t, 34, 40);
  if (variant >= 4) {  // moss on top
    for (int x = 0; x < kTile; ++x) {
      int d = 1 + int(TileNoise(640 + variant, x, 0, 3) * 3.0f);
      for (int y = 0; y < d; ++y)
        t.Set(x, y, kMoss.Tone(2 - y % 3));
    }
  }
  return t;
}

Canvas Wood(int variant) {
  Canvas t(kTile, kTile);
  const int boardTop[3] = {0, 5, 10};
  const int boardHeight[3] = {5, 5, 6};
  Rng rng(1200 + variant);
  for (int b = 0; b < 3; ++b) {
    int seam = 3 + (variant * 5 + b * 7) % 10;
    for (int y = boardTop[b]; y < boardTop[b] + boardHeight[b]; ++y)
      for (int x = 0; x < kTile; ++x) {
        float grain = TileNoise(1210 + b + variant * 3, x, y * 5, 8);
        float tone = 0.35f + grain * 0.5f + (y == boardTop[b] ? 0.3f : 0) +
                     (y == boardTop[b] + boardHeight[b] - 1 ? -0.3f : 0);
        t.Set(x, y, kWood.At(tone));
      }
    t.HLine(0, 15, boardTop[b] + boardHeight[b] - 1, kWood.Tone(0));
    t.VLine(seam, boardTop[b], boardTop[b] + boardHeight[b] - 2, kWood.Tone(0));
    t.Set(seam + 2, boardTop[b] + 2, Rgb(200, 196, 186));  // nails beside the seam
    t.Set(seam - 2, boardTop[b] + 2, Rgb(200, 196, 186));
  }
  if (variant == 2 || variant == 5) {  // a knot
    int x = 4 + rng.Below(8), y = variant == 2 ? 6 : 12;
    t.HLine(x - 1, x + 1, y, kWood.Tone(0));
    t.Set(x, y - 1, kWood.Tone(1));
  }
  Bevel(t, 20, 30);
  return t;
}

Canvas CaveRock(int variant) {
  Canvas t(kTile, kTile);
  NoiseFill(t, kCave, 3200 + variant, 8, 0.4f);
  Rng rng(3210 + variant);
  for (int i = 0; i < 4; ++i) {  // lighter chips
    int x = rng.Below(15), y = rng.Below(15);
    t.Set(x, y, kCave.Tone(4));
    t.Set(x + 1, y + 1, kCave.Tone(0));
  }
  if (variant == 2 || variant == 5) {  // a vein of blue crystal
    int x = 4 + rng.Below(8), y = 4 + rng.Below(8);
    t.Set(x, y, Rgb(120, 220, 255));
    t.Set(x + 1, y - 1, Rgb(200, 245, 255));
    t.Set(x + 1, y, Rgb(70, 150, 230));
    t.Set(x - 1, y + 1, Rgb(70, 150, 230));
  }
  if (variant == 1 || variant == 4)
    Crack(t, rng, 2 + rng.Below(12), 1, 8, kCave.Tone(0), kCave.Tone(3));
  Bevel(t, 22, 26);
  return t;
}

Canvas Ice(int variant) {
  Canvas t(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      float v = 0.75f - float(x + y) / 50.0f + (Hash01(3800 + variant, x, y) - 0.5f) * 0.12f;
      t.Set(x, y, kIce.At(v));
    }
  int off = (variant * 5) % 11;
  for (int k = 0; k < 7; ++k) {  // glints along the diagonal
    t.Set(off + k, 12 - k, kIce.Tone(3));
    if (k < 4) t.Set(off + k + 4, 12 - k, kIce.Tone(3));
  }
  if (variant % 3 == 1) {
    Rng rng(3810 + variant);
    Crack(t, rng, 10, 3, 8, Rgb(96, 150, 214), kIce.Tone(3));
  }
  if (variant % 3 == 2) {  // bubbles
    t.Set(4, 4, kIce.Tone(3));
    t.Set(11, 9, kIce.Tone(3));
    t.Set(6, 11, kIce.Tone(3));
  }
  Bevel(t, 60, 60);
  t.HLine(0, 15, 15, Rgb(70, 120, 190));
  t.VLine(15, 0, 15, Rgb(70, 120, 190));
  return t;
}

// Courses of bricks: `course` pixels high, `length` long, every other course offset by half.
Canvas Bricks(const Ramp& face, Colour mortar, int course, int length, uint64_t seed, int variant) {
  Canvas t(kTile, kTile);
  Rng rng(seed);
  int dull = variant == 1 ? rng.Below(4) : -1;  // one brick of another firing
  for (int row = 0; row * course < kTile; ++row) {
    int top = row * course;
    int shift = (row % 2) * (length / 2);
    for (int x = 0; x < kTile; ++x) {
      int brick = ((x + shift) / length);
      bool joint = (x + shift) % length == length - 1;
      for (int y = top; y < top + course; ++y) {
        if (joint || y == top + course - 1) {
          t.Set(x, y, mortar);
          continue;
        }
        float v = 0.45f + (Hash01(seed + brick * 7 + row, x, y) - 0.5f) * 0.3f;
        if (variant == 2) v += TileNoise(seed + 9, x, y, 4) * 0.5f - 0.3f;
        if (y == top) v += 0.4f;
        if (y == top + course - 2 || (x + shift) % length == length - 2) v -= 0.25f;
        if ((brick + row) % 4 == dull) v -= 0.3f;
        t.Set(x, y, face.At(v));
      }
    }
  }
  return t;
}

Canvas BorderWall() {
  Canvas t(kTile, kTile);
  NoiseFill(t, kSteel, 2300, 8, 0.15f, -0.1f);
  for (int i = 2; i < 14; ++i)
    t.Set(i, i, kSteel.Tone(2));  // brushed diagonal
  Bevel(t, 50, 30, 2);
  const int rivet[4][2] = {{3, 3}, {11, 3}, {3, 11}, {11, 11}};
  for (const auto& r : rivet) {
    t.Fill(r[0], r[1], 2, 2, kSteel.Tone(4));
    t.Set(r[0] + 1, r[1] + 1, kSteel.Tone(2));
    t.Set(r[0] + 2, r[1] + 2, kSteel.Tone(0));
    t.Set(r[0] + 1, r[1] + 2, kSteel.Tone(0));
    t.Set(r[0] + 2, r[1] + 1, kSteel.Tone(0));
  }
  t.HLine(0, 15, 15, Rgb(20, 22, 30));
  t.VLine(15, 0, 15, Rgb(20, 22, 30));
  return t;
}

Canvas Flashed(const Canvas& tile) {
  Canvas t = tile;
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x)
      t.Set(x, y, Mix(tile.Get(x, y), Rgb(255, 255, 255), 0.45f));
  return t;
}

// A few solids beyond the families, painted exactly as picked.
void DrawExtras(Canvas& sheet) {
  Canvas sand(kTile, kTile);
  NoiseFill(sand,
            Ramp{Rgb(196, 162, 96), Rgb(218, 186, 116), Rgb(236, 208, 140), Rgb(248, 228, 170)},
            2400, 4, 0.5f);
  Bevel(sand, 14, 20);
  PutTile(sheet, 24, sand);

  PutTile(sheet, 25,
          Bricks(Ramp{Rgb(170, 120, 20), Rgb(214, 164, 30), Rgb(246, 204, 60), Rgb(255, 240, 150)},
                 Rgb(120, 80, 10), 8, 8, 2500, 0));

  Canvas leaves(kTile, kTile);
  NoiseFill(leaves, Ramp{Rgb(24, 84, 40), Rgb(40, 116, 48), Rgb(64, 150, 58), Rgb(104, 186, 80)},
            2600, 3, 0.6f);
  PutTile(sheet, 26, leaves);

  Canvas glass(kTile, kTile, Rgb(178, 226, 240));
  for (int k = 2; k < 8; ++k)
    glass.Set(k, 9 - k, Rgb(250, 255, 255));
  for (int k = 6; k < 12; ++k)
    glass.Set(k, 17 - k, Rgb(236, 250, 255));
  Bevel(glass, 40, 70);
  PutTile(sheet, 27, glass);

  Canvas plate(kTile, kTile);
  NoiseFill(plate, kSteel, 2800, 8, 0.1f, 0.25f);
  Bevel(plate, 50, 50);
  plate.Set(2, 2, kSteel.Tone(4));
  plate.Set(13, 2, kSteel.Tone(4));
  plate.Set(2, 13, kSteel.Tone(4));
  plate.Set(13, 13, kSteel.Tone(4));
  PutTile(sheet, 28, plate);

  Canvas lava(kTile, kTile);
  NoiseFill(lava, Ramp{Rgb(40, 20, 20), Rgb(70, 30, 24), Rgb(200, 70, 20), Rgb(255, 170, 40)}, 2900,
            5, 0.2f, -0.1f);
  Bevel(lava, 10, 20);
  PutTile(sheet, 29, lava);
}

bool DrawContainers(Canvas& sheet, const std::string& assetsDir) {
  TextArt text;
  std::string error;
  Canvas coin, crystal;
  if (!text.Load(assetsDir + "/tiles/containers.txt", error) ||
      !text.Picture("coin_box", coin, error) || !text.Picture("crystal_box", crystal, error)) {
    std::cerr << "artbuild: " << error << "\n";
    return false;
  }
  if (coin.Width() != kTile || coin.Height() != kTile || crystal.Width() != kTile ||
      crystal.Height() != kTile) {
    std::cerr << "artbuild: the containers must be 16 by 16\n";
    return false;
  }
  PutTile(sheet, 21, coin);
  PutTile(sheet, 22, Flashed(coin));
  PutTile(sheet, 53, crystal);
  PutTile(sheet, 54, Flashed(crystal));
  return true;
}

}  // namespace

bool DrawBlocks(Canvas& sheet, const std::string& assetsDir) {
  for (int v = 0; v < 6; ++v) {
    PutTile(sheet, 0 + v, Grass(v));
    PutTile(sheet, 6 + v, Stone(v));
    PutTile(sheet, 12 + v, Wood(v));
    PutTile(sheet, 32 + v, CaveRock(v));
    PutTile(sheet, 38 + v, Ice(v));
    PutTile(sheet, 44 + v, Dirt(v));
  }
  for (int v = 0; v < 3; ++v) {
    PutTile(sheet, 18 + v, Bricks(kClay, Rgb(226, 206, 180), 4, 8, 1800 + v, v));
    PutTile(sheet, 50 + v, Bricks(kSlate, Rgb(28, 30, 46), 8, 8, 5000 + v, v));
  }
  PutTile(sheet, 23, BorderWall());
  DrawExtras(sheet);
  return DrawContainers(sheet, assetsDir);
}

}  // namespace art
