// Copies of a set of files under one date-and-time stamp in a folder: written under side names,
// then given their stamped names together; the tidy that removes half stamps, and the pruning
// that keeps the newest.
#include "platform/save/stamped_copies.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <set>

#include "platform/files.h"
#include "platform/save/safe_write.h"
#include "platform/save/save_journal.h"
#include "platform/save/side_names.h"

namespace {

constexpr int kStampSuffixes = 100;

std::string StampWithSuffix(const std::string& stamp, int suffix) {
  if (suffix == 0) return stamp;
  return stamp + (suffix < 10 ? "-0" : "-") + std::to_string(suffix);
}

// The folder, made if missing; a link or anything but a folder at its name is refused.
bool RealFolder(const std::string& folder, std::string& why) {
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) {
    if (errno != ENOENT || mkdir(folder.c_str(), 0777) != 0) {
      why = folder + "/ cannot be made (" + std::strerror(errno) + ")";
      return false;
    }
    if (lstat(folder.c_str(), &info) != 0) info.st_mode = 0;
  }
  if (S_ISDIR(info.st_mode)) return true;
  why = folder + (S_ISLNK(info.st_mode) ? " is a link, not a folder" : " is not a folder");
  return false;
}

// A folder's entries; none through a link, so a tidy never reaches into another folder.
std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> entries;
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return entries;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return entries;
  while (const dirent* entry = readdir(dir))
    entries.emplace_back(entry->d_name);
  closedir(dir);
  return entries;
}

// "YYYYMMDD-HHMMSS", with "-NN" when the stamp was taken: only what LocalTimeStamp and
// StampWithSuffix make. Anything else before a file's name is no stamp of the game's, so a file
// someone named "mine.BGMap75x54.raw", or another level's "STAMP.my.default.tmx" beside
// "default.tmx", is never counted, pruned or taken for a copy.
bool StampShaped(const std::string& stamp) {
  if (stamp.size() != 15 && stamp.size() != 18) return false;
  for (size_t i = 0; i < stamp.size(); ++i) {
    const bool dash = i == 8 || i == 15;
    if (dash ? stamp[i] != '-' : (stamp[i] < '0' || stamp[i] > '9')) return false;
  }
  return true;
}

// The stamp of a copy of one of `names`, or empty.
std::string StampOf(const std::string& entry, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const std::string tail = "." + name;
    if (entry.size() > tail.size() &&
        entry.compare(entry.size() - tail.size(), tail.size(), tail) == 0) {
      std::string stamp = entry.substr(0, entry.size() - tail.size());
      if (StampShaped(stamp)) return stamp;
    }
  }
  return {};
}

bool Later(const timespec& a, const timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// Each stamp's files, with the latest modification time among them.
struct StampFiles {
  std::vector<std::string> Entries;
  timespec Time{};
};

std::map<std::string, StampFiles> StampsIn(const std::string& folder,
                                           const std::vector<std::string>& names) {
  std::map<std::string, StampFiles> stamps;
  for (const std::string& entry : EntriesOf(folder)) {
    const std::string stamp = StampOf(entry, names);
    struct stat info {};
    if (stamp.empty() || lstat((folder + "/" + entry).c_str(), &info) != 0 ||
        S_ISDIR(info.st_mode)) {
      continue;
    }
    StampFiles& files = stamps[stamp];
    files.Entries.push_back(entry);
    if (Later(info.st_mtim, files.Time)) files.Time = info.st_mtim;
  }
  return stamps;
}

// A copy's time: now, or just after the newest copy there should the clock have gone back.
timespec CopyTime(const std::map<std::string, StampFiles>& stamps) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  timespec newest{};
  for (const auto& [stamp, files] : stamps)
    if (Later(files.Time, newest)) newest = files.Time;
  if (Later(now, newest)) return now;
  newest.tv_sec += 1;
  return newest;
}

struct SideCopy {
  std::string Side, Final;
  bool Placed = false;
  bool Renamed = false;  // placed by a rename: the side name is free again
};

