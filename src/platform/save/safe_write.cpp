// One way to write a file: a side file made fresh and exclusively, written and checked, synced,
// then renamed over the target. The pieces (fresh names, complete writes) are shared with the
// map pair's save.
#include "platform/save/safe_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/save/side_names.h"

namespace {

constexpr int kNameAttempts = 32;
constexpr size_t kPendingLimit = 1 << 16;

std::string ErrorText(const char* step, int error) {
  return std::string(step) + " failed (" + std::strerror(error) + ")";
}

// The bits the file replaced had, so a rewrite keeps what its owner chose.
mode_t ModeFor(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return NewFileMode();
}

}  // namespace

int CreateBeside(const SaveFileOps& ops, const std::string& path, const char* tag, mode_t mode,
                 std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = NameBeside(path, tag, attempt);
    const int fd = ops.CreateNew(name, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  if (errno != EEXIST) NoteSaveFailure(errno);
  name.clear();
  return -1;
}

bool WriteAll(const SaveFileOps& ops, int fd, const uint8_t* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ops.Write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;  // a write that stores nothing would loop for ever
    if (n <= 0) {
      NoteSaveFailure(errno);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string WhyNotWritable(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT ? "" : ErrorText("looking", errno);
  if (S_ISLNK(info.st_mode)) return "a link is at that name";
  if (S_ISDIR(info.st_mode)) return "a folder is at that name";
  if (!S_ISREG(info.st_mode)) return "something other than a file is at that name";
  if (access(path.c_str(), W_OK) != 0) return "the file there is read-only";
  return "";
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Unfinished: an unpublished side file goes; a published file keeps what was flushed.
SafeFileWriter::~SafeFileWriter() {
  Discard();
}

bool SafeFileWriter::Open(const std::string& path) {
  Target = path;
  Reason = WhyNotWritable(path);
  if (!Reason.empty()) return false;
  Fd = CreateBeside(CurrentSaveFileOps(), path, kSafeWriteTag, ModeFor(path), Side);
  return Fd >= 0 || Fail(ErrorText("creating it", errno));
}

void SafeFileWriter::Append(const std::string& text) {
  Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void SafeFileWriter::Append(const uint8_t* data, size_t size) {
  if (Fd < 0) return;
  Pending.insert(Pending.end(), data, data + size);
  if (Pending.size() >= kPendingLimit) Flush();
}

bool SafeFileWriter::Flush() {
  if (Fd < 0) return false;
  if (!WriteAll(CurrentSaveFileOps(), Fd, Pending.data(), Pending.size()))
    return Fail(ErrorText("writing", errno));
  Pending.clear();
  return true;
}

bool SafeFileWriter::Publish() {
  if (!Flush()) return false;
  if (CurrentSaveFileOps().Fsync(Fd) != 0) return Fail(ErrorText("syncing", errno));
  return RenameIntoPlace();
}

bool SafeFileWriter::Commit() {
  if (!Flush()) return false;
  const SaveFileOps& ops = CurrentSaveFileOps();
  if (ops.Fsync(Fd) != 0) return Fail(ErrorText("syncing", errno));
  const int fd = Fd;
  Fd = -1;
  if (ops.Close(fd) != 0) return Fail(ErrorText("closing", errno));
  return RenameIntoPlace();
}

// The target is looked at again just before the rename: whatever appeared there meanwhile is
// left alone.
bool SafeFileWriter::RenameIntoPlace() {
  if (Published) return true;
  if (std::string why = WhyNotWritable(Target); !why.empty()) return Fail(why);
  const SaveFileOps& ops = CurrentSaveFileOps();
  if (ops.Rename(Side, Target) != 0) return Fail(ErrorText("renaming it into place", errno));
  Published = true;
  Side.clear();
  ops.SyncFolder(FolderOf(Target));
  return true;
}

bool SafeFileWriter::Fail(const std::string& why) {
  Reason = why;
  Discard();
  return false;
}

void SafeFileWriter::Discard() {
  const SaveFileOps& ops = CurrentSaveFileOps();
  if (Fd >= 0) ops.Close(Fd);
  Fd = -1;
  if (!Side.empty()) ops.Unlink(Side);
  Side.clear();
  Pending.clear();
}

bool WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes, std::string& why) {
  SafeFileWriter writer;
  if (writer.Open(path)) {
    writer.Append(bytes.data(), bytes.size());
    if (writer.Commit()) return true;
  }
  why = writer.Why();
  return false;
}
