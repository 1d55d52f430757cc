// A level file taken in from outside the play folder and kept in levels/.
#include "frame/level_import.h"

#include <sys/stat.h>

#include <cerrno>

#include "frame/level_open.h"
#include "frame/level_start.h"
#include "frame/overlay_messages.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "world/current_level.h"
#include "world/level_file.h"
#include "world/level_save.h"

namespace {

constexpr int kMaxCopyNumber = 999;

// levels/ as a real folder, made when missing; otherwise why it cannot keep the level.
std::string WhyNoFolder() {
  struct stat info {};
  if (lstat(kLevelsFolder, &info) != 0) {
    if (errno != ENOENT) return "levels/ cannot be looked at";
    if (mkdir(kLevelsFolder, 0777) != 0) return "levels/ cannot be made";
    return "";
  }
  if (!S_ISDIR(info.st_mode)) return "levels/ is not a folder";
  return "";
}

void Refuse(const std::string& why) {
  PrintLine("Level NOT opened: " + why + ".");
  TOverlayMessages::FAdd("Level NOT opened: " + why, static_cast<uint32_t>(ClockMillis()));
}

}  // namespace

std::string FreeLevelCopyPath(const std::string& file_name) {
  std::string stem = file_name.substr(0, file_name.find_last_of('.'));
  if (stem.empty() || !WhyNotLevelName(stem).empty() || stem.size() + 4 > kMaxLevelNameBytes)
    stem = "level";
  const std::string folder = std::string(kLevelsFolder) + "/";
  if (!LevelPathTaken(folder + stem + ".tmx")) return folder + stem + ".tmx";
  for (int n = 2; n <= kMaxCopyNumber; ++n) {
    const std::string path = folder + stem + "-" + std::to_string(n) + ".tmx";
    if (!LevelPathTaken(path)) return path;
  }
  return "";
}

bool OpenLevelFromOutside(const std::string& path, const std::string& file_name) {
  TLevel level;
  std::string why;
  if (!ReadLevelWithLines(path, level, &why)) {
    TOverlayMessages::FAdd("Level NOT opened: " + why, static_cast<uint32_t>(ClockMillis()));
    return false;
  }
  if (why = WhyNoFolder(); !why.empty()) return Refuse(why), false;
  const std::string kept = FreeLevelCopyPath(file_name);
  if (kept.empty()) return Refuse("levels/ holds 999 copies of " + file_name + " already"), false;
  PrintLine("Keeping level " + file_name + " as " + kept + ".");
  if (!WriteLevelFile(kept, level, why))
    return Refuse("it cannot be kept in levels/: " + why), false;
  return OpenLevelFile(kept);
}
