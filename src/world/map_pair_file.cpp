// The level as one file: the background file's bytes, then the block file's.
#include "world/map_pair_file.h"

#include <cstdio>

#include "platform/console.h"
#include "platform/files.h"

bool WriteMapPairFile(const std::string& path) {
  std::vector<uint8_t> bytes = BGBytes();
  const std::vector<uint8_t> blocks = BlockBytes();
  bytes.insert(bytes.end(), blocks.begin(), blocks.end());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool ReadMapPairFile(const std::string& path, std::vector<uint8_t>& bg,
                     std::vector<uint8_t>& blocks) {
  const int64_t length = FileLength(path);
  if (length < 0) {
    PrintLine("Failure to load file.");
    return false;
  }
  // The size is checked first: a huge or foreign file is refused without being read.
  if (length != static_cast<int64_t>(kMapPairFileBytes)) {
    PrintLine("Wrong size!");
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMapPairFileBytes)) {
    PrintLine("Failure to load file.");
    return false;
  }
  if (bytes.size() != kMapPairFileBytes) {  // the file changed under us
    PrintLine("Wrong size!");
    return false;
  }
  bg.assign(bytes.begin(), bytes.begin() + kMapFileBytes);
  blocks.assign(bytes.begin() + kMapFileBytes, bytes.end());
  return true;
}
