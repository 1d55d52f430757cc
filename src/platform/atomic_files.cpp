#include "platform/atomic_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace {

const char* const kNewTag = ".saving-";
const char* const kOldTag = ".previous-";
const char* const kJournalHeader = "ravelon save journal 1";
const char* const kJournalCommit = "commit";
constexpr int kNameAttempts = 32;
constexpr int kLinkDepth = 16;

SaveFileOps& InstalledOps() {
  static SaveFileOps ops = PosixSaveFileOps();
  return ops;
}

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string BaseOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
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

enum class Written { Yes, NameTaken, Failed };

Written WriteFresh(const SaveFileOps& ops, const std::string& path,
                   const std::vector<uint8_t>& bytes, mode_t mode) {
  const int fd = ops.CreateNew(path, mode);
  if (fd < 0) return errno == EEXIST ? Written::NameTaken : Written::Failed;
  bool ok = WriteAll(ops, fd, bytes) && ops.Fsync(fd) == 0;
  if (ops.Close(fd) != 0) ok = false;
  if (!ok) ops.Unlink(path);
  return ok ? Written::Yes : Written::Failed;
}

// Something may sit at a name we would like (a stale file, a link, a FIFO, a folder): the next
// name is tried rather than anything being written through it.
std::string NameBeside(const std::string& path, const char* tag, int attempt) {
  return path + tag + std::to_string(getpid()) + "-" + std::to_string(attempt);
}

bool WriteUnderFreshName(const SaveFileOps& ops, const std::string& path, const char* tag,
                         const std::vector<uint8_t>& bytes, mode_t mode, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = NameBeside(path, tag, attempt);
    const Written written = WriteFresh(ops, name, bytes, mode);
    if (written == Written::Yes) return true;
    if (written == Written::Failed) break;
  }
  name.clear();
  return false;
}

// Follows a chain of symlinks to the file a save must replace (which need not exist yet).
bool ResolveTarget(const std::string& path, std::string& target) {
  std::string current = path;
  for (int depth = 0; depth < kLinkDepth; ++depth) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = current;
      return true;
    }
    char link[4096];
    const ssize_t n = readlink(current.c_str(), link, sizeof link);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof link) return false;
    const std::string to(link, static_cast<size_t>(n));
    current = to[0] == '/' ? to : FolderOf(current) + "/" + to;
  }
  return false;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

struct Target {
  std::string Path;  // the file itself, links followed
  std::string New;   // the complete new file, until renamed over Path
  std::string Old;   // a second name of the old file, empty when there was none
  bool Existed = false;
  mode_t Mode = 0666;
  uint64_t Hash = 0;
  size_t Size = 0;
};

// Only a writable regular file (or nothing at all) may be replaced.
bool Examine(const SaveFile& file, Target& target) {
  if (!ResolveTarget(file.Path, target.Path)) return false;
  target.Hash = Fnv1a(file.Bytes);
  target.Size = file.Bytes.size();
  struct stat info {};
  if (lstat(target.Path.c_str(), &info) != 0) {
    target.Mode = NewFileMode();
    return errno == ENOENT;
  }
  if (!S_ISREG(info.st_mode)) return false;
  const bool readOnly = (info.st_mode & 0222) == 0 || access(target.Path.c_str(), W_OK) != 0;
  if (readOnly) return false;
  target.Existed = true;
  target.Mode = info.st_mode & 07777;
  return true;
}

// Keeps the old file under a second name (a hard link; a copy where links are refused).
bool KeepOld(const SaveFileOps& ops, Target& target) {
  if (!target.Existed) return true;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = NameBeside(target.Path, kOldTag, attempt);
    if (ops.Link(target.Path, name) == 0) {
      target.Old = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(target.Path, bytes)) return false;
  return WriteUnderFreshName(ops, target.Path, kOldTag, bytes, target.Mode, target.Old);
}

std::string Hex(const std::string& text) {
  static const char* const kDigits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out.empty() ? "-" : out;
}

