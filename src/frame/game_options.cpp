// The game's command line: the option table, its parser and the help text.
#include "frame/game_options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace {

constexpr int kMinScale = 1;
constexpr int kMaxScale = 8;

// One option of the table: its name, the name of its value (empty for a plain switch), what it
// does, and how it is applied. Apply returns an error line, or an empty string when it took.
struct OptionRow {
  const char* name;
  const char* value_name;
  const char* meaning;
  std::string (*apply)(const std::string& value, GameOptions& options);
};

// The whole number `value` into `out` when it lies in lo..hi; otherwise why not.
std::string WholeNumberIn(const char* option, const std::string& value, int lo, int hi, int& out) {
  int number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (error != std::errc() || stop != end || number < lo || number > hi) {
    return std::string(option) + " wants a whole number from " + std::to_string(lo) + " to " +
           std::to_string(hi) + ", not \"" + value + "\"";
  }
  out = number;
  return "";
}

std::string ApplyScale(const std::string& value, GameOptions& options) {
  return WholeNumberIn("--scale", value, kMinScale, kMaxScale, options.scale);
}

std::string ApplyFullscreen(const std::string&, GameOptions& options) {
  options.fullscreen = true;
  return "";
}

std::string ApplyFit(const std::string&, GameOptions& options) {
  options.fit = true;
  return "";
}

// A file to write while playing; whether it can be created is found out when the game starts.
std::string ApplyRecord(const std::string& value, GameOptions& options) {
  if (value.empty()) return "--record needs a file name";
  options.record = value;
  return "";
}

std::string ApplyTrace(const std::string& value, GameOptions& options) {
  if (value.empty()) return "--trace needs a file name";
  options.trace = value;
  return "";
}

std::string ApplyMute(const std::string&, GameOptions& options) {
  options.muted = true;
  return "";
}

std::string ApplyVolume(const std::string& value, GameOptions& options) {
  return WholeNumberIn("--volume", value, 0, 100, options.volume);
}

std::string ApplyMusic(const std::string& value, GameOptions& options) {
  return WholeNumberIn("--music", value, 0, 100, options.music);
}

std::string ApplyPlainDraw(const std::string&, GameOptions& options) {
  options.plain_draw = true;
  return "";
}

std::string ApplyDir(const std::string& value, GameOptions& options) {
  if (value.empty()) return "--dir needs a folder";
  options.dir = value;
  return "";
}

std::string ApplyLevel(const std::string& value, GameOptions& options) {
  if (value.empty()) return "--level needs a file name";
  options.level = value;
  return "";
}

std::string ApplyHelp(const std::string&, GameOptions& options) {
  options.help = true;
  return "";
}

constexpr OptionRow kOptions[] = {
    {"--scale", "N", "open the window at N times 816x300 (1 to 8)", ApplyScale},
    {"--fullscreen", "", "open full screen (Alt+Enter or F11 switches while playing)",
     ApplyFullscreen},
    {"--fit", "",
     "show the largest picture that fits the window, smoothed only at the seams (F9 switches)",
     ApplyFit},
    {"--record", "FILE", "record this play as a replay that ravelon-sim --replay plays back",
     ApplyRecord},
    {"--trace", "FILE", "write the state of every frame, as ravelon-sim --trace does", ApplyTrace},
    {"--mute", "", "start with the sound off (M switches it on and off)", ApplyMute},
    {"--volume", "N", "the sound's volume, 0 to 100 (default 100)", ApplyVolume},
    {"--music", "N", "the music's level under the effects, 0 (none) to 100 (default 50)",
     ApplyMusic},
    {"--plain-draw", "", "draw without the drawing shortcuts: the same picture, more work",
     ApplyPlainDraw},
    {"--dir", "FOLDER",
     "play in this folder (laid out with the art and the default level when the game is installed)",
     ApplyDir},
    {"--level", "FILE", "start with this level file (a Tiled map) instead of the map files",
     ApplyLevel},
    {"--help", "", "list these options and end", ApplyHelp},
};

const OptionRow* FindOption(const std::string& name) {
  for (const OptionRow& row : kOptions) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

// A name as one spelling: "x", "./x" and the full path of x are one file.
std::filesystem::path OneSpelling(const std::string& name, std::error_code& error) {
  const std::filesystem::path full = std::filesystem::absolute(name, error);
  return error ? full : std::filesystem::weakly_canonical(full, error).lexically_normal();
}

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error_a, error_b;
  const auto full_a = OneSpelling(a, error_a);
  const auto full_b = OneSpelling(b, error_b);
  return a == b || (!error_a && !error_b && full_a == full_b);
}

}  // namespace

OptionsOutcome ParseGameOptions(const std::vector<std::string>& args, GameOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    // "--scale=3" reads as "--scale 3".
    std::string name = args[i];
    std::string value;
    bool inline_value = false;
    if (const size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
      inline_value = true;
    }
    const OptionRow* row = FindOption(name);
    if (!row) return {false, "unknown option \"" + args[i] + "\" (try --help)"};
    const bool wants_value = row->value_name[0] != '\0';
    if (wants_value && !inline_value) {
      if (i + 1 >= args.size()) {
        return {false, name + " needs a value: " + name + " " + row->value_name};
      }
      value = args[++i];
    } else if (!wants_value && inline_value) {
      return {false, name + " takes no value"};
    }
    if (std::string error = row->apply(value, options); !error.empty()) return {false, error};
  }
  // A replay starts from the map files it carries: a level file's water and starts are not
  // among them.
  if (!options.record.empty() && !options.level.empty()) {
    return {false, "--record cannot be used with --level (a replay starts from the map files)"};
  }
  if (!options.record.empty() && SameFileName(options.record, options.trace)) {
    return {false, "--record and --trace name the same file, " + options.trace};
  }
  return {};
}

std::string GameOptionsHelp() {
  std::string text = "Options:\n";
  for (const OptionRow& row : kOptions) {
    std::string left = std::string("  ") + row.name;
    if (row.value_name[0] != '\0') left += std::string(" ") + row.value_name;
    left.resize(std::max<size_t>(left.size() + 2, 18), ' ');
    text += left + row.meaning + "\n";
  }
  return text;
}
