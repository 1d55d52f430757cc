// The save's journal: the record that, once complete on disk, commits the save. The save writes
// it (atomic_files.cpp); the start-up check reads it back (interrupted_save.cpp), trusting
// nothing in it it could not have written itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct JournalEntry {
  std::string Path;  // the file itself, links followed
  std::string New;   // the complete new file, until renamed over Path
  std::string Old;   // a second name of the old file, empty when there was none
  size_t Size = 0;   // of the new file
  uint64_t Hash = 0;
};

uint64_t ContentHash(const std::vector<uint8_t>& bytes);
bool IsRegularFile(const std::string& path);

// True when `bytes` could be a journal of the game's, whole or cut short by a kill: they begin
// as every journal begins (or are a beginning of that).
bool JournalOfOurs(const std::vector<uint8_t>& bytes);

std::vector<uint8_t> JournalText(const std::vector<JournalEntry>& entries);
// The entries it could read; true only for a complete journal of `allowed` targets alone.
bool ParseJournal(const std::vector<uint8_t>& bytes, const std::vector<std::string>& allowed,
                  std::vector<JournalEntry>& entries);
