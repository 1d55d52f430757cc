// The pair of map files kept in recovery/ for unsaved edits: keeping one only when the map holds
// something the map files do not, whether the last one is newer than the map files and differs
// from them (start-up then offers it), and Ctrl+L, which loads it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "platform/save/stamped_copies.h"
#include "shared/units.h"
#include "world/map_files.h"

namespace fs = std::filesystem;

namespace {

std::string RecoveryPath(const std::string& stamp, const char* name) {
  return std::string(kMapRecoveryFolder) + "/" + stamp + "." + name;
}

// The stamp of a recovery file's name, or empty when it is no copy of a map file.
std::string StampOf(const std::string& entry) {
  for (const char* name : {kBGMapFile, kBlockMapFile}) {
    const std::string tail = std::string(".") + name;
    if (entry.size() > tail.size() &&
        entry.compare(entry.size() - tail.size(), tail.size(), tail) == 0) {
      return entry.substr(0, entry.size() - tail.size());
    }
  }
  return {};
}

bool ReadWholeMapFile(const std::string& path, std::vector<uint8_t>& bytes) {
  return FileLength(path) == static_cast<int64_t>(kMapFileBytes) &&
         ReadWholeFile(path, bytes, kMapFileBytes) && bytes.size() == kMapFileBytes;
}

// Last change of a file; nullopt when it cannot be read.
std::optional<fs::file_time_type> ChangedAt(const std::string& path) {
  std::error_code error;
  const fs::file_time_type when = fs::last_write_time(path, error);
  if (error) return std::nullopt;
  return when;
}

// True when both files at `bg` and `blocks` are whole map files holding exactly these bytes.
bool PairHolds(const std::string& bg, const std::string& blocks,
               const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& block_styles) {
  std::vector<uint8_t> bytes;
  return ReadWholeMapFile(bg, bytes) && bytes == backgrounds && ReadWholeMapFile(blocks, bytes) &&
         bytes == block_styles;
}

}  // namespace

std::string NewestRecoveryStamp() {
  // Whole pairs in the order they were written, so a clock set back still picks the last one
  // kept; failing those, any stamp, so a half pair is refused as incomplete, not as missing.
  const std::string whole = NewestWholeStamp(kMapRecoveryFolder, {kBGMapFile, kBlockMapFile});
  if (!whole.empty()) return whole;
  std::error_code error;
  fs::directory_iterator entries(kMapRecoveryFolder, error);
  if (error) return {};
  std::string newest;
  for (const fs::directory_entry& entry : entries) {
    const std::string stamp = StampOf(entry.path().filename().string());
    if (stamp > newest) newest = stamp;
  }
  return newest;
}

bool RecoveryPairIsNewer() {
  const std::string stamp = NewestRecoveryStamp();
  if (stamp.empty()) return false;
  std::optional<fs::file_time_type> oldest_copy;
  for (const char* name : {kBGMapFile, kBlockMapFile}) {
    const auto when = ChangedAt(RecoveryPath(stamp, name));
    if (!when) return false;
    if (!oldest_copy || *when < *oldest_copy) oldest_copy = when;
  }
  for (const char* name : {kBGMapFile, kBlockMapFile}) {
    const auto when = ChangedAt(name);
    if (when && *when >= *oldest_copy) return false;
  }
  // A pair the map files hold byte for byte has nothing to recover.
  std::vector<uint8_t> backgrounds, blocks;
  if (ReadWholeMapFile(RecoveryPath(stamp, kBGMapFile), backgrounds) &&
      ReadWholeMapFile(RecoveryPath(stamp, kBlockMapFile), blocks) &&
      PairHolds(kBGMapFile, kBlockMapFile, backgrounds, blocks)) {
    return false;
  }
  return true;
}

KeptEdits KeepUnsavedEdits(const std::vector<uint8_t>& backgrounds,
                           const std::vector<uint8_t>& blocks, std::string& where) {
  if (PairHolds(kBGMapFile, kBlockMapFile, backgrounds, blocks)) return KeptEdits::kNothingToKeep;
  const std::string stamp = NewestWholeStamp(kMapRecoveryFolder, {kBGMapFile, kBlockMapFile});
  if (!stamp.empty() && PairHolds(RecoveryPath(stamp, kBGMapFile),
                                  RecoveryPath(stamp, kBlockMapFile), backgrounds, blocks)) {
    where = RecoveryPath(stamp, kBGMapFile) + " and " + RecoveryPath(stamp, kBlockMapFile);
    return KeptEdits::kAlreadyKept;
  }
  return WriteRecoveryPair(backgrounds, blocks, where) ? KeptEdits::kWritten : KeptEdits::kFailed;
}

bool LoadRecoveryPair(LoadFailure& why) {
  const std::string stamp = NewestRecoveryStamp();
  if (stamp.empty()) {
    why = LoadFailure::kNoRecoveryPair;
    return false;
  }
  PrintLine("Loading recovered edits " + RecoveryPath(stamp, "*") + ".");
  // Both files are read and checked before anything of the map changes.
  std::vector<uint8_t> backgrounds, blocks;
  if (!ReadWholeMapFile(RecoveryPath(stamp, kBGMapFile), backgrounds) ||
      !ReadWholeMapFile(RecoveryPath(stamp, kBlockMapFile), blocks)) {
    PrintLine("The recovered pair is damaged or incomplete: nothing loaded.");
    why = LoadFailure::kRecoveryPair;
    return false;
  }
  SetMapFromBytes(backgrounds, blocks);
  return true;
}
