// Replacing a set of files so that, after any failure and after a kill at any moment followed by
// the next start-up's check, either every file is new or every file is old.
//
// A save writes each new file under a fresh name beside its target and syncs it, keeps a second
// link to each old file, then writes a journal naming all of them. The journal, once complete,
// is the point of no return: the renames follow, and a start-up that finds a complete journal
// finishes them (or, should a new file be damaged, puts the old ones back); one that finds an
// incomplete journal removes the new files, the old ones never having been touched.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The file-system calls a save makes, POSIX-shaped (-1 and errno on failure). Tests replace
// them to make a save fail, or stop dead, at any one of them.
struct SaveFileOps {
  // A new file only: never through a link and never over anything already at the name
  // (O_CREAT | O_EXCL | O_NOFOLLOW), with exactly the given permission bits.
  std::function<int(const std::string& path, mode_t mode)> CreateNew;
  std::function<ssize_t(int fd, const uint8_t* data, size_t size)> Write;
  std::function<int(int fd)> Fsync;
  std::function<int(int fd)> Close;
  std::function<int(const std::string& from, const std::string& to)> Rename;
  std::function<int(const std::string& existing, const std::string& link)> Link;
  std::function<int(const std::string& path)> Unlink;
  std::function<int(const std::string& folder)> SyncFolder;
};

SaveFileOps PosixSaveFileOps();
const SaveFileOps& CurrentSaveFileOps();
// Installs replacements; a member left empty falls back to POSIX.
void SetSaveFileOps(const SaveFileOps& ops);
void ResetSaveFileOps();

struct SaveFile {
  std::string Path;
  std::vector<uint8_t> Bytes;
};

// Replaces every file with its bytes, all or nothing; false when nothing was replaced. A file
// that is a symlink is written through to its target; a read-only file, or anything but a
// regular file at a file's name, makes the save fail. New files keep the old ones' permission
// bits.
bool ReplaceFilesTogether(const std::vector<SaveFile>& files, const std::string& journal);

// Writes a new file with the given bytes, synced, under `path`; fails if anything is there.
bool WriteNewFile(const SaveFileOps& ops, const std::string& path,
                  const std::vector<uint8_t>& bytes, mode_t mode);

// The errno of the last write, sync, link or creation a save or a stamped copy saw fail (0 after
// ClearSaveErrno): what the player is told a refused save ran into.
int LastSaveErrno();
void ClearSaveErrno();
// Records the errno of a call that failed, for LastSaveErrno (the safe writer's pieces call it).
void NoteSaveFailure(int error);
