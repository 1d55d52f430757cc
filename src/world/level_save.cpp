// Saving level files: the backup of what each save replaces, the safe write, and the free name
// for a new one.
#include "world/level_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/console.h"
#include "platform/files.h"
#include "platform/save/atomic_files.h"
#include "platform/save/stamped_copies.h"
#include "shared/game_events.h"
#include "world/current_level.h"
#include "world/map.h"

namespace {

constexpr const char* kBackupFolder = "backups";
constexpr int kMaxNewLevelNumber = 9999;

// What the save is about to replace, under its own file name in backups/ (a stamp of one file,
// apart from the map pair's stamps), unless a copy there already holds the same bytes: every
// save keeps what it replaces, as S does for the map files.
bool BackUpLevelFile(const std::string& path, std::string& why) {
  if (FileLength(path) < 0) return true;
  SaveFile copy{std::filesystem::path(path).filename().string(), {}};
  if (!ReadWholeFile(path, copy.Bytes, kMaxLevelFileBytes)) {
    why = path + " could not be read for its backup";
    return false;
  }
  if (HoldsCopyOf(kBackupFolder, {copy})) return true;
  std::string stamp;
  if (!WriteStampedCopies(kBackupFolder, LocalTimeStamp(), {copy}, stamp, why)) return false;
  KeepNewestStamps(kBackupFolder, {copy.Path}, kMapBackupsKept, stamp);
  return true;
}

int32_t TimeOfDayNow() {
  const std::string stamp = LocalTimeStamp();  // YYYYMMDD-HHMMSS
  int32_t value = 0;
  for (size_t i = 9; i < stamp.size(); ++i)
    value = value * 10 + (stamp[i] - '0');
  return value;
}

SaveFailure FailureOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return SaveFailure::kFolderNotWritable;
    case ENOSPC:
    case EDQUOT:
      return SaveFailure::kDiskFull;
    default:
      return SaveFailure::kUnknown;
  }
}

bool SaveLevelAt(const std::string& path, const TLevel& level) {
  PrintLine("Saving level " + path + ".");
  ClearSaveErrno();
  std::string why;
  if (BackUpLevelFile(path, why) && WriteLevelFile(path, level, why)) {
    TGameEvents::FReport(GameEvent::kLevelSaved, 0, 0, TimeOfDayNow());
    return true;
  }
  PrintLine("Failure to create save file.");
  PrintNote("The level was not saved: " + why + ".");
  TGameEvents::FReport(GameEvent::kLevelNotSaved, 0, 0,
                       static_cast<int32_t>(FailureOf(LastSaveErrno())));
  return false;
}

}  // namespace

std::string WhyNoLevelsFolder() {
  struct stat info {};
  if (lstat(kLevelsFolder, &info) != 0) {
    if (errno != ENOENT) return "levels/ cannot be looked at";
    if (mkdir(kLevelsFolder, 0777) != 0) return "levels/ cannot be made";
    return "";
  }
  if (S_ISLNK(info.st_mode)) return "levels/ is a link, not a folder";
  if (!S_ISDIR(info.st_mode)) return "levels is a file, not a folder";
  if (access(kLevelsFolder, W_OK | X_OK) != 0) return "levels/ cannot be written";
  return "";
}

bool SaveCurrentLevelFile(const TLevel& level) {
  return SaveLevelAt(CurrentLevel.Path, level);
}

std::string LevelFileFor(const std::string& name) {
  return std::string(kLevelsFolder) + "/" + name + ".tmx";
}

bool LevelPathTaken(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string FirstFreeLevelName() {
  for (int n = 1; n <= kMaxNewLevelNumber; ++n) {
    const std::string name = "level-" + std::to_string(n);
    if (!LevelPathTaken(LevelFileFor(name))) return name;
  }
  return {};
}

std::string WhyNotNewLevelName(const std::string& name) {
  if (const std::string why = WhyNotLevelName(name); !why.empty()) return "the name " + why;
  // levels/ lists no hidden files: a level saved so would never be offered.
  if (name[0] == '.') return "the name starts with '.'";
  if (LevelPathTaken(LevelFileFor(name))) return LevelFileFor(name) + " is there already";
  return "";
}

bool SaveNamedLevelFile(const TLevel& level, const std::string& name) {
  if (const std::string why = WhyNoLevelsFolder(); !why.empty()) {
    PrintLine("Failure to create save file.");
    PrintNote("No new level file: " + why + ".");
    TGameEvents::FReport(GameEvent::kLevelNotSaved, 0, 0,
                         static_cast<int32_t>(SaveFailure::kFolderNotWritable));
    return false;
  }
  // Never over a file that is there: the name was free when asked, but need not be now.
  if (const std::string why = WhyNotNewLevelName(name); !why.empty()) {
    PrintLine("Failure to create save file.");
    PrintNote("No new level file: " + why + ".");
    TGameEvents::FReport(GameEvent::kLevelNotSaved, 0, 0, 0);
    return false;
  }
  const std::string path = LevelFileFor(name);
  const TCurrentLevel before = CurrentLevel;
  CurrentLevel = {path, name, CurrentLevel.Music};
  TLevel named = level;
  named.Name = name;
  if (SaveLevelAt(path, named)) return true;
  CurrentLevel = before;
  return false;
}

bool LevelHasMoreThanThePair(const TLevel& level) {
  for (const uint8_t water : level.Water)
    if (water != 0) return true;
  return !(level.Starts == DefaultLevelStarts());
}

bool CurrentLevelFileHolds(const TLevel& saved) {
  if (CurrentLevel.Path.empty()) return false;
  TLevel level = saved;
  if (level.Name.empty()) level.Name = LevelNameFromPath(CurrentLevel.Path);
  std::ifstream file(CurrentLevel.Path, std::ios::binary);
  if (!file) return false;
  const std::string text = LevelTmxText(level);
  std::string on_disk(text.size() + 1, '\0');
  file.read(on_disk.data(), static_cast<std::streamsize>(on_disk.size()));
  on_disk.resize(static_cast<size_t>(file.gcount()));
  return on_disk == text;
}
