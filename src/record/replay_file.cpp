// Replays as text: the parser with each mistake named by its line, the map rows in hex, the art's
// hashes, and the header and state hash a recording writes.
#include "record/replay_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/files.h"
#include "record/script.h"
#include "record/trace.h"
#include "shared/play_files.h"
#include "world/map_files.h"

namespace {

using MapState = ReplayMapFile::State;

constexpr int64_t kMapBytes = 4050;
constexpr size_t kHexRowBytes = 75;  // one map row per line

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
      ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

template <typename T>
std::optional<T> Number(std::string_view text, int base = 10) {
  T value{};
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<uint64_t> Hash(std::string_view text) {
  if (text.size() != 16) return std::nullopt;
  return Number<uint64_t>(text, 16);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The lines of the text, numbered from 1, without their CR LF or LF.
class Lines {
 public:
  explicit Lines(std::string_view text) : Text(text) {}
  bool Next(std::string_view& line) {
    if (Pos >= Text.size()) return false;
    size_t end = Text.find('\n', Pos);
    Cut = end == std::string_view::npos;
    if (Cut) end = Text.size();
    line = Text.substr(Pos, end - Pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Pos = end + 1;
    ++Number;
    return true;
  }
  int Number = 0;
  bool Cut = false;  // the last line returned has no line end: the writer may have stopped in it

 private:
  std::string_view Text;
  size_t Pos = 0;
};

class ReplayParser {
 public:
  explicit ReplayParser(std::string_view text) : In(text) {}

  ReplayParseResult Run() {
    if (Header() && Body()) Complete();
    return std::move(Result);
  }

 private:
  bool Fail(std::string message, bool whole_file = false) {
    if (!Result.ok) return false;
    Result.ok = false;
    Result.errorLine = whole_file ? 0 : In.Number;
    Result.error = std::move(message);
    return false;
  }

  bool NextLine(std::string_view& line, const char* what) {
    if (In.Next(line)) return true;
    return Fail(std::string("truncated: the file ends before ") + what, true);
  }

  bool Header() {
    std::string_view line;
    if (!NextLine(line, "its first line")) return false;
    if (line != kReplayVersionLine) {
      if (line.rfind("ravelon replay ", 0) == 0) {
        return Fail("replay format '" + std::string(line.substr(15)) + "' is not 1");
      }
      return Fail("not a Ravelon replay (the first line is not '" +
                  std::string(kReplayVersionLine) + "')");
    }
    if (!Field("title", Result.replay.title) || !Field("date", Result.replay.date)) return false;
    for (const std::string& name : ReplayMapNames())
      if (!MapSection(name)) return false;
    for (const std::string& name : ReplayArtNames())
      if (!ArtLine(name)) return false;
    if (!NextLine(line, "the input")) return false;
    return line == "input" || Fail("expected 'input' after the header");
  }

  bool Field(const char* key, std::string& value) {
    std::string_view line;
    if (!NextLine(line, "the header is complete")) return false;
    const std::string prefix = std::string(key) + ' ';
    if (line.rfind(prefix, 0) != 0 || line.size() == prefix.size()) {
      return Fail(std::string("expected '") + key + " ...' in the header");
    }
    value = std::string(line.substr(prefix.size()));
    return true;
  }

  bool MapSection(const std::string& name) {
    std::string_view line;
    if (!NextLine(line, "the map files")) return false;
    const auto w = Words(line);
    if (w.size() < 3 || w[0] != "map" || w[1] != name) {
      return Fail("expected the map file " + name);
    }
    ReplayMapFile map;
    map.name = name;
    if (w.size() == 3 && w[2] == "missing") {
      map.state = MapState::Missing;
    } else if (w.size() == 4 && w[2] == "refused" && Number<int64_t>(w[3])) {
      map.state = MapState::Refused;
      map.size = *Number<int64_t>(w[3]);
    } else if (w.size() == 3 && w[2] == std::to_string(kMapBytes)) {
      map.state = MapState::Loaded;
      map.size = kMapBytes;
      if (!MapRows(map)) return false;
    } else {
      return Fail("expected: map " + name + " 4050|missing|refused SIZE");
    }
    Result.replay.maps.push_back(std::move(map));
    return true;
  }

  bool MapRows(ReplayMapFile& map) {
    while (map.bytes.size() < static_cast<size_t>(map.size)) {
      std::string_view line;
      if (!NextLine(line, "the map rows are complete")) return false;
      const size_t want = std::min(kHexRowBytes, static_cast<size_t>(map.size) - map.bytes.size());
      if (line.size() != want * 2)
        return Fail("a row of " + map.name + " is not " + std::to_string(want) + " bytes of hex");
      for (size_t i = 0; i < line.size(); i += 2) {
        const int hi = HexDigit(line[i]), lo = HexDigit(line[i + 1]);
        if (hi < 0 || lo < 0) return Fail("a row of " + map.name + " holds a non-hex digit");
        map.bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
      }
    }
    return true;
  }

  bool ArtLine(const std::string& name) {
    std::string_view line;
    if (!NextLine(line, "the art hashes")) return false;
    const auto w = Words(line);
    if (w.size() != 3 || w[0] != "art" || w[1] != name)
      return Fail("expected the art file " + name);
    ReplayArtFile art;
    art.name = name;
    if (w[2] != "missing") {
      const auto hash = Hash(w[2]);
      if (!hash) return Fail("the hash of " + name + " is not 16 hex digits");
      art.present = true;
      art.hash = *hash;
    }
    Result.replay.art.push_back(art);
    return true;
  }

  bool Body() {
    std::string_view line;
    while (In.Next(line)) {
      if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
        line = line.substr(0, hash);
      }
      const auto w = Words(line);
      if (w.empty()) continue;
      if (Result.replay.endFrame > 0) return Fail("lines after the end line");
      // A line cut short by a kill may still read as a line: only a whole end line is taken.
      // What a kill leaves is the start of a line as the recorder writes it, printable text.
      if (In.Cut && !(w.size() == 2 && w[1] == "end")) {
        if (!Printable(line)) return Fail("a damaged last line");
        break;
      }
      if (!BodyLine(line, w)) return false;
      LastLineFrame = LastFrame;
      LastLineIsCheck = w.size() >= 2 && w[1] == "check";
    }
    return Result.replay.endFrame > 0 || EndEarly();
  }

  static bool Printable(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; });
  }

  // No end line: the game was killed or crashed. Frames before the last line's are complete,
  // and so is the last line's when it is a check (the last line a pass writes).
  bool EndEarly() {
    Replay& r = Result.replay;
    const int end = LastLineIsCheck ? LastLineFrame : LastLineFrame - 1;
    if (end < 1) return Fail("truncated: no end line and no complete frame", true);
    std::erase_if(r.events, [end](const ScriptedEvent& e) { return e.frame > end; });
    std::erase_if(r.checks, [end](const ReplayCheck& c) { return c.frame > end; });
    r.endFrame = end;
    r.endsEarly = true;
    return true;
  }

  bool BodyLine(std::string_view line, const std::vector<std::string_view>& w) {
    const auto frame = Number<int>(w[0]);
    if (!frame || *frame < 1) return Fail("expected a frame number from 1: " + std::string(w[0]));
    if (*frame < LastFrame) return Fail("frame " + std::string(w[0]) + " comes after a later one");
    LastFrame = *frame;
    if (w.size() >= 2 && w[1] == "check") {
      const auto hash = w.size() == 3 ? Hash(w[2]) : std::nullopt;
      if (!hash) return Fail("expected: F check HASH (16 hex digits)");
      Result.replay.checks.push_back({*frame, *hash});
      return true;
    }
    if (w.size() >= 2 && w[1] == "end") {
      if (w.size() != 2) return Fail("expected: F end");
      Result.replay.endFrame = *frame;
      return true;
    }
    ScriptParseResult parsed = ParseScript(line);
    if (!parsed.ok) return Fail(parsed.error);
    Result.replay.events.push_back(parsed.events.at(0));
    return true;
  }

  // A check every 60 frames and one at the end: a lost or added check line is a damaged file.
  // The wanted frames are worked out one at a time in 64 bits: an end frame near the largest
  // number still costs nothing.
  void Complete() {
    const Replay& r = Result.replay;
    const int64_t end = r.endFrame;
    // A recording that ends early has its last check only if the end line was all it lost.
    const bool end_check = end % kReplayCheckEvery != 0 &&
                           (!r.endsEarly || (!r.checks.empty() && r.checks.back().frame == end));
    const int64_t wanted = end / kReplayCheckEvery + (end_check ? 1 : 0);
    const int64_t have = static_cast<int64_t>(r.checks.size());
    for (int64_t i = 0; i < std::max(wanted, have); ++i) {
      const int64_t want = std::min((i + 1) * kReplayCheckEvery, end);
      if (i >= wanted || i >= have || want != r.checks[static_cast<size_t>(i)].frame) {
        const int64_t frame = i < wanted ? want : r.checks[static_cast<size_t>(i)].frame;
        Fail("check lines do not match the frames (at frame " + std::to_string(frame) + ")", true);
        return;
      }
    }
  }

  Lines In;
  ReplayParseResult Result;
  int LastFrame = 1;
  int LastLineFrame = 0;
  bool LastLineIsCheck = false;
};

std::string HexRows(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
    if ((i + 1) % kHexRowBytes == 0 || i + 1 == bytes.size()) out += '\n';
  }
  return out;
}

}  // namespace

