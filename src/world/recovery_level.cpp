// A level file's kept edits in recovery/: written beside the map pair's, pruned per level,
// offered only when they hold something the level's file does not, and read back for Ctrl+L.
#include "world/recovery_level.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/save/stamped_copies.h"
#include "shared/play_files.h"
#include "world/current_level.h"

namespace {

constexpr const char* kNewLevelCopy = "new-level.tmx";

bool ChangedAt(const std::string& path, timespec& when) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  when = info.st_mtim;
  return true;
}

bool NotLater(const timespec& a, const timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec <= b.tv_nsec;
}

std::string TextOf(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxLevelFileBytes)) return {};
  return std::string(bytes.begin(), bytes.end());
}

// What a kept copy recovers: the grids, the water and the starts (its name and tune are the
// level's own, whatever the copy says).
bool SamePlay(const TLevel& a, const TLevel& b) {
  return a.Backgrounds == b.Backgrounds && a.Blocks == b.Blocks && a.Water == b.Water &&
         a.Starts == b.Starts;
}

// Eight hex digits that tell one folder from another: FNV-1a over its full name, the same on
// every build, so a later run finds the copies an earlier one kept.
std::string FolderMark(const std::string& folder) {
  uint32_t hash = 2166136261u;
  for (const unsigned char c : folder) {
    hash ^= c;
    hash *= 16777619u;
  }
  char text[9];
  std::snprintf(text, sizeof text, "%08x", hash);
  return text;
}

std::filesystem::path FullFolder(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return path;
  const std::filesystem::path full = std::filesystem::weakly_canonical(absolute, error);
  return error ? absolute : full;
}

}  // namespace

std::string RecoveryLevelName() {
  if (CurrentLevel.Untitled) return kNewLevelCopy;
  if (CurrentLevel.Path.empty()) return {};
  const std::filesystem::path path(CurrentLevel.Path);
  // Each file in levels/ has a name of its own there. A level anywhere else (--level) may share
  // its file name with another, so its copies carry a mark of its folder too: one level's edits
  // are never offered, loaded nor pruned for another's.
  const std::filesystem::path folder =
      FullFolder(path.parent_path().empty() ? "." : path.parent_path());
  if (folder == FullFolder(kLevelsFolderName)) return path.filename().string();
  return path.stem().string() + "-" + FolderMark(folder.string()) + path.extension().string();
}

std::string NewestRecoveryLevel() {
  const std::string name = RecoveryLevelName();
  if (name.empty()) return {};
  const std::string stamp = NewestWholeStamp(kMapRecoveryFolder, {name});
  if (stamp.empty()) return {};
  return std::string(kMapRecoveryFolder) + "/" + stamp + "." + name;
}

KeptEdits KeepRecoveryLevel(const TLevel& saved, std::string& where) {
  const std::string name = RecoveryLevelName();
  if (name.empty()) return KeptEdits::kFailed;
  TLevel level = saved;
  if (level.Name.empty())
    level.Name = LevelNameFromPath(CurrentLevel.Untitled ? name : CurrentLevel.Path);
  const std::string text = LevelTmxText(level);
  if (const std::string newest = NewestRecoveryLevel();
      !newest.empty() && FileLength(newest) == static_cast<int64_t>(text.size()) &&
      TextOf(newest) == text) {
    where = newest;
    return KeptEdits::kAlreadyKept;
  }
  const SaveFile file{name, std::vector<uint8_t>(text.begin(), text.end())};
  std::string stamp, why;
  if (!WriteStampedCopies(kMapRecoveryFolder, LocalTimeStamp(), {file}, stamp, why))
    return KeptEdits::kFailed;
  KeepNewestStamps(kMapRecoveryFolder, {name}, kMapBackupsKept, stamp);
  where = std::string(kMapRecoveryFolder) + "/" + stamp + "." + name;
  return KeptEdits::kWritten;
}

bool RecoveryLevelIsNewer() {
  const std::string kept = NewestRecoveryLevel();
  timespec kept_at{};
  if (kept.empty() || !ChangedAt(kept, kept_at)) return false;
  // A new level has no file: whatever was kept of it is all there is.
  if (CurrentLevel.Path.empty()) return true;
  timespec file_at{};
  if (!ChangedAt(CurrentLevel.Path, file_at)) return true;
  if (NotLater(kept_at, file_at)) return false;
  // The level's file holds the copy already: saved since, or a copy of the level as it was.
  const std::string file_text = TextOf(CurrentLevel.Path);
  if (!file_text.empty() && file_text == TextOf(kept)) return false;
  TLevel on_disk, recovered;
  std::string why;
  std::vector<std::string> notes;
  if (!ReadLevelFile(kept, recovered, why, notes)) return true;  // Ctrl+L will say why
  return !(ReadLevelFile(CurrentLevel.Path, on_disk, why, notes) && SamePlay(on_disk, recovered));
}

bool ReadRecoveryLevel(TLevel& level, std::string& where, std::string& why, bool& none) {
  where = NewestRecoveryLevel();
  none = where.empty();
  if (none) {
    why = "recovery/ holds no kept edits of this level";
    return false;
  }
  TLevel read;
  std::vector<std::string> notes;
  if (!ReadLevelFile(where, read, why, notes)) return false;
  level = std::move(read);
  return true;
}
