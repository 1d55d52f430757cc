// The start-up check after an interrupted save: a complete journal rolled forward (or back,
// should a new file be damaged), an incomplete one rolled back, and the leftovers removed.
#include "platform/save/interrupted_save.h"

#include <dirent.h>
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

// Files a save killed before its journal was complete left beside a target; true when there
// were any.
bool RemoveLeftovers(const SaveFileOps& ops, const std::string& target) {
  DIR* folder = opendir(FolderOf(target).c_str());
  if (!folder) return false;
  const std::string base = BaseOf(target);
  std::vector<std::string> names;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (StartsWith(name, base + kSaveNewTag) || StartsWith(name, base + kSaveOldTag))
      names.push_back(name);
  }
  closedir(folder);
  bool removed = false;
  for (const std::string& name : names) {
    const std::string path = FolderOf(target) + "/" + name;
    if (IsRegularFile(path) && ops.Unlink(path) == 0) removed = true;
  }
  return removed;
}

}  // namespace

SaveRecovery FinishInterruptedSave(const std::string& journal,
                                   const std::vector<std::string>& paths) {
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
      leftovers = RemoveLeftovers(ops, target) || leftovers;
    return leftovers ? SaveRecovery::RolledBack : SaveRecovery::Nothing;
  }
  std::vector<uint8_t> bytes;
  if (!S_ISREG(info.st_mode) || !ReadWholeFile(journal, bytes, 1 << 20)) return SaveRecovery::Stuck;
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
    RemoveLeftovers(ops, target);
  return outcome;
}
