// Why a save of the map files failed, told in the terms a player can act on: a map file made
// read-only, a folder the game may not write in, a full disk, or a backups/ it cannot use.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/save/safe_write.h"
#include "world/map_files.h"

namespace {

bool DiskFull(int error) {
  return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

bool WritingRefused(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

// The same test the save makes before it touches anything (followed through a link, as the
// save is).
bool MapFileReadOnly(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ReadOnlyFile(path, info.st_mode);
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
    if (MapFileReadOnly(file)) return SaveFailure::kReadOnlyFile;
  if (WritingRefused(error)) return SaveFailure::kFolderNotWritable;
  return SaveFailure::kUnknown;
}