bool Unhex(const std::string& hex, std::string& text) {
  text.clear();
  if (hex == "-") return true;
  if (hex.size() % 2 != 0) return false;
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    text += static_cast<char>(high * 16 + low);
  }
  return true;
}

std::vector<uint8_t> JournalText(const std::vector<Target>& targets) {
  std::string text = std::string(kJournalHeader) + "\n";
  for (const Target& t : targets) {
    text += Hex(t.Path) + " " + Hex(t.New) + " " + Hex(t.Old) + " " + std::to_string(t.Size) + " " +
            std::to_string(t.Hash) + "\n";
  }
  text += std::string(kJournalCommit) + "\n";
  return {text.begin(), text.end()};
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

// --- The start-up check ---

struct JournalEntry {
  std::string Path, New, Old;
  size_t Size = 0;
  uint64_t Hash = 0;
};

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool ParseNumber(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t next = value * 10 + static_cast<uint64_t>(c - '0');
    if (next / 10 != value) return false;
    value = next;
  }
  return true;
}

// A name the save itself could have made beside `path`: no other file is ever touched.
bool NameOfOurs(const std::string& name, const std::string& path, const char* tag) {
  if (name.empty()) return true;
  const std::string prefix = path + tag;
  return StartsWith(name, prefix) && name.find('/', prefix.size()) == std::string::npos &&
         name.size() > prefix.size();
}

bool ParseEntry(const std::string& line, const std::vector<std::string>& allowed,
                JournalEntry& entry) {
  const std::vector<std::string> fields = SplitOn(line, ' ');
  uint64_t size = 0;
  if (fields.size() != 5 || !Unhex(fields[0], entry.Path) || !Unhex(fields[1], entry.New) ||
      !Unhex(fields[2], entry.Old) || !ParseNumber(fields[3], size) ||
      !ParseNumber(fields[4], entry.Hash)) {
    return false;
  }
  entry.Size = static_cast<size_t>(size);
  bool known = false;
  for (const std::string& path : allowed)
    known = known || entry.Path == path;
  return known && !entry.New.empty() && NameOfOurs(entry.New, entry.Path, kNewTag) &&
         NameOfOurs(entry.Old, entry.Path, kOldTag);
}

// The entries it could read, and whether the journal was complete (its last line written).
bool ParseJournal(const std::vector<uint8_t>& bytes, const std::vector<std::string>& allowed,
                  std::vector<JournalEntry>& entries) {
  const std::vector<std::string> lines = SplitOn(std::string(bytes.begin(), bytes.end()), '\n');
  if (lines.empty() || lines[0] != kJournalHeader) return false;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i] == kJournalCommit) return i + 2 == lines.size() && lines[i + 1].empty();
    JournalEntry entry;
    if (!ParseEntry(lines[i], allowed, entry)) return false;
    entries.push_back(entry);
  }
  return false;
}

bool IsRegular(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool Holds(const std::string& path, const JournalEntry& entry) {
  std::vector<uint8_t> bytes;
  return IsRegular(path) && ReadWholeFile(path, bytes) && bytes.size() == entry.Size &&
         Fnv1a(bytes) == entry.Hash;
}

bool RollForward(const SaveFileOps& ops, const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& e : entries)
    if (!Holds(e.Path, e) && !Holds(e.New, e)) return false;
  for (const JournalEntry& e : entries)
    if (!Holds(e.Path, e) && ops.Rename(e.New, e.Path) != 0) return false;
  for (const JournalEntry& e : entries)
    if (!e.Old.empty() && IsRegular(e.Old)) ops.Unlink(e.Old);
  return true;
}

// An incomplete journal: no file was replaced yet, only the names beside them go.
void DropNamesBeside(const SaveFileOps& ops, const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& e : entries) {
    if (IsRegular(e.New)) ops.Unlink(e.New);
    if (!e.Old.empty() && IsRegular(e.Old)) ops.Unlink(e.Old);
  }
}

