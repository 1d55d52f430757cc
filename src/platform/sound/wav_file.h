// 16-bit PCM WAV files of a stereo mix.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole file's bytes: a RIFF header for 16-bit stereo at `rate`, then the samples (left,
// right interleaved) little-endian.
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int rate);

// False when the file cannot be written whole.
bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, int rate);
