#include "sound_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sound_analysis {

namespace {
constexpr double kFullScale = 32768.0;
}

double Peak(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (const int16_t s : samples)
    peak = std::max(peak, std::abs(int{s}));
  return peak / kFullScale;
}

double WorstSecondOffset(const std::vector<int16_t>& samples, int rate) {
  double worst = 0;
  const size_t second = static_cast<size_t>(rate) * 2;
  for (size_t start = 0; start < samples.size(); start += second) {
    const size_t end = std::min(samples.size(), start + second);
    for (size_t channel = 0; channel < 2; ++channel) {
      double sum = 0;
      size_t count = 0;
      for (size_t i = start + channel; i < end; i += 2, ++count)
        sum += samples[i];
      if (count > 0) worst = std::max(worst, std::fabs(sum / count) / kFullScale);
    }
  }
  return worst;
}

int LongestRunAtPeak(const std::vector<int16_t>& samples) {
  int longest = 0;
  for (size_t channel = 0; channel < 2; ++channel) {
    int16_t high = 0, low = 0;
    for (size_t i = channel; i < samples.size(); i += 2) {
      high = std::max(high, samples[i]);
      low = std::min(low, samples[i]);
    }
    int run = 0;
    for (size_t i = channel; i < samples.size(); i += 2) {
      const bool at_peak = samples[i] != 0 && (samples[i] == high || samples[i] == low);
      run = at_peak && i >= 2 && samples[i] == samples[i - 2] ? run + 1 : (at_peak ? 1 : 0);
      longest = std::max(longest, run);
    }
  }
  return longest;
}

double RmsDb(const std::vector<int16_t>& samples, int first, int count) {
  double sum = 0;
  const size_t begin = static_cast<size_t>(first) * 2;
  const size_t end = std::min(samples.size(), begin + static_cast<size_t>(count) * 2);
  if (begin >= end) return -200;
  for (size_t i = begin; i < end; ++i)
    sum += static_cast<double>(samples[i]) * samples[i];
  const double rms = std::sqrt(sum / static_cast<double>(end - begin)) / kFullScale;
  return rms > 0 ? 20 * std::log10(rms) : -200;
}

}  // namespace sound_analysis
