// Listing levels/: the folder looked at without following a link, its level files by name.
#include "world/level_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "world/level_save.h"

namespace {

namespace fs = std::filesystem;

// Entries looked at before the listing stops: a folder of a million files is not read whole.
constexpr size_t kMaxEntriesLooked = 20000;

bool IsLevelFileName(const std::string& name) {
  if (name.size() <= 4 || name[0] == '.') return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return tail == ".tmx";
}

std::string WhyNoFolder() {
  struct stat info {};
  if (lstat(kLevelsFolder, &info) != 0)
    return errno == ENOENT ? "there is no levels/ folder yet" : "levels/ cannot be looked at";
  if (S_ISLNK(info.st_mode)) return "levels/ is a link, not a folder";
  if (!S_ISDIR(info.st_mode)) return "levels is a file, not a folder";
  return "";
}

}  // namespace

TLevelFolder ListLevelFolder() {
  TLevelFolder folder;
  folder.Note = WhyNoFolder();
  if (!folder.Note.empty()) return folder;
  std::error_code error;
  fs::directory_iterator entries(kLevelsFolder, error);
  if (error) {
    folder.Note = "levels/ cannot be read";
    return folder;
  }
  size_t looked = 0;
  for (; entries != fs::directory_iterator(); entries.increment(error)) {
    if (error) break;
    if (++looked > kMaxEntriesLooked) {
      folder.Note = "levels/ holds too many files: the list shows some of them";
      break;
    }
    const std::string name = entries->path().filename().string();
    if (!IsLevelFileName(name)) continue;
    std::error_code kind_error;
    if (!fs::is_regular_file(entries->symlink_status(kind_error)) || kind_error) continue;
    folder.Files.push_back(name);
  }
  if (error) folder.Note = "levels/ could not be read to its end";
  std::sort(folder.Files.begin(), folder.Files.end());
  if (folder.Files.size() > kMaxListedLevels) {
    folder.Files.resize(kMaxListedLevels);
    folder.Note = "levels/ holds more than " + std::to_string(kMaxListedLevels) +
                  " level files: the list shows the first by name";
  }
  return folder;
}

std::string LevelFolderPath(const std::string& file) {
  return std::string(kLevelsFolder) + "/" + file;
}

std::string ShownLevelName(const std::string& file) {
  std::string name = file.size() > 4 ? file.substr(0, file.size() - 4) : file;
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f) c = '?';
  }
  if (name.size() > kMaxShownNameChars) name = name.substr(0, kMaxShownNameChars - 3) + "...";
  return name;
}
