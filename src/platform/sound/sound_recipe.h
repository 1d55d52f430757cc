// A sound effect described as text: one oscillator whose pitch slides from a start to an end
// frequency, shaped by an attack/decay/sustain/release envelope and a low-pass filter. The
// recipes live beside the art as small text files, so a sound is changed by editing a line,
// never by replacing a recording.
//
//   # a short rising chirp
//   wave square          square, triangle, saw or noise
//   duty 0.25            square only: the share of each period spent high
//   pitch 330 660        start and end frequency in Hz (noise: how often a new value is drawn)
//   length 0.14          seconds from the start to the end of the release
//   attack 0.004         seconds to full level
//   decay 0.05           seconds from full level down to the sustain level
//   sustain 0.5          0..1
//   release 0.06         seconds of fading out at the end
//   lowpass 5000         cut-off in Hz (optional)
//   volume 0.5           0..1
//   vary_pitch 0.06      each play picks a pitch up to this share higher or lower
//   vary_length 0.1      and a length up to this share longer or shorter
//   vary_level 0.15      and a level up to this share louder or softer (optional)
//   voices 4             how many voices it may hold at once, 1..16 (optional)
#pragma once

#include <string>
#include <string_view>

enum class Waveform { kSquare, kTriangle, kSaw, kNoise };

struct SoundRecipe {
  Waveform Wave = Waveform::kSquare;
  double Duty = 0.5;
  double StartHz = 0, EndHz = 0;
  double Length = 0;
  double Attack = 0.002, Decay = 0, Sustain = 1, Release = 0.01;
  double LowpassHz = 0;  // 0: no filter
  double Volume = 0.5;
  double VaryPitch = 0, VaryLength = 0, VaryLevel = 0;
  double Voices = 4;
};

// The rate every sound is rendered and mixed at, and the highest frequency a recipe may name.
constexpr int kSoundRate = 48000;
constexpr double kNyquistHz = kSoundRate / 2.0;
// Longer recipes are refused as absurd: an effect is a blip, not a tune.
constexpr double kLongestSound = 2.0;

// Reads a recipe. False with a one-line reason (naming the line) for anything missing,
// unknown, not a finite number or out of range; the recipe is then left unusable.
bool ParseSoundRecipe(std::string_view text, SoundRecipe& recipe, std::string& why);
