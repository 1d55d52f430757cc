// Files of the working directory: byte streams, lengths and whole-file reads with a size limit.
#include "platform/files.h"

#include <sys/stat.h>
#include <algorithm>

std::string NormalisePath(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

TStream::~TStream() {
  Close();
}

int TStream::ReadByte() {
  if (!File) return 0;
  const int c = std::fgetc(File);
  return c == EOF ? 0 : c;
}

void TStream::WriteByte(int value) {
  if (!File) return;
  if (std::fputc(value & 0xFF, File) == EOF) Error = true;
}

bool TStream::Close() {
  if (!File) return !Error;
  if (std::fflush(File) != 0) Error = true;
  if (std::ferror(File)) Error = true;
  if (std::fclose(File) != 0) Error = true;
  File = nullptr;
  return !Error;
}

std::unique_ptr<TStream> OpenFileForRead(const std::string& path) {
  std::FILE* file = std::fopen(NormalisePath(path).c_str(), "rb");
  if (!file) return nullptr;
  return std::make_unique<TStream>(file);
}

std::unique_ptr<TStream> OpenFileForWrite(const std::string& path) {
  std::FILE* file = std::fopen(NormalisePath(path).c_str(), "wb");
  if (!file) return nullptr;
  return std::make_unique<TStream>(file);
}

int64_t FileLength(const std::string& path) {
  struct stat info {};
  if (stat(NormalisePath(path).c_str(), &info) != 0) return -1;
  if (!S_ISREG(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t max_bytes) {
  out.clear();
  const int64_t length = FileLength(path);
  if (length < 0 || static_cast<uint64_t>(length) > max_bytes) return false;
  std::FILE* file = std::fopen(NormalisePath(path).c_str(), "rb");
  if (!file) return false;
  out.resize(static_cast<size_t>(length));
  const size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), file);
  const bool ok = got == out.size() && !std::ferror(file);
  std::fclose(file);
  if (!ok) out.clear();
  return ok;
}
