#include "platform/stamped_copies.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <set>

namespace {

constexpr int kStampSuffixes = 100;

std::string StampWithSuffix(const std::string& stamp, int suffix) {
  if (suffix == 0) return stamp;
  return stamp + (suffix < 10 ? "-0" : "-") + std::to_string(suffix);
}

// The folder, made if missing; a link or anything but a folder at its name is refused.
bool RealFolder(const std::string& folder) {
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) {
    if (errno != ENOENT || mkdir(folder.c_str(), 0777) != 0) return false;
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }
  return S_ISDIR(info.st_mode);
}

enum class Outcome { Written, StampTaken, Failed };

Outcome WriteUnderStamp(const SaveFileOps& ops, const std::string& folder, const std::string& stamp,
                        const std::vector<SaveFile>& files) {
  std::vector<std::string> written;
  for (const SaveFile& file : files) {
    const std::string path = folder + "/" + stamp + "." + file.Path;
    if (WriteNewFile(ops, path, file.Bytes, 0644)) {
      written.push_back(path);
      continue;
    }
    const bool taken = errno == EEXIST;
    for (const std::string& done : written)
      ops.Unlink(done);
    return taken ? Outcome::StampTaken : Outcome::Failed;
  }
  ops.SyncFolder(folder);
  return Outcome::Written;
}

// The stamp of a copy of one of `names`, or empty.
std::string StampOf(const std::string& entry, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const std::string tail = "." + name;
    if (entry.size() > tail.size() &&
        entry.compare(entry.size() - tail.size(), tail.size(), tail) == 0) {
      return entry.substr(0, entry.size() - tail.size());
    }
  }
  return {};
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

bool WriteStampedCopies(const std::string& folder, const std::string& stamp,
                        const std::vector<SaveFile>& files, std::string& used) {
  if (!RealFolder(folder)) return false;
  const SaveFileOps& ops = CurrentSaveFileOps();
  for (int suffix = 0; suffix < kStampSuffixes; ++suffix) {
    used = StampWithSuffix(stamp, suffix);
    const Outcome outcome = WriteUnderStamp(ops, folder, used, files);
    if (outcome == Outcome::Written) return true;
    if (outcome == Outcome::Failed) break;
  }
  used.clear();
  return false;
}

void KeepNewestStamps(const std::string& folder, const std::vector<std::string>& names,
                      size_t keep) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> entries;
  while (const dirent* entry = readdir(dir))
    entries.emplace_back(entry->d_name);
  closedir(dir);
  // Stamps are fixed-width dates with zero-padded suffixes: their text order is their age.
  std::set<std::string, std::greater<>> stamps;
  for (const std::string& entry : entries)
    if (const std::string stamp = StampOf(entry, names); !stamp.empty()) stamps.insert(stamp);
  if (stamps.size() <= keep) return;
  const std::set<std::string> old(std::next(stamps.begin(), static_cast<long>(keep)), stamps.end());
  const SaveFileOps& ops = CurrentSaveFileOps();
  for (const std::string& entry : entries) {
    if (!old.count(StampOf(entry, names))) continue;
    const std::string path = folder + "/" + entry;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) ops.Unlink(path);
  }
}
