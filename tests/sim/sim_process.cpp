// Runs ravelon-sim as a child process in a given folder and collects its exit status, standard
// output and standard error; copies the built art into a test's folder.
#include "sim_process.h"

#include "support/test_env.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

std::string SimBinary() {
  const char* path = std::getenv("RAVELON_SIM");
  return path ? path : "ravelon-sim";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

SimResult RunSimBinary(const std::vector<std::string>& args, const std::string& dir,
                       const std::string& input) {
  const auto scratch =
      std::filesystem::temp_directory_path() / ("ravelon-sim-out-" + std::to_string(::getpid()));
  std::filesystem::create_directories(scratch);
  const std::string out = (scratch / "out").string(), err = (scratch / "err").string();
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on `"literal" + std::string&&`.
  std::string command = "cd ";
  command += Quote(dir);
  command += " && ";
  command += Quote(SimBinary());
  // First, so that an option missing its value still misses it.
  if (PlainDrawAsked()) command += " --plain-draw";
  for (const auto& arg : args) {
    command += ' ';
    command += Quote(arg);
  }
  if (!input.empty()) {
    command += " <";
    command += Quote(input);
  }
  command += " >";
  command += Quote(out);
  command += " 2>";
  command += Quote(err);
  const int raw = std::system(command.c_str());
  SimResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadText(out);
  result.err = ReadText(err);
  std::filesystem::remove_all(scratch);
  return result;
}

void CopyArtTo(const std::string& dir, bool level) {
  for (const auto& entry : std::filesystem::directory_iterator(RAVELON_ART_DIR)) {
    if (!level && entry.path().extension() == ".raw") continue;
    if (entry.is_regular_file()) {
      std::filesystem::copy_file(entry.path(), std::filesystem::path(dir) / entry.path().filename(),
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> GoldenScriptNames() {
  std::vector<std::string> names;
  const auto folder = std::filesystem::path(RAVELON_SOURCE_DIR) / "tests/sim/scripts";
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string GoldenScriptPath(const std::string& name) {
  return (std::filesystem::path(RAVELON_SOURCE_DIR) / "tests/sim/scripts" / (name + ".txt"))
      .string();
}

std::string HeaderValue(const std::string& script, const std::string& name) {
  for (const auto& line : SplitLines(script)) {
    std::istringstream words(line);
    std::string hash, key, value;
    if (words >> hash >> key >> value && hash == "#" && key == name + ":") return value;
  }
  return "";
}

int FramesOf(const std::string& script) {
  const std::string value = HeaderValue(script, "frames");
  return value.empty() ? 1 : std::stoi(value);
}

bool OnDefaultLevel(const std::string& script) {
  return HeaderValue(script, "level") == "default";
}

void CopyRecordedMaps(const std::string& script, const std::string& dir) {
  namespace fs = std::filesystem;
  const fs::path maps = fs::path(RAVELON_SOURCE_DIR) / "tests/sim/maps";
  const std::string name = HeaderValue(script, "maps");
  // A recording made without map files has none to keep (and git keeps no empty folder).
  std::error_code none;
  if (name.empty() || !fs::is_directory(maps / name, none)) return;
  for (const auto& entry : fs::directory_iterator(maps / name))
    fs::copy_file(entry.path(), fs::path(dir) / entry.path().filename(),
                  fs::copy_options::overwrite_existing);
}
