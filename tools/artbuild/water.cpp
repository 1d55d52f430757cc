// tall_water.bmp: 80 cells of 16x16. Cells 0..15 are still water of levels 1..16 (used where
// water is on its way down), cells 16..79 the surface of a resting pool in four phases of
// 16 levels. A level-n cell fills its bottom n pixels. The game draws them at alpha 0.7.
#include <cmath>

#include "builders.h"
#include "canvas.h"
#include "output.h"
#include "water.h"

namespace art {

namespace {
constexpr int kCell = 16;
const Colour kDeep = Rgb(22, 84, 196);
const Colour kBody = Rgb(36, 112, 220);
const Colour kLight = Rgb(86, 162, 240);
const Colour kFoam = Rgb(214, 240, 255);

// Body colour: a faint texture drifting with the phase, so pools shimmer rather than flicker.
Colour BodyAt(int x, int y, int phase) {
  // Short glints that drift two pixels a phase, on a body with a faint darker grain.
  if (Hash01(9100, (x + phase * 2) / 3, y) < 0.07f) return kLight;
  return Hash01(9101, x, y) < 0.12f ? kDeep : kBody;
}

void StillCell(Canvas& sheet, int level) {
  int ox = (level - 1) * kCell;
  for (int y = kCell - level; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      // Falling water: vertical streaks.
      Colour c = (x % 5 == 1) ? kLight : (x % 5 == 3 ? kDeep : kBody);
      if (y == kCell - level && level < kCell) c = kLight;
      sheet.Set(ox + x, y, c);
    }
}

void SurfaceCell(Canvas& sheet, int phase, int level) {
  int n = 16 + phase * 16 + level - 1;
  int ox = (n % 16) * kCell, oy = (n / 16) * kCell;
  int top = kCell - level;
  for (int x = 0; x < kCell; ++x) {
    // A full cell is usually under more water, so its top gets no surface line.
    int crest = 0;
    if (level < kCell)
      crest = int(std::lround(std::sin((float(x) + float(phase) * 4.0f) * 0.3927f)));
    for (int y = top; y < kCell; ++y) {
      int ry = y - top;
      Colour c = BodyAt(x, y, phase);
      if (level < kCell) {
        if (ry == 0 && crest < 0)
          c = kTransparent;  // the trough dips below the cell's level
        else if (ry == 0 || (ry == 1 && crest < 0))
          c = kFoam;
        else if (ry == 1 || (ry == 2 && crest < 0))
          c = kLight;
      }
      if (Opaque(c)) sheet.Set(ox + x, oy + y, c);
    }
    if (level < kCell && crest > 0 && top > 0) sheet.Set(ox + x, oy + top - 1, kFoam);
  }
}
}  // namespace

Canvas WaterSheet() {
  // Five rows of sixteen cells: the still levels, then one row per surface phase.
  Canvas sheet(16 * kCell, 5 * kCell);
  for (int level = 1; level <= 16; ++level)
    StillCell(sheet, level);
  for (int phase = 0; phase < 4; ++phase)
    for (int level = 1; level <= 16; ++level)
      SurfaceCell(sheet, phase, level);
  return sheet;
}

bool BuildWater(const std::string& outDir) {
  return WriteCanvas(outDir + "/tall_water.bmp", WaterSheet());
}

}  // namespace art
