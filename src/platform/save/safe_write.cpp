// One way to write a file: a side file made fresh and exclusively, written and checked, synced,
// then renamed over the target. The pieces (fresh names, complete writes) are shared with the
// map pair's save.
#include "platform/save/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
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

// The first `count` bytes of a regular file (never through a link, never blocking on a FIFO).
bool ReadFirstBytes(const std::string& path, std::vector<uint8_t>& bytes, size_t count) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bytes.resize(count);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = read(fd, bytes.data() + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
  bytes.resize(done);
  return done == count;
}

// A killed writer's side files of `path`: empty, or beginning with `signature`.
void RemoveKilledWriters(const std::string& path, const std::string& signature) {
  if (signature.empty()) return;
  for (const std::string& side : LeftoversBeside(path, kSafeWriteTag)) {
    std::vector<uint8_t> head;
    struct stat info {};
    const int64_t length = lstat(side.c_str(), &info) == 0 ? info.st_size : -1;
    if (length < 0) continue;
    const size_t wanted = std::min(signature.size(), static_cast<size_t>(length));
    if (wanted > 0 && !ReadFirstBytes(side, head, wanted)) continue;
    if (head.size() == wanted && std::equal(head.begin(), head.end(), signature.begin()))
      CurrentSaveFileOps().Unlink(side);
  }
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

bool WriteAll(const SaveFileOps& ops, int fd, const uint8_t* data, size_t size, size_t* written) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ops.Write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;  // a write that stores nothing would loop for ever
    if (n <= 0) {
      NoteSaveFailure(errno);
      if (written) *written = done;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (written) *written = done;
  return true;
}

std::string WhyNotWritable(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT ? "" : ErrorText("looking", errno);
  if (S_ISLNK(info.st_mode)) return "a link is at that name";
  if (S_ISDIR(info.st_mode)) return "a folder is at that name";
  if (!S_ISREG(info.st_mode)) return "something other than a file is at that name";
  if (ReadOnlyFile(path, info.st_mode)) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return std::string("the file there is read-only (mode ") + mode + ")";
  }
  return "";
}

bool ReadOnlyFile(const std::string& path, mode_t mode) {
  if ((mode & 0222) == 0) return true;
  return access(path.c_str(), W_OK) != 0 && errno != EROFS;
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

bool SafeFileWriter::Open(const std::string& path, const std::string& signature) {
  Target = path;
  Reason = WhyNotWritable(path);
  if (!Reason.empty()) return false;
  RemoveKilledWriters(path, signature);
  Fd = CreateBeside(CurrentSaveFileOps(), path, kSafeWriteTag, ModeFor(path), Side);
  return Fd >= 0 || Fail(ErrorText("creating it", errno));
}

void SafeFileWriter::Append(const std::string& text) {
  Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void SafeFileWriter::Append(const uint8_t* data, size_t size) {
  if (Fd < 0) return;
  Pending.insert(Pending.end(), data, data + size);
  PendingEnds.push_back(Pending.size());
  if (Pending.size() >= kPendingLimit) Flush();
}

bool SafeFileWriter::Flush() {
  if (Fd < 0) return false;
  size_t written = 0;
  if (!WriteAll(CurrentSaveFileOps(), Fd, Pending.data(), Pending.size(), &written)) {
    const int error = errno;
    // Back to the end of the last Append stored whole: the file never ends half-way through one.
    size_t whole = 0;
    for (const size_t end : PendingEnds) {
      if (end > written) break;
      whole = end;
      ++StoredAppends;
    }
    const int cut = ftruncate(Fd, StoredBytes + static_cast<off_t>(whole));
    static_cast<void>(cut);  // failing, the file is unpublished or its end is what was stored
    StoredBytes += static_cast<off_t>(whole);
    return Fail(ErrorText("writing", error));
  }
  StoredBytes += static_cast<off_t>(Pending.size());
  StoredAppends += PendingEnds.size();
  Pending.clear();
  PendingEnds.clear();
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
  PendingEnds.clear();
}

bool WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes, std::string& why) {
  SafeFileWriter writer;
  constexpr size_t kSignatureBytes = 4;
  if (writer.Open(
          path, std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                               bytes.size(), kSignatureBytes))))) {
    writer.Append(bytes.data(), bytes.size());
    if (writer.Commit()) return true;
  }
  why = writer.Why();
  return false;
}