bool WriteSide(const SaveFileOps& ops, const std::string& folder, const SaveFile& file,
               const timespec& time, SideCopy& copy) {
  const int fd = CreateBeside(ops, folder + "/" + file.Path, kSafeWriteTag, 0644, copy.Side);
  if (fd < 0) return false;
  const timespec times[2] = {time, time};
  bool ok = WriteAll(ops, fd, file.Bytes.data(), file.Bytes.size());
  if (ok && (futimens(fd, times) != 0 || ops.Fsync(fd) != 0)) {
    NoteSaveFailure(errno);
    ok = false;
  }
  if (ops.Close(fd) != 0) {
    if (ok) NoteSaveFailure(errno);
    ok = false;
  }
  return ok;
}

// A second name for the side file, never over anything already there; where the file system
// has no hard links, a rename onto a name found free.
int Place(const SaveFileOps& ops, SideCopy& copy) {
  if (ops.Link(copy.Side, copy.Final) == 0) return 0;
  if (errno == EEXIST) return -1;
  struct stat info {};
  if (lstat(copy.Final.c_str(), &info) == 0) return errno = EEXIST, -1;
  if (ops.Rename(copy.Side, copy.Final) != 0) return NoteSaveFailure(errno), -1;
  copy.Renamed = true;
  return 0;
}

enum class Outcome { Placed, StampTaken, Failed };

Outcome PlaceUnderStamp(const SaveFileOps& ops, const std::string& folder, const std::string& stamp,
                        const std::vector<SaveFile>& files, std::vector<SideCopy>& copies) {
  for (size_t i = 0; i < files.size(); ++i) {
    copies[i].Final = folder + "/" + stamp + "." + files[i].Path;
    if (Place(ops, copies[i]) == 0) {
      copies[i].Placed = true;
      continue;
    }
    const bool taken = errno == EEXIST;
    for (SideCopy& placed : copies) {
      if (placed.Placed && placed.Renamed) ops.Rename(placed.Final, placed.Side);
      if (placed.Placed && !placed.Renamed) ops.Unlink(placed.Final);
      placed.Placed = placed.Renamed = false;
    }
    return taken ? Outcome::StampTaken : Outcome::Failed;
  }
  return Outcome::Placed;
}

void RemoveSides(const SaveFileOps& ops, const std::vector<SideCopy>& copies) {
  for (const SideCopy& copy : copies)
    if (!copy.Side.empty() && !copy.Renamed) ops.Unlink(copy.Side);
}

}  // namespace

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

void RemoveHalfStamps(const std::string& folder, const std::vector<std::string>& names,
                      size_t file_size) {
  const SaveFileOps& ops = CurrentSaveFileOps();
  const std::map<std::string, StampFiles> stamps = StampsIn(folder, names);
  for (const std::string& name : names) {
    for (const std::string& side : LeftoversBeside(folder + "/" + name, kSafeWriteTag)) {
      struct stat info {};
      if (lstat(side.c_str(), &info) != 0) continue;
      // A side file already placed under its stamp is that copy's second name: a stamp the kill
      // left with only some of its files goes with it.
      bool placed = false;
      for (const auto& [stamp, files] : stamps) {
        for (const std::string& entry : files.Entries) {
          struct stat copy {};
          const std::string path = folder + "/" + entry;
          if (lstat(path.c_str(), &copy) != 0 || copy.st_ino != info.st_ino ||
              copy.st_dev != info.st_dev) {
            continue;
          }
          placed = true;
          if (files.Entries.size() < names.size()) {
            for (const std::string& half : files.Entries)
              ops.Unlink(folder + "/" + half);
          }
        }
      }
      if (placed || info.st_size == 0 || static_cast<size_t>(info.st_size) == file_size)
        ops.Unlink(side);
    }
  }
}

