// Small drawing steps the block and background tiles share.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "canvas.h"

namespace art {

// Tones of one material from dark to light.
class Ramp {
 public:
  Ramp() : Tones{Rgb(0, 0, 0)} {}
  Ramp(std::initializer_list<Colour> tones) : Tones(tones) {}
  // At least one tone; an empty list gives a single black one.
  explicit Ramp(std::vector<Colour> tones)
      : Tones(tones.empty() ? std::vector<Colour>{Rgb(0, 0, 0)} : std::move(tones)) {}
  // t in [0, 1] picks a tone; values outside are clamped.
  Colour At(float t) const;
  Colour Tone(int i) const;
  int Size() const { return int(Tones.size()); }
  Colour Lightest() const { return Tone(Size() - 1); }

 private:
  std::vector<Colour> Tones;
};

// Noise that wraps every 16 pixels, so neighbouring tiles of one seed meet without a seam.
float TileNoise(uint64_t seed, int x, int y, float scale);

// Fills the tile with ramp tones from layered noise plus a little speckle.
void NoiseFill(Canvas& t, const Ramp& ramp, uint64_t seed, float scale, float speckle,
               float bias = 0);
// Lightens the top and left edges and darkens the bottom and right ones.
void Bevel(Canvas& t, int light, int dark, int width = 1);
// A wandering crack from (x, y), `steps` pixels long.
void Crack(Canvas& t, Rng& rng, int x, int y, int steps, Colour dark, Colour lit);
// The sky the sky chunks show, painted behind the things that stand in the open (the file
// writer keeps it one step off the mask colour, so it stays opaque), and the dark the dark
// chunks show, which that sky becomes in their shaded copies.
constexpr Colour kSkyColour = Rgb(122, 201, 255);
constexpr Colour kNightColour = Rgb(4, 25, 39);
// Multiplies every opaque pixel and blends it toward a night blue by `cast`: the shaded
// background variants, and the dark chunks' copy of the sky band. The sky colour becomes the
// night colour instead.
Canvas ShadedCopy(const Canvas& t, float factor, float cast = 0.18f);

}  // namespace art
