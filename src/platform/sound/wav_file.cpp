#include "platform/sound/wav_file.h"

#include "platform/little_endian.h"
#include "platform/save/safe_write.h"

namespace {

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int rate) {
  constexpr uint32_t kChannels = 2, kBytesPerSample = 2;
  const auto data_bytes = static_cast<uint32_t>(samples.size() * kBytesPerSample);
  std::vector<uint8_t> out;
  out.reserve(44 + data_bytes);
  PutTag(out, "RIFF");
  PutU32(out, 36 + data_bytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);  // the PCM format block's size
  PutU16(out, 1);   // PCM
  PutU16(out, kChannels);
  PutU32(out, static_cast<uint32_t>(rate));
  PutU32(out, static_cast<uint32_t>(rate) * kChannels * kBytesPerSample);
  PutU16(out, kChannels * kBytesPerSample);
  PutU16(out, 16);
  PutTag(out, "data");
  PutU32(out, data_bytes);
  for (const int16_t sample : samples)
    PutU16(out, static_cast<uint16_t>(sample));
  return out;
}

// Written safely: never through a link, never over a FIFO or a device, whole or not at all.
bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  std::string why;
  return WriteFileSafely(path, WavBytes(samples, rate), why);
}
