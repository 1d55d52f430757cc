// The picture itself: the back buffer after a number of passes of each golden script, of the
// default level left alone, of the stress state and of a map full of water, hashed and compared
// with the hashes kept in tests/sim/pixel_hashes.txt. The drawing layer's fast paths must give
// the very pixels of the plain ones; a changed pixel anywhere shows here as a changed hash.
// A change of the picture that is meant (new art, a new blend) is taken over with
// scripts/refresh-pixel-hashes.sh, which runs this test with RAVELON_WRITE_PIXEL_HASHES=1.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "sim_process.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHashes = fs::path(RAVELON_SOURCE_DIR) / "tests/sim/pixel_hashes.txt";

struct PixelCase {
  std::string name;
  std::vector<std::string> args;  // besides --dir and --shot
  bool level = true;              // the default level's map files, or the dummy map
  std::string script{};           // a golden script's text, for the map files it names
};

std::vector<PixelCase> PixelCases() {
  std::vector<PixelCase> cases;
  for (const std::string& name : GoldenScriptNames()) {
    const std::string text = ReadText(GoldenScriptPath(name));
    cases.push_back(
        {"script_" + name,
         {"--script", GoldenScriptPath(name), "--frames", std::to_string(FramesOf(text))},
         OnDefaultLevel(text)});
  }
  // 30 passes see every ripple phase of the water and four of its steps.
  cases.push_back({"default_idle", {"--frames", "60"}, true});
  cases.push_back({"stress", {"--stress", "--frames", "30"}, true});
  cases.push_back({"full_water", {"--water", "--frames", "30"}, true});
  return cases;
}

// FNV-1a over the shot's bytes: a 24-bit bitmap of the whole back buffer.
std::string HashOf(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// `more`: further arguments; with `trace`, the run's trace is kept there.
std::string ShotHash(const PixelCase& c, std::string& error,
                     const std::vector<std::string>& more = {}, std::string* trace = nullptr) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), c.level);
  CopyRecordedMaps(c.script, dir.Path());
  const std::string shot = (fs::path(dir.Path()) / "shot.bmp").string();
  const std::string trace_path = (fs::path(dir.Path()) / "run.trace").string();
  std::vector<std::string> args = {"--dir", dir.Path(), "--shot", shot};
  args.insert(args.end(), c.args.begin(), c.args.end());
  args.insert(args.end(), more.begin(), more.end());
  if (trace) args.insert(args.end(), {"--trace", trace_path});
  const SimResult run = RunSimBinary(args);
  if (run.status != 0) error = run.err;
  if (trace) *trace = ReadText(trace_path);
  return HashOf(ReadText(shot));
}

std::map<std::string, std::string> KeptHashes() {
  std::map<std::string, std::string> kept;
  for (const std::string& line : SplitLines(ReadText(kHashes.string()))) {
    std::istringstream words(line);
    std::string name, hash;
    if (line.empty() || line[0] == '#' || !(words >> name >> hash)) continue;
    kept[name] = hash;
  }
  return kept;
}

void WriteHashes(const std::map<std::string, std::string>& hashes) {
  std::string text =
      "# The back buffer after each run of tests/sim/pixel_identity_test.cpp, hashed.\n"
      "# Rewritten by scripts/refresh-pixel-hashes.sh when the picture changes on purpose.\n";
  for (const auto& [name, hash] : hashes)
    text += name + " " + hash + "\n";
  WriteText(kHashes.string(), text);
}

bool Rewriting() {
  const char* flag = std::getenv("RAVELON_WRITE_PIXEL_HASHES");
  return flag && std::string(flag) == "1";
}

}  // namespace

TEST(PixelIdentity, EveryRunDrawsTheKeptPicture) {
  const std::map<std::string, std::string> kept = KeptHashes();
  std::map<std::string, std::string> now;
  for (const PixelCase& c : PixelCases()) {
    std::string error;
    now[c.name] = ShotHash(c, error);
    ASSERT_EQ(error, "") << c.name;
  }
  if (Rewriting()) {
    WriteHashes(now);
    std::fprintf(stderr, "pixel hashes written to %s\n", kHashes.string().c_str());
    return;
  }
  for (const auto& [name, hash] : now) {
    const auto found = kept.find(name);
    if (found == kept.end()) {
      ADD_FAILURE() << name << ": no kept hash (scripts/refresh-pixel-hashes.sh)";
    } else {
      EXPECT_EQ(hash, found->second) << name << ": the picture differs from the kept one";
    }
  }
}

// Drawn plainly, without a single drawing shortcut, every run gives the kept picture and plays
// the very game of the same run drawn with them (its trace line for line): the shortcuts change
// the cost, nothing else.
TEST(PixelIdentity, PlainDrawingGivesTheKeptPicturesAndTheSameGame) {
  const std::map<std::string, std::string> kept = KeptHashes();
  for (const PixelCase& c : PixelCases()) {
    std::string error, fast_trace, plain_trace;
    ShotHash(c, error, {}, &fast_trace);
    const std::string hash = ShotHash(c, error, {"--plain-draw"}, &plain_trace);
    ASSERT_EQ(error, "") << c.name;
    const auto found = kept.find(c.name);
    ASSERT_NE(found, kept.end()) << c.name;
    EXPECT_EQ(hash, found->second) << c.name << ": drawn plainly, the picture differs";
    EXPECT_FALSE(plain_trace.empty()) << c.name;
    EXPECT_TRUE(plain_trace == fast_trace) << c.name << ": drawn plainly, the game differs";
  }
}

// The hash must tell one changed pixel, and its place, from the kept picture.
TEST(PixelIdentity, HashSeesOneChangedByte) {
  std::string picture(816 * 300 * 3, '\x40');
  const std::string kept = HashOf(picture);
  picture[123457] = '\x41';
  const std::string changed = HashOf(picture);
  EXPECT_NE(changed, kept);
  std::swap(picture[123457], picture[123458]);
  EXPECT_NE(HashOf(picture), changed);
}
