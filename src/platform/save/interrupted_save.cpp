// The start-up check after an interrupted save: a complete journal rolled forward (or back,
// should a new file be damaged), an incomplete one rolled back, and the leftovers removed.
#include "platform/save/interrupted_save.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/save/atomic_files.h"
#include "platform/save/save_journal.h"
#include "platform/save/side_names.h"

namespace {

bool Holds(const std::string& path, const JournalEntry& entry) {
  std::vector<uint8_t> bytes;
  return IsRegularFile(path) && ReadWholeFile(path, bytes) && bytes.size() == entry.Size &&
         ContentHash(bytes) == entry.Hash;
}

bool RollForward(const SaveFileOps& ops, const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& e : entries)
    if (!Holds(e.Path, e) && !Holds(e.New, e)) return false;
  for (const JournalEntry& e : entries)
    if (!Holds(e.Path, e) && ops.Rename(e.New, e.Path) != 0) return false;
  for (const JournalEntry& e : entries)
    if (!e.Old.empty() && IsRegularFile(e.Old)) ops.Unlink(e.Old);
  return true;
}

// An incomplete journal: no file was replaced yet, only the names beside them go.
void DropNamesBeside(const SaveFileOps& ops, const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& e : entries) {
    if (IsRegularFile(e.New)) ops.Unlink(e.New);
    if (!e.Old.empty() && IsRegularFile(e.Old)) ops.Unlink(e.Old);
  }
}

// A new file went missing or bad: every file that was already replaced gets its old self back.
bool RollBack(const SaveFileOps& ops, const std::vector<JournalEntry>& entries) {
  bool all = true;
  for (const JournalEntry& e : entries) {
    if (IsRegularFile(e.New)) ops.Unlink(e.New);
    if (!Holds(e.Path, e)) {
      if (!e.Old.empty() && IsRegularFile(e.Old)) ops.Unlink(e.Old);
      continue;
    }
    const int rc = e.Old.empty() ? ops.Unlink(e.Path) : ops.Rename(e.Old, e.Path);
    if (rc != 0) all = false;
  }
  return all;
}

// Whether a file at a second name is the old file kept by a save: the same file (a second link),
// or a copy of it byte for byte (where links are refused), or a copy a kill left empty. Either
// way removing it loses nothing.
bool SecondNameOf(const std::string& old, const std::string& target) {
  struct stat a {
  }, b{};
  if (lstat(old.c_str(), &a) != 0) return false;
  if (a.st_size == 0) return true;
  if (lstat(target.c_str(), &b) != 0) return false;
  if (a.st_dev == b.st_dev && a.st_ino == b.st_ino) return true;
  std::vector<uint8_t> kept, now;
  return a.st_size == b.st_size && ReadWholeFile(old, kept) && ReadWholeFile(target, now) &&
         kept == now;
}

// Files a save killed before its journal was complete left beside a target; true when there
// were any. Only the game's own are touched: names of a writer no longer running, holding what
// that save wrote there (a new file of `new_size` bytes, or one a kill left empty; a second name
// of the old file).
bool RemoveLeftovers(const SaveFileOps& ops, const std::string& target, size_t new_size) {
  bool removed = false;
  for (const std::string& path : LeftoversBeside(target, kSaveNewTag)) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 &&
        (info.st_size == 0 || static_cast<size_t>(info.st_size) == new_size) &&
        ops.Unlink(path) == 0) {
      removed = true;
    }
  }
  for (const std::string& path : LeftoversBeside(target, kSaveOldTag))
    if (SecondNameOf(path, target) && ops.Unlink(path) == 0) removed = true;
  return removed;
}

}  // namespace

SaveRecovery FinishInterruptedSave(const std::string& journal,
                                   const std::vector<std::string>& paths, size_t new_size) {
  const SaveFileOps& ops = CurrentSaveFileOps();
  std::vector<std::string> targets;
  for (const std::string& path : paths) {
    std::string target;
    if (ResolveTarget(path, target)) targets.push_back(target);
  }
  struct stat info {};
  if (lstat(journal.c_str(), &info) != 0) {
    if (errno != ENOENT) return SaveRecovery::Stuck;
    // New files without a journal: a save stopped before it committed, so it is undone.
    bool leftovers = false;
    for (const std::string& target : targets)
      leftovers = RemoveLeftovers(ops, target, new_size) || leftovers;
    return leftovers ? SaveRecovery::RolledBack : SaveRecovery::Nothing;
  }
  std::vector<uint8_t> bytes;
  if (!S_ISREG(info.st_mode) || !ReadWholeFile(journal, bytes, 1 << 20)) return SaveRecovery::Stuck;
  // A file someone else put at the journal's name is theirs: kept, and saving stays off.
  if (!JournalOfOurs(bytes)) return SaveRecovery::Stuck;
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
    RemoveLeftovers(ops, target, new_size);
  return outcome;
}
