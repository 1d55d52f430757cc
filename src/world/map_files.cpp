// The two map files: backgrounds and block styles, one byte per cell, 54 rows of 75 bytes.
#include <optional>
#include <string>
#include <vector>

#include "world/map_files.h"

#include "platform/console.h"
#include "platform/files.h"
#include "platform/save/atomic_files.h"
#include "platform/save/interrupted_save.h"
#include "platform/save/stamped_copies.h"
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"

namespace {

const char* const kBGFile = kBGMapFile;
const char* const kBlockFile = kBlockMapFile;
const char* const kSaveJournal = "ravelon-save.journal";
const char* const kBackupFolder = "backups";
const char* const kRecoveryFolder = kMapRecoveryFolder;

size_t ByteOf(int x, int y) {
  return static_cast<size_t>(y) * MAP_WIDTH_TILES + x;
}

// Why the last load refused a map file that was there (none when both loaded or were missing).
std::optional<LoadFailure> Refused;

// Reads a map file that must be exactly kMapFileBytes long, with the game's two messages.
// The size is checked before anything is read, so a huge or odd file costs nothing. A file that
// is there but refused is noted in `Refused`.
bool ReadMapFile(const char* path, std::vector<uint8_t>& bytes) {
  const bool bg = std::string(path) == kBGFile;
  if (FileLength(path) < 0) {
    PrintLine("Failure to load file.");
    return false;
  }
  if (!OpenFileForRead(path)) {
    PrintLine("Failure to load file.");
    Refused = bg ? LoadFailure::kBGFileUnreadable : LoadFailure::kBlockFileUnreadable;
    return false;
  }
  if (FileLength(path) != static_cast<int64_t>(kMapFileBytes)) {
    PrintLine("Wrong size!");
    Refused = bg ? LoadFailure::kBGFileWrongSize : LoadFailure::kBlockFileWrongSize;
    return false;
  }
  if (!ReadWholeFile(path, bytes, kMapFileBytes)) {
    PrintLine("Failure to load file.");
    Refused = bg ? LoadFailure::kBGFileUnreadable : LoadFailure::kBlockFileUnreadable;
    return false;
  }
  if (bytes.size() != kMapFileBytes) {  // the file changed under us
    PrintLine("Wrong size!");
    Refused = bg ? LoadFailure::kBGFileWrongSize : LoadFailure::kBlockFileWrongSize;
    return false;
  }
  return true;
}

// The files on disk as S is about to replace them, kept in backups/ unless a pair there already
// holds exactly these bytes, so every state the files were ever saved in can be taken back (R
// then S, or a bad save). With one file missing the other is kept alone, so a file that did not
// load (of the wrong size, say) is never lost to the save over it.
bool BackUpBeforeSave() {
  std::vector<SaveFile> pair;
  for (const char* name : {kBGFile, kBlockFile}) {
    if (FileLength(name) < 0) continue;
    SaveFile copy{name, {}};
    if (!ReadWholeFile(name, copy.Bytes)) {
      PrintNote(std::string("The save was refused: ") + name +
                " could not be read for its backup.");
      return false;
    }
    pair.push_back(std::move(copy));
  }
  if (!pair.empty() && !HoldsCopyOf(kBackupFolder, pair)) {
    std::string stamp, why;
    if (!WriteStampedCopies(kBackupFolder, LocalTimeStamp(), pair, stamp, why)) {
      PrintNote("The save was refused: no backup of the map files could be made, " + why + ".");
      return false;
    }
    KeepNewestStamps(kBackupFolder, {kBGFile, kBlockFile}, kMapBackupsKept, stamp);
  }
  return true;
}

}  // namespace

std::vector<uint8_t> BGBytes() {
  std::vector<uint8_t> bytes(kMapFileBytes);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      bytes[ByteOf(x, y)] = BGGrid[x][y];
  return bytes;
}

std::vector<uint8_t> BlockBytes() {
  std::vector<uint8_t> bytes(kMapFileBytes);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      bytes[ByteOf(x, y)] =
          BlockGrid[x][y] ? static_cast<uint8_t>(BlockGrid[x][y]->MStyle()) : kNoStyle;
  return bytes;
}

// The local time of day as the number HHMMSS.
int32_t TimeOfDay() {
  const std::string stamp = LocalTimeStamp();
  int32_t value = 0;
  for (size_t i = 9; i < stamp.size(); ++i)
    value = value * 10 + (stamp[i] - '0');
  return value;
}

