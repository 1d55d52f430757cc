// Why a save of the map files failed, told in the terms a player can act on: a map file made
// read-only, a folder the game may not write in, a full disk, or a backups/ it cannot use.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "world/map_files.h"

namespace {

bool DiskFull(int error) {
  return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

bool WritingRefused(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

// The same test the save makes before it touches anything: no write bit at all, or no leave to
// write (followed through a link, as the save is). A file system mounted read-only is the
// folder's doing, not the file's.
bool ReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if ((info.st_mode & 0222) == 0) return true;
  return access(path.c_str(), W_OK) != 0 && errno != EROFS;
}

// The game writes its new files, backups/ and recovery/ in the folder it runs in.
bool FolderWritable() {
  return access(".", W_OK) == 0;
}

}  // namespace

SaveFailure WhySaveFailed(bool at_backups, int error, const std::vector<std::string>& files) {
  if (DiskFull(error)) return SaveFailure::kDiskFull;
  if (!FolderWritable()) return SaveFailure::kFolderNotWritable;
  if (at_backups) return SaveFailure::kBackupsUnusable;
  for (const std::string& file : files)
    if (ReadOnlyFile(file)) return SaveFailure::kReadOnlyFile;
  if (WritingRefused(error)) return SaveFailure::kFolderNotWritable;
  return SaveFailure::kUnknown;
}
