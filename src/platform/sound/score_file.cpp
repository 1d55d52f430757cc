#include "platform/sound/score_file.h"

#include <cstdint>
#include <vector>

#include "platform/files.h"

std::optional<MusicScore> ReadScoreFile(const std::string& path, std::string& why) {
  if (FileLength(path) < 0) {
    why = "not found";
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxScoreBytes)) {
    why = "unreadable, or larger than " + std::to_string(kMaxScoreBytes) + " bytes";
    return std::nullopt;
  }
  if (bytes.empty()) {
    why = "empty";
    return std::nullopt;
  }
  const std::string text(bytes.begin(), bytes.end());
  MusicScore score;
  if (!ParseMusicScore(text, score, why)) return std::nullopt;
  return score;
}