bool SaveMapFiles() {
  return SaveMapFiles(BGBytes(), BlockBytes());
}

bool SaveMapFiles(const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& blocks) {
  PrintLine("Saving maps.");
  ClearSaveErrno();
  // Both files are replaced together or not at all, even across a kill mid-save, so the map
  // never becomes a background file out of step with its block file.
  const bool backed_up = BackUpBeforeSave();
  if (backed_up &&
      ReplaceFilesTogether({{kBGFile, backgrounds}, {kBlockFile, blocks}}, kSaveJournal)) {
    TGameEvents::FReport(GameEvent::kSaveDone, 0, 0, TimeOfDay());
    return true;
  }
  PrintLine("Failure to create save file.");
  const SaveFailure why = WhySaveFailed(!backed_up, LastSaveErrno(), {kBGFile, kBlockFile});
  TGameEvents::FReport(GameEvent::kSaveFailed, 0, 0, static_cast<int32_t>(why));
  return false;
}

void ResetMapBackups() {
  Refused.reset();
}

bool MapFileRefused(LoadFailure& why) {
  if (Refused) why = *Refused;
  return Refused.has_value();
}

bool WriteRecoveryPair(std::string& where) {
  return WriteRecoveryPair(BGBytes(), BlockBytes(), where);
}

bool WriteRecoveryPair(const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& blocks,
                       std::string& where) {
  std::string stamp, why;
  if (!WriteStampedCopies(kRecoveryFolder, LocalTimeStamp(),
                          {{kBGFile, backgrounds}, {kBlockFile, blocks}}, stamp, why)) {
    return false;
  }
  KeepNewestStamps(kRecoveryFolder, {kBGFile, kBlockFile}, kMapBackupsKept, stamp);
  const std::string prefix = std::string(kRecoveryFolder) + "/" + stamp + ".";
  where = prefix + kBGFile + " and " + prefix + kBlockFile;
  return true;
}

std::vector<std::string> MapFilesReadAtStartUp() {
  return {kBGFile, kBlockFile, kSaveJournal};
}

void FinishInterruptedMapSave() {
  // Copies a kill cut short: a stamp is a whole pair or gone.
  for (const char* folder : {kBackupFolder, kRecoveryFolder})
    RemoveHalfStamps(folder, {kBGFile, kBlockFile}, kMapFileBytes);
  switch (FinishInterruptedSave(kSaveJournal, {kBGFile, kBlockFile}, kMapFileBytes)) {
    case SaveRecovery::Nothing:
      break;
    case SaveRecovery::RolledForward:
      PrintNote("An interrupted save of the map files was finished.");
      break;
    case SaveRecovery::RolledBack:
      PrintNote("An interrupted save of the map files was undone; the previous map is kept.");
      break;
    case SaveRecovery::Stuck:
      PrintNote(std::string("An interrupted save could not be settled: see ") + kSaveJournal +
                ". Saving stays off until it is removed.");
      break;
  }
}

int TMap::FSaveState() {
  SaveMapFiles();
  return 0;
}

namespace {

void SetBackgrounds(const std::vector<uint8_t>& bytes) {
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      BGGrid[x][y] = bytes[ByteOf(x, y)];
}

void SetBlocks(const std::vector<uint8_t>& bytes) {
  TBlock::Count = 0;
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      TMap::FCreateBlock(x, y, bytes[ByteOf(x, y)]);
  PrintLine("Created " + std::to_string(TBlock::Count) + " block instances.");
}

}  // namespace

void SetMapFromBytes(const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& blocks) {
  if (backgrounds.size() != kMapFileBytes || blocks.size() != kMapFileBytes) return;
  SetBackgrounds(backgrounds);
  SetBlocks(blocks);
}

bool LoadMapFiles() {
  PrintLine("Loading maps.");
  Refused.reset();
  std::vector<uint8_t> bytes;
  if (!ReadMapFile(kBGFile, bytes)) return false;
  SetBackgrounds(bytes);
  // A bad block file leaves the backgrounds just loaded and the blocks as they were.
  if (!ReadMapFile(kBlockFile, bytes)) return false;
  SetBlocks(bytes);
  return true;
}

int TMap::FLoadState() {
  LoadMapFiles();
  return 0;
}
