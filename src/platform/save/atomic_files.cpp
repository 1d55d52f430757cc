// Replacing a set of files all together or not at all: each new file written under a fresh
// name and synced, the old ones kept under a second name, the journal, then the renames.
#include "platform/save/atomic_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/save/safe_write.h"
#include "platform/save/save_journal.h"
#include "platform/save/side_names.h"

namespace {

constexpr int kNameAttempts = 32;

int SaveErrno = 0;

SaveFileOps& InstalledOps() {
  static SaveFileOps ops = PosixSaveFileOps();
  return ops;
}

// Writes, syncs and closes a file just made; a file that did not make it whole is removed.
bool FinishNewFile(const SaveFileOps& ops, int fd, const std::string& path,
                   const std::vector<uint8_t>& bytes) {
  bool ok = WriteAll(ops, fd, bytes.data(), bytes.size());
  if (ok && ops.Fsync(fd) != 0) {
    NoteSaveFailure(errno);
    ok = false;
  }
  if (ops.Close(fd) != 0) {
    if (ok) NoteSaveFailure(errno);
    ok = false;
  }
  if (!ok) ops.Unlink(path);
  return ok;
}

bool WriteUnderFreshName(const SaveFileOps& ops, const std::string& path, const char* tag,
                         const std::vector<uint8_t>& bytes, mode_t mode, std::string& name) {
  const int fd = CreateBeside(ops, path, tag, mode, name);
  if (fd >= 0 && FinishNewFile(ops, fd, name, bytes)) return true;
  name.clear();
  return false;
}

struct Target : JournalEntry {
  bool Existed = false;
  mode_t Mode = 0666;
};

// Only a writable regular file (or nothing at all) may be replaced.
bool Examine(const SaveFile& file, Target& target) {
  if (!ResolveTarget(file.Path, target.Path)) return false;
  target.Hash = ContentHash(file.Bytes);
  target.Size = file.Bytes.size();
  struct stat info {};
  if (lstat(target.Path.c_str(), &info) != 0) {
    target.Mode = NewFileMode();
    return errno == ENOENT;
  }
  if (!S_ISREG(info.st_mode)) return false;
  if (ReadOnlyFile(target.Path, info.st_mode)) return false;
  target.Existed = true;
  target.Mode = info.st_mode & 07777;
  return true;
}

// Keeps the old file under a second name (a hard link; a copy where links are refused).
bool KeepOld(const SaveFileOps& ops, Target& target) {
  if (!target.Existed) return true;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = NameBeside(target.Path, kSaveOldTag, attempt);
    if (ops.Link(target.Path, name) == 0) {
      target.Old = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(target.Path, bytes)) return false;
  return WriteUnderFreshName(ops, target.Path, kSaveOldTag, bytes, target.Mode, target.Old);
}

void SyncFoldersOf(const SaveFileOps& ops, const std::vector<Target>& targets) {
  for (const Target& t : targets)
    ops.SyncFolder(FolderOf(t.Path));
}

void RemoveNames(const SaveFileOps& ops, const std::vector<Target>& targets, size_t from,
                 bool newOnes, bool oldOnes) {
  for (size_t i = from; i < targets.size(); ++i) {
    if (newOnes && !targets[i].New.empty()) ops.Unlink(targets[i].New);
    if (oldOnes && !targets[i].Old.empty()) ops.Unlink(targets[i].Old);
  }
}

// Puts the first `renamed` files back as they were; true when every one is back.
bool UndoRenames(const SaveFileOps& ops, const std::vector<Target>& targets, size_t renamed) {
  bool all = true;
  for (size_t i = 0; i < renamed; ++i) {
    const Target& t = targets[i];
    const int rc = t.Old.empty() ? ops.Unlink(t.Path) : ops.Rename(t.Old, t.Path);
    if (rc != 0) all = false;
  }
  return all;
}

}  // namespace

SaveFileOps PosixSaveFileOps() {
  SaveFileOps ops;
  ops.CreateNew = [](const std::string& path, mode_t mode) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) fchmod(fd, mode);  // the umask must not strip the replaced file's bits
    return fd;
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
  ops.SyncFolder = [](const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int rc = fsync(fd);
    close(fd);
    return rc;
  };
  return ops;
}

const SaveFileOps& CurrentSaveFileOps() {
  return InstalledOps();
}

void SetSaveFileOps(const SaveFileOps& ops) {
  const SaveFileOps posix = PosixSaveFileOps();
  SaveFileOps& installed = InstalledOps();
  installed.CreateNew = ops.CreateNew ? ops.CreateNew : posix.CreateNew;
  installed.Write = ops.Write ? ops.Write : posix.Write;
  installed.Fsync = ops.Fsync ? ops.Fsync : posix.Fsync;
  installed.Close = ops.Close ? ops.Close : posix.Close;
  installed.Rename = ops.Rename ? ops.Rename : posix.Rename;
  installed.Link = ops.Link ? ops.Link : posix.Link;
  installed.Unlink = ops.Unlink ? ops.Unlink : posix.Unlink;
  installed.SyncFolder = ops.SyncFolder ? ops.SyncFolder : posix.SyncFolder;
}

void ResetSaveFileOps() {
  InstalledOps() = PosixSaveFileOps();
}

int LastSaveErrno() {
  return SaveErrno;
}

void NoteSaveFailure(int error) {
  SaveErrno = error;
}

void ClearSaveErrno() {
  SaveErrno = 0;
}

bool WriteNewFile(const SaveFileOps& ops, const std::string& path,
                  const std::vector<uint8_t>& bytes, mode_t mode) {
  const int fd = ops.CreateNew(path, mode);
  if (fd < 0 && errno != EEXIST) NoteSaveFailure(errno);
  return fd >= 0 && FinishNewFile(ops, fd, path, bytes);
}

bool ReplaceFilesTogether(const std::vector<SaveFile>& files, const std::string& journal) {
  const SaveFileOps& ops = CurrentSaveFileOps();
  std::vector<Target> targets(files.size());
  for (size_t i = 0; i < files.size(); ++i)
    if (!Examine(files[i], targets[i])) return false;
  // 1. Every new file complete on disk and every old one kept under a second name; the files
  //    themselves untouched.
  for (size_t i = 0; i < files.size(); ++i) {
    if (!WriteUnderFreshName(ops, targets[i].Path, kSaveNewTag, files[i].Bytes, targets[i].Mode,
                             targets[i].New) ||
        !KeepOld(ops, targets[i])) {
      RemoveNames(ops, targets, 0, true, true);
      return false;
    }
  }
  SyncFoldersOf(ops, targets);
  // 2. The journal: complete, it commits the save.
  if (!WriteNewFile(ops, journal, JournalText({targets.begin(), targets.end()}), 0644)) {
    RemoveNames(ops, targets, 0, true, true);
    return false;
  }
  ops.SyncFolder(FolderOf(journal));
  // 3. The renames, undone in full if one of them fails.
  for (size_t i = 0; i < targets.size(); ++i) {
    if (ops.Rename(targets[i].New, targets[i].Path) == 0) continue;
    // Should a file not go back, the journal stays and the next start-up settles the pair.
    if (!UndoRenames(ops, targets, i)) return false;
    RemoveNames(ops, targets, i, true, true);
    ops.Unlink(journal);
    return false;
  }
  SyncFoldersOf(ops, targets);
  // 4. Done: the old files' second names go, then the journal.
  RemoveNames(ops, targets, 0, false, true);
  ops.Unlink(journal);
  ops.SyncFolder(FolderOf(journal));
  return true;
}