bool WriteStampedCopies(const std::string& folder, const std::string& stamp,
                        const std::vector<SaveFile>& files, std::string& used, std::string& why) {
  used.clear();
  if (!RealFolder(folder, why)) return false;
  std::vector<std::string> names;
  for (const SaveFile& file : files)
    names.push_back(file.Path);
  size_t size = files.empty() ? 0 : files[0].Bytes.size();
  for (const SaveFile& file : files)
    if (file.Bytes.size() != size) size = 0;
  RemoveHalfStamps(folder, names, size);
  const SaveFileOps& ops = CurrentSaveFileOps();
  const timespec time = CopyTime(StampsIn(folder, names));
  std::vector<SideCopy> copies(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    if (!WriteSide(ops, folder, files[i], time, copies[i])) {
      why = folder + "/ cannot be written (" + std::strerror(errno) + ")";
      RemoveSides(ops, copies);
      return false;
    }
  }
  ops.SyncFolder(folder);
  for (int suffix = 0; suffix < kStampSuffixes; ++suffix) {
    const Outcome outcome =
        PlaceUnderStamp(ops, folder, StampWithSuffix(stamp, suffix), files, copies);
    if (outcome == Outcome::StampTaken) continue;
    if (outcome == Outcome::Placed) used = StampWithSuffix(stamp, suffix);
    break;
  }
  if (used.empty()) why = folder + "/ cannot be written (" + std::strerror(errno) + ")";
  RemoveSides(ops, copies);
  ops.SyncFolder(folder);
  return !used.empty();
}

namespace {

using WholeStamps = std::vector<std::pair<std::string, StampFiles>>;

// The stamps in `folder` that hold every one of `names`, newest first: the stamp `just_made`,
// then by the files' times, then by the stamps' text.
WholeStamps WholeStampsNewestFirst(const std::string& folder, const std::vector<std::string>& names,
                                   const std::string& just_made) {
  WholeStamps whole;
  for (auto& [stamp, files] : StampsIn(folder, names))
    if (files.Entries.size() >= names.size()) whole.emplace_back(stamp, files);
  std::sort(whole.begin(), whole.end(), [&](const auto& a, const auto& b) {
    if ((a.first == just_made) != (b.first == just_made)) return a.first == just_made;
    if (Later(a.second.Time, b.second.Time) || Later(b.second.Time, a.second.Time))
      return Later(a.second.Time, b.second.Time);
    return a.first > b.first;
  });
  return whole;
}

}  // namespace

std::string NewestWholeStamp(const std::string& folder, const std::vector<std::string>& names) {
  const WholeStamps whole = WholeStampsNewestFirst(folder, names, {});
  return whole.empty() ? std::string() : whole.front().first;
}

bool HoldsCopyOf(const std::string& folder, const std::vector<SaveFile>& files) {
  std::vector<std::string> names;
  for (const SaveFile& file : files)
    names.push_back(file.Path);
  for (const auto& [stamp, copies] : WholeStampsNewestFirst(folder, names, {})) {
    bool same = true;
    for (const SaveFile& file : files) {
      // The size first: a copy of another size is never read.
      const std::string path = folder + "/" + stamp + "." + file.Path;
      struct stat info {};
      std::vector<uint8_t> bytes;
      same = lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
             static_cast<size_t>(info.st_size) == file.Bytes.size() &&
             ReadWholeFile(path, bytes, file.Bytes.size()) && bytes == file.Bytes;
      if (!same) break;
    }
    if (same) return true;
  }
  return false;
}

void KeepNewestStamps(const std::string& folder, const std::vector<std::string>& names, size_t keep,
                      const std::string& just_made) {
  const WholeStamps whole = WholeStampsNewestFirst(folder, names, just_made);
  if (whole.size() <= keep) return;
  const SaveFileOps& ops = CurrentSaveFileOps();
  for (size_t i = keep; i < whole.size(); ++i)
    for (const std::string& entry : whole[i].second.Entries)
      ops.Unlink(folder + "/" + entry);
}