const std::vector<std::string>& ReplayMapNames() {
  static const std::vector<std::string> kNames = {kBGMapFile, kBlockMapFile};
  return kNames;
}

const std::vector<std::string>& ReplayArtNames() {
  static const std::vector<std::string> kNames = {kTileSheetFile, kWaterSheetFile, kActorSheetFile,
                                                  kInstructionsFile, kPaletteListingFile};
  return kNames;
}

ReplayParseResult ParseReplay(std::string_view text) {
  if (text.size() > kReplayMaxBytes) {
    ReplayParseResult result;
    result.ok = false;
    result.error =
        "larger than the " + std::to_string(kReplayMaxBytes >> 20) + " MiB a replay may be";
    return result;
  }
  return ReplayParser(text).Run();
}

// Only a regular file of at most the game's file size limit has a hash: a device or a FIFO
// under an art file's name would otherwise be read for ever.
bool HashFile(const std::string& path, uint64_t& hash) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  hash = kFnvOffsetBasis;
  char chunk[65536];
  size_t total = 0;
  while (in) {
    in.read(chunk, sizeof chunk);
    total += static_cast<size_t>(in.gcount());
    if (total > kMaxFileBytes) return false;
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash ^= static_cast<uint8_t>(chunk[i]);
      hash *= kFnvPrime;
    }
  }
  return !in.bad();
}