// A new file went missing or bad: every file that was already replaced gets its old self back.
bool RollBack(const SaveFileOps& ops, const std::vector<JournalEntry>& entries) {
  bool all = true;
  for (const JournalEntry& e : entries) {
    if (IsRegular(e.New)) ops.Unlink(e.New);
    if (!Holds(e.Path, e)) {
      if (!e.Old.empty() && IsRegular(e.Old)) ops.Unlink(e.Old);
      continue;
    }
    const int rc = e.Old.empty() ? ops.Unlink(e.Path) : ops.Rename(e.Old, e.Path);
    if (rc != 0) all = false;
  }
  return all;
}

// Files a save killed before its journal was complete left beside a target.
void RemoveLeftovers(const SaveFileOps& ops, const std::string& target) {
  DIR* folder = opendir(FolderOf(target).c_str());
  if (!folder) return;
  const std::string base = BaseOf(target);
  std::vector<std::string> names;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (StartsWith(name, base + kNewTag) || StartsWith(name, base + kOldTag)) names.push_back(name);
  }
  closedir(folder);
  for (const std::string& name : names) {
    const std::string path = FolderOf(target) + "/" + name;
    if (IsRegular(path)) ops.Unlink(path);
  }
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

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteNewFile(const SaveFileOps& ops, const std::string& path,
                  const std::vector<uint8_t>& bytes, mode_t mode) {
  return WriteFresh(ops, path, bytes, mode) == Written::Yes;
}

bool ReplaceFilesTogether(const std::vector<SaveFile>& files, const std::string& journal) {
  const SaveFileOps& ops = CurrentSaveFileOps();
  std::vector<Target> targets(files.size());
  for (size_t i = 0; i < files.size(); ++i)
    if (!Examine(files[i], targets[i])) return false;
  // 1. Every new file complete on disk and every old one kept under a second name; the files
  //    themselves untouched.
  for (size_t i = 0; i < files.size(); ++i) {
    if (!WriteUnderFreshName(ops, targets[i].Path, kNewTag, files[i].Bytes, targets[i].Mode,
                             targets[i].New) ||
        !KeepOld(ops, targets[i])) {
      RemoveNames(ops, targets, 0, true, true);
      return false;
    }
  }
  SyncFoldersOf(ops, targets);
  // 2. The journal: complete, it commits the save.
  if (!WriteNewFile(ops, journal, JournalText(targets), 0644)) {
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

SaveRecovery FinishInterruptedSave(const std::string& journal,
                                   const std::vector<std::string>& paths) {
  const SaveFileOps& ops = CurrentSaveFileOps();
  std::vector<std::string> targets;
  for (const std::string& path : paths) {
    std::string target;
    if (ResolveTarget(path, target)) targets.push_back(target);
  }
  struct stat info {};
  if (lstat(journal.c_str(), &info) != 0) {
    if (errno != ENOENT) return SaveRecovery::Stuck;
    for (const std::string& target : targets)
      RemoveLeftovers(ops, target);
    return SaveRecovery::Nothing;
  }
  std::vector<uint8_t> bytes;
  if (!S_ISREG(info.st_mode) || !ReadWholeFile(journal, bytes, 1 << 20)) return SaveRecovery::Stuck;
  std::vector<JournalEntry> entries;
  const bool complete = ParseJournal(bytes, targets, entries);
  SaveRecovery outcome = SaveRecovery::RolledBack;
  if (!complete) {
    DropNamesBeside(ops, entries);
  } else if (RollForward(ops, entries)) {
    outcome = SaveRecovery::RolledForward;
  } else if (!RollBack(ops, entries)) {
    return SaveRecovery::Stuck;
  }
  ops.Unlink(journal);
  ops.SyncFolder(FolderOf(journal));
  for (const std::string& target : targets)
    RemoveLeftovers(ops, target);
  return outcome;
}
