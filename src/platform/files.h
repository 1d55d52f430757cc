// Files of the working directory, read and written byte by byte.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Every backslash in a game path becomes a forward slash.
std::string NormalisePath(const std::string& path);

class TStream {
 public:
  explicit TStream(std::FILE* file) : File(file) {}
  ~TStream();
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Not called by the game (these two): kept as part of TStream's interface.
  int ReadByte();  // 0..255; 0 past the end of the file
  void WriteByte(int value);
  // Flushes and closes; false when anything written could not be stored.
  bool Close();
  bool Failed() const { return Error; }

 private:
  std::FILE* File;
  bool Error = false;
};

std::unique_ptr<TStream> OpenFileForRead(const std::string& path);
// Not called by the game: kept beside OpenFileForRead (the map's save writes whole files).
std::unique_ptr<TStream> OpenFileForWrite(const std::string& path);
int64_t FileLength(const std::string& path);  // -1 when there is no such file

// The largest file read whole unless a caller asks for less: far above anything the game
// writes, low enough that a device or a runaway file cannot eat the memory.
constexpr size_t kMaxFileBytes = 64u << 20;

// Reads a whole regular file, refusing files above max_bytes; false on any failure.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out,
                   size_t max_bytes = kMaxFileBytes);
