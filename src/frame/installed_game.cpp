// The installed game's data: where it lies, the user's play folder, and laying it out.
#include "frame/installed_game.h"

#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/save/safe_write.h"
#include "shared/play_files.h"

namespace fs = std::filesystem;

#ifndef RAVELON_DATA_FROM_BIN
#define RAVELON_DATA_FROM_BIN "../share/ravelon"
#endif

namespace {

// Copied only where no file of the name is there yet: the player's own level.
bool IsMapFile(const std::string& name) {
  for (const char* level_file : kLevelFiles) {
    if (name == level_file) return true;
  }
  return false;
}

bool SameBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> there;
  return ReadWholeFile(path, there) && there == bytes;
}

// The default level into levels/, only where no file of its name is there: a level the player
// saved is never overwritten. A levels that is a link or a file is left alone (the game says so
// when it saves a level there).
void LayOutDefaultLevel(const std::string& installed, const std::string& folder) {
  std::error_code error;
  const fs::path to = fs::path(folder) / kLevelsFolderName;
  const fs::path target = fs::path(folder) / kDefaultLevelFile;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile((fs::path(installed) / kDefaultLevelSource).string(), bytes)) return;
  if (!fs::exists(fs::symlink_status(to, error))) fs::create_directory(to, error);
  if (!fs::is_directory(fs::symlink_status(to, error)) ||
      fs::exists(fs::symlink_status(target, error)))
    return;
  std::string ignored;
  WriteFileSafely(target.string(), bytes, ignored);
}

}  // namespace

std::string InstalledDataFolder(const std::string& exe_path) {
  if (exe_path.empty()) return "";
  std::error_code error;
  const fs::path data = fs::path(exe_path).parent_path() / RAVELON_DATA_FROM_BIN;
  if (!fs::is_regular_file(data / kTileSheetFile, error)) return "";
  return fs::weakly_canonical(data, error).string();
}

std::string UserPlayFolder(const char* xdg_data_home, const char* home) {
  if (xdg_data_home && fs::path(xdg_data_home).is_absolute())
    return (fs::path(xdg_data_home) / "ravelon").string();
  if (home && fs::path(home).is_absolute())
    return (fs::path(home) / ".local" / "share" / "ravelon").string();
  return "";
}

bool LayOutPlayFolder(const std::string& installed, const std::string& folder, std::string& why) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder, error)) {
    why = "the play folder " + folder + " cannot be made" + (error ? ": " + error.message() : "");
    return false;
  }
  fs::directory_iterator files(installed, error);
  if (error) {
    why = "the installed data " + installed + " cannot be read: " + error.message();
    return false;
  }
  for (const fs::directory_entry& entry : files) {
    std::error_code ignored;
    if (!entry.is_regular_file(ignored)) continue;
    const std::string name = entry.path().filename().string();
    if (name == kDefaultLevelSource) continue;  // it goes into levels/
    const std::string target = (fs::path(folder) / name).string();
    if (IsMapFile(name) && fs::exists(fs::symlink_status(target, ignored))) continue;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(entry.path().string(), bytes)) {
      why = "the installed file " + entry.path().string() + " cannot be read";
      return false;
    }
    if (SameBytes(target, bytes)) continue;
    std::string write_why;
    if (!WriteFileSafely(target, bytes, write_why)) {
      why = "the play folder " + folder + " cannot be written (" + write_why + ")";
      return false;
    }
  }
  LayOutDefaultLevel(installed, folder);
  return true;
}