ReplayMapFile ReadReplayMapFile(const std::string& name) {
  ReplayMapFile map;
  map.name = name;
  std::error_code error;
  if (!std::filesystem::exists(name, error)) return map;
  map.state = MapState::Refused;
  const auto size = std::filesystem::file_size(name, error);
  map.size = error ? 0 : static_cast<int64_t>(size);
  if (map.size != kMapBytes) return map;
  std::ifstream in(name, std::ios::binary);
  map.bytes.resize(kMapBytes);
  in.read(reinterpret_cast<char*>(map.bytes.data()), kMapBytes);
  if (in.gcount() == kMapBytes) {
    map.state = MapState::Loaded;
  } else {
    map.bytes.clear();
  }
  return map;
}

std::string ReplayHeaderText(const std::string& title, const std::string& date) {
  std::string out = std::string(kReplayVersionLine) + "\ntitle " + title + "\ndate " + date + '\n';
  for (const std::string& name : ReplayMapNames()) {
    const ReplayMapFile map = ReadReplayMapFile(name);
    out += "map " + name + ' ';
    if (map.state == MapState::Missing) {
      out += "missing\n";
    } else if (map.state == MapState::Refused) {
      out += "refused " + std::to_string(map.size) + '\n';
    } else {
      out += std::to_string(map.size) + '\n' + HexRows(map.bytes);
    }
  }
  for (const std::string& name : ReplayArtNames()) {
    uint64_t hash = 0;
    out += "art " + name + ' ' + (HashFile(name, hash) ? HashHex(hash) : "missing") + '\n';
  }
  return out + "input\n";
}

uint64_t StateHash(int frame) {
  const std::string trace = TraceFrame(frame);
  return Fnv1a64(reinterpret_cast<const uint8_t*>(trace.data()), trace.size());
}

std::string CheckLine(int frame) {
  return std::to_string(frame) + " check " + HashHex(StateHash(frame)) + '\n';
}

std::string EndLine(int frame) {
  return std::to_string(frame) + " end\n";
}
