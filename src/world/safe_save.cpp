#include "world/safe_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace {

SaveFileOps& InstalledOps() {
  static SaveFileOps ops = PosixSaveFileOps();
  return ops;
}

// Writes everything, resuming after short writes and interruptions.
bool WriteAll(const SaveFileOps& ops, int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ops.Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A complete, synced copy of the bytes at path, or false (and nothing left at path).
bool WriteSynced(const SaveFileOps& ops, const std::string& path,
                 const std::vector<uint8_t>& bytes) {
  const int fd = ops.OpenForWrite(path);
  if (fd < 0) return false;
  bool ok = WriteAll(ops, fd, bytes) && ops.Fsync(fd) == 0;
  if (ops.Close(fd) != 0) ok = false;
  if (!ok) ops.Unlink(path);
  return ok;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes the renames themselves durable; the files are already complete either way.
void SyncFolder(const std::string& path) {
  const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// What a replaced file is rolled back to if a later rename fails.
struct Backup {
  bool OldFileExisted = false;
  bool Made = false;
};

// Keeps the old file under the backup name (a second link; a copy where links are refused).
bool MakeBackup(const SaveFileOps& ops, const std::string& path, Backup& backup) {
  const std::string backup_path = SaveBackupPath(path);
  ops.Unlink(backup_path);
  if (ops.Link(path, backup_path) == 0) {
    backup.OldFileExisted = backup.Made = true;
    return true;
  }
  if (errno == ENOENT) return true;  // nothing to keep: rolling back removes the new file
  std::vector<uint8_t> old_bytes;
  if (!ReadWholeFile(path, old_bytes)) return false;
  if (!WriteSynced(ops, backup_path, old_bytes)) return false;
  backup.OldFileExisted = backup.Made = true;
  return true;
}

void RollBack(const SaveFileOps& ops, const std::string& path, const Backup& backup) {
  if (!backup.OldFileExisted) {
    ops.Unlink(path);
    return;
  }
  // Should even this fail, the old file survives under the backup name.
  ops.Rename(SaveBackupPath(path), path);
}

void RemoveBackups(const SaveFileOps& ops, const std::vector<SaveFile>& files,
                   const std::vector<Backup>& backups) {
  for (size_t i = 0; i < backups.size(); ++i)
    if (backups[i].Made) ops.Unlink(SaveBackupPath(files[i].Path));
}

void RemoveTemps(const SaveFileOps& ops, const std::vector<SaveFile>& files, size_t from,
                 size_t to) {
  for (size_t i = from; i < to; ++i)
    ops.Unlink(SaveTempPath(files[i].Path));
}

}  // namespace

SaveFileOps PosixSaveFileOps() {
  SaveFileOps ops;
  ops.OpenForWrite = [](const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  };
  ops.Write = [](int fd, const uint8_t* data, size_t size) { return write(fd, data, size); };
  ops.Fsync = [](int fd) { return fsync(fd); };
  ops.Close = [](int fd) { return close(fd); };
  ops.Rename = [](const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str());
  };
  ops.Link = [](const std::string& existing, const std::string& link_path) {
    return link(existing.c_str(), link_path.c_str());
  };
  ops.Unlink = [](const std::string& path) { return unlink(path.c_str()); };
  return ops;
}

const SaveFileOps& CurrentSaveFileOps() {
  return InstalledOps();
}

void SetSaveFileOps(const SaveFileOps& ops) {
  const SaveFileOps posix = PosixSaveFileOps();
  SaveFileOps& installed = InstalledOps();
  installed.OpenForWrite = ops.OpenForWrite ? ops.OpenForWrite : posix.OpenForWrite;
  installed.Write = ops.Write ? ops.Write : posix.Write;
  installed.Fsync = ops.Fsync ? ops.Fsync : posix.Fsync;
  installed.Close = ops.Close ? ops.Close : posix.Close;
  installed.Rename = ops.Rename ? ops.Rename : posix.Rename;
  installed.Link = ops.Link ? ops.Link : posix.Link;
  installed.Unlink = ops.Unlink ? ops.Unlink : posix.Unlink;
}

void ResetSaveFileOps() {
  InstalledOps() = PosixSaveFileOps();
}

std::string SaveTempPath(const std::string& path) {
  return path + ".saving";
}
std::string SaveBackupPath(const std::string& path) {
  return path + ".previous";
}

bool SaveFilesTogether(const std::vector<SaveFile>& files) {
  const SaveFileOps& ops = CurrentSaveFileOps();
  // 1. Every new file complete and on disk under its temporary name; the old files untouched.
  for (size_t i = 0; i < files.size(); ++i) {
    if (!WriteSynced(ops, SaveTempPath(files[i].Path), files[i].Bytes)) {
      RemoveTemps(ops, files, 0, i);
      return false;
    }
  }
  // 2. The last rename commits the set; every earlier file keeps its old self to roll back to.
  std::vector<Backup> backups(files.size());
  for (size_t i = 0; i + 1 < files.size(); ++i) {
    if (!MakeBackup(ops, files[i].Path, backups[i])) {
      RemoveBackups(ops, files, backups);
      RemoveTemps(ops, files, 0, files.size());
      return false;
    }
  }
  // 3. The renames, undone in full if one of them fails.
  for (size_t i = 0; i < files.size(); ++i) {
    if (ops.Rename(SaveTempPath(files[i].Path), files[i].Path) == 0) continue;
    for (size_t j = 0; j < i; ++j)
      RollBack(ops, files[j].Path, backups[j]);
    for (size_t j = i; j < files.size(); ++j)
      if (backups[j].Made) ops.Unlink(SaveBackupPath(files[j].Path));
    RemoveTemps(ops, files, i, files.size());
    return false;
  }
  RemoveBackups(ops, files, backups);
  for (const SaveFile& file : files)
    SyncFolder(file.Path);
  return true;
}
