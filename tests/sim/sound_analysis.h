// A look at rendered sound, sample by sample, as one would with an audio editor: peaks, the
// offset of each second, runs of samples stuck at the peak and loudness over a stretch.
#pragma once

#include <cstdint>
#include <vector>

namespace sound_analysis {

// Interleaved stereo 16-bit samples, as the mixer and the WAV files hold them; a value of
// full scale is 1.
double Peak(const std::vector<int16_t>& samples);
// The largest of the mean values of each channel over each whole second (and the rest).
double WorstSecondOffset(const std::vector<int16_t>& samples, int rate);
// The longest run of equal neighbouring samples at a channel's own highest or lowest value: 1
// when the waveform only touches its extremes, more when it sits there flat (clipped).
int LongestRunAtPeak(const std::vector<int16_t>& samples);
// Root mean square of both channels over frames [first, first + count), in dB of full scale.
double RmsDb(const std::vector<int16_t>& samples, int first, int count);

}  // namespace sound_analysis
