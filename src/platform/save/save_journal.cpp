// The save's journal: written as text, read back with every entry checked against what a save
// of ours could have written.
#include "platform/save/save_journal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>

#include "platform/save/side_names.h"

namespace {

const char* const kJournalHeader = "ravelon save journal 1";
const char* const kJournalCommit = "commit";

std::string Hex(const std::string& text) {
  static const char* const kDigits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out.empty() ? "-" : out;
}

bool Unhex(const std::string& hex, std::string& text) {
  text.clear();
  if (hex == "-") return true;
  if (hex.size() % 2 != 0) return false;
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    text += static_cast<char>(high * 16 + low);
  }
  return true;
}

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool ParseNumber(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t next = value * 10 + static_cast<uint64_t>(c - '0');
    if (next / 10 != value) return false;
    value = next;
  }
  return true;
}

// A name the save itself could have made beside `path`: no other file is ever touched.
bool NameOfOurs(const std::string& name, const std::string& path, const char* tag) {
  if (name.empty()) return true;
  const std::string prefix = path + tag;
  return StartsWith(name, prefix) && name.find('/', prefix.size()) == std::string::npos &&
         name.size() > prefix.size();
}

bool ParseEntry(const std::string& line, const std::vector<std::string>& allowed,
                JournalEntry& entry) {
  const std::vector<std::string> fields = SplitOn(line, ' ');
  uint64_t size = 0;
  if (fields.size() != 5 || !Unhex(fields[0], entry.Path) || !Unhex(fields[1], entry.New) ||
      !Unhex(fields[2], entry.Old) || !ParseNumber(fields[3], size) ||
      !ParseNumber(fields[4], entry.Hash)) {
    return false;
  }
  entry.Size = static_cast<size_t>(size);
  bool known = false;
  for (const std::string& path : allowed)
    known = known || entry.Path == path;
  return known && !entry.New.empty() && NameOfOurs(entry.New, entry.Path, kSaveNewTag) &&
         NameOfOurs(entry.Old, entry.Path, kSaveOldTag);
}

}  // namespace

uint64_t ContentHash(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool JournalOfOurs(const std::vector<uint8_t>& bytes) {
  const std::string head = std::string(kJournalHeader) + "\n";
  const size_t n = std::min(head.size(), bytes.size());
  return std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n), head.begin());
}

std::vector<uint8_t> JournalText(const std::vector<JournalEntry>& entries) {
  std::string text = std::string(kJournalHeader) + "\n";
  for (const JournalEntry& t : entries) {
    text += Hex(t.Path) + " " + Hex(t.New) + " " + Hex(t.Old) + " " + std::to_string(t.Size) + " " +
            std::to_string(t.Hash) + "\n";
  }
  text += std::string(kJournalCommit) + "\n";
  return {text.begin(), text.end()};
}

// The entries it could read, and whether the journal was complete (its last line written).
bool ParseJournal(const std::vector<uint8_t>& bytes, const std::vector<std::string>& allowed,
                  std::vector<JournalEntry>& entries) {
  const std::vector<std::string> lines = SplitOn(std::string(bytes.begin(), bytes.end()), '\n');
  if (lines.empty() || lines[0] != kJournalHeader) return false;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i] == kJournalCommit) return i + 2 == lines.size() && lines[i + 1].empty();
    JournalEntry entry;
    if (!ParseEntry(lines[i], allowed, entry)) return false;
    entries.push_back(entry);
  }
  return false;
}
