// The collision probes: a few points of an actor's body, each asked in turn whether its cell
// holds a block. The first blocked point answers 0.
#include <initializer_list>

#include "world/map.h"

namespace {

constexpr int64_t kSide = 196608;          // 3 pixels either side of the centre line
constexpr int64_t kMidHeight = 524288;     // 8 pixels
constexpr int64_t kDuckedHeight = 851968;  // 13 pixels
constexpr int64_t kHeight = 1048576;       // 16 pixels

struct Offset {
  int64_t dx, dy;
};

int PointsFree(int64_t x, int64_t y, std::initializer_list<Offset> points) {
  for (const Offset& p : points)
    if (!TMap::FUnitsFree(x + p.dx, y + p.dy)) return 0;
  return 1;
}

}  // namespace

int TMap::FSpotsUpFreeDucked(int64_t x, int64_t y) {
  return PointsFree(x, y, {{-kSide, -kDuckedHeight}, {kSide, -kDuckedHeight}});
}

int TMap::FSpotsUpFree(int64_t x, int64_t y) {
  return PointsFree(x, y, {{-kSide, -kHeight}, {kSide, -kHeight}});
}

int TMap::FSpotsDownFree(int64_t x, int64_t y) {
  return PointsFree(x, y, {{-kSide, 0}, {kSide, 0}});
}

int TMap::FSpotsLeftFree(int64_t x, int64_t y) {
  return PointsFree(x, y, {{-kSide, 0}, {-kSide, -kMidHeight}, {-kSide, -kHeight}});
}

int TMap::FSpotsRightFree(int64_t x, int64_t y) {
  return PointsFree(x, y, {{kSide, 0}, {kSide, -kMidHeight}, {kSide, -kHeight}});
}

int TMap::FSpotsLeftDuckedFree(int64_t x, int64_t y) {
  return PointsFree(x, y, {{-kSide, 0}, {-kSide, -kDuckedHeight}});
}

int TMap::FSpotsRightDuckedFree(int64_t x, int64_t y) {
  return PointsFree(x, y, {{kSide, 0}, {kSide, -kDuckedHeight}});
}

int TMap::FSpotsFree(int64_t x, int64_t y) {
  return PointsFree(x, y,
                    {{-kSide, 0},
                     {-kSide, -kMidHeight},
                     {-kSide, -kHeight},
                     {kSide, 0},
                     {kSide, -kMidHeight},
                     {kSide, -kHeight}});
}
