// Saving a set of files so that either all of them are replaced or none is: each is written to
// a temporary file beside it and synced, and only when every one is complete are they renamed
// over the old ones. A failure (or a kill while writing) leaves the old files as they were.
#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The file operations a save uses, POSIX-shaped (-1 and errno on failure). Tests replace them
// to make a save fail at any one step.
struct SaveFileOps {
  std::function<int(const std::string& path)> OpenForWrite;  // create or truncate
  std::function<ssize_t(int fd, const uint8_t* data, size_t size)> Write;
  std::function<int(int fd)> Fsync;
  std::function<int(int fd)> Close;
  std::function<int(const std::string& from, const std::string& to)> Rename;
  std::function<int(const std::string& existing, const std::string& link)> Link;
  std::function<int(const std::string& path)> Unlink;
};

// Plain POSIX open/write/fsync/close/rename/link/unlink.
SaveFileOps PosixSaveFileOps();

// The operations in use, and a way to swap them (a default-constructed member falls back to POSIX).
const SaveFileOps& CurrentSaveFileOps();
void SetSaveFileOps(const SaveFileOps& ops);
void ResetSaveFileOps();

struct SaveFile {
  std::string Path;
  std::vector<uint8_t> Bytes;
};

// Replaces every file with its bytes, all or nothing; false when nothing was replaced.
bool SaveFilesTogether(const std::vector<SaveFile>& files);

// The temporary and backup names used beside a file.
std::string SaveTempPath(const std::string& path);
std::string SaveBackupPath(const std::string& path);
