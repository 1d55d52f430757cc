// The replay file: what a recording writes reads back the same, and every kind of damage is
// refused with a reason (and a line where there is one) instead of a crash or a wrong replay.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>

#include "record/replay_file.h"
#include "record/script.h"
#include "record/trace.h"
#include "replay_run.h"
#include "sim_process.h"
#include "support/test_env.h"

namespace {

using Kind = ScriptedEvent::Kind;

// A well-formed replay without map files or art: 70 frames, checks at 60 and 70.
std::string ValidReplay() {
  std::string text = std::string(kReplayVersionLine) + "\ntitle Ravelon v0.09a\ndate today\n";
  for (const std::string& name : ReplayMapNames())
    text += "map " + name + " missing\n";
  for (const std::string& name : ReplayArtNames())
    text += "art " + name + " missing\n";
  return text + "input\n1 focus lost\n3 key 39 down\n60 check 0123456789abcdef\n" +
         "65 mouse 10 20\n70 check fedcba9876543210\n70 end\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ReplayFileTest, ReadsAWellFormedReplay) {
  const ReplayParseResult r = ParseReplay(ValidReplay());
  ASSERT_TRUE(r.ok) << r.errorLine << ": " << r.error;
  EXPECT_EQ(r.replay.title, "Ravelon v0.09a");
  EXPECT_EQ(r.replay.endFrame, 70);
  ASSERT_EQ(r.replay.events.size(), 3u);
  EXPECT_EQ(r.replay.events[1].frame, 3);
  EXPECT_EQ(r.replay.events[1].kind, Kind::KeyDown);
  ASSERT_EQ(r.replay.checks.size(), 2u);
  EXPECT_EQ(r.replay.checks[1].hash, 0xfedcba9876543210ull);
  // CR LF line ends, as an editor on another system may leave them, read the same.
  std::string crlf;
  for (char c : ValidReplay())
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(ParseReplay(crlf).ok);
}

TEST(ReplayFileTest, RefusesDamageWithTheLineAndTheReason) {
  const std::string good = ValidReplay();
  const std::string map_line = "map " + ReplayMapNames()[0] + " missing\n";
  const std::string map_hex =
      "map " + ReplayMapNames()[0] + " 4050\n" + std::string(150, '0') + '\n';
  struct Case {
    std::string name, text, reason;
    int line;
  };
  const std::vector<Case> cases = {
      {"empty", "", "truncated", 0},
      {"wrong version", Replace(good, "replay 1", "replay 2"), "format '2' is not 1", 1},
      {"not a replay", "hello\n" + good, "not a Ravelon replay", 1},
      {"no title", Replace(good, "title Ravelon v0.09a\n", ""), "expected 'title", 2},
      {"map cut short", good.substr(0, good.find(map_line)) + map_hex, "truncated", 0},
      {"map not hex", Replace(good, map_line, map_hex + std::string(149, '0') + "g\n"),
       "non-hex digit", 6},
      {"map row short", Replace(good, map_line, map_hex + "00\n"), "is not 75 bytes", 6},
      {"map size odd", Replace(good, map_line, "map " + ReplayMapNames()[0] + " 4049\n"),
       "4050|missing|refused", 4},
      {"art hash short",
       Replace(good, ReplayArtNames()[2] + " missing", ReplayArtNames()[2] + " abc"),
       "16 hex digits", 8},
      {"no input line", Replace(good, "input\n", ""), "expected 'input'", 11},
      {"bad event", Replace(good, "3 key 39 down", "3 key 300 down"), "outside 0..255", 13},
      {"unknown event", Replace(good, "3 key 39 down", "3 dance"), "unknown event", 13},
      {"bad check hash", Replace(good, "0123456789abcdef", "0123456789abcdeg"), "F check HASH", 14},
      {"check missing", Replace(good, "60 check 0123456789abcdef\n", ""), "frame 60", 0},
      {"check extra", Replace(good, "65 mouse", "61 check 0000000000000000\n65 mouse"), "frame", 0},
      {"no end, no whole frame", good.substr(0, good.find("3 key")), "truncated: no end line", 0},
      {"damaged last line", Replace(good, "70 end\n", "70 \x01"), "damaged last line", 17},
      {"after the end", good + "71 key 39 up\n", "after the end", 18},
      {"frames backwards", Replace(good, "65 mouse", "2 mouse"), "comes after a later one", 15},
      {"frame zero", Replace(good, "1 focus lost", "0 focus lost"), "frame number from 1", 12},
  };
  for (const Case& c : cases) {
    const ReplayParseResult r = ParseReplay(c.text);
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.name << ": " << r.error;
    EXPECT_EQ(r.errorLine, c.line) << c.name << ": " << r.error;
  }
}

// A game killed while recording leaves no end line, and perhaps half a line: the frames before
// the last whole line are complete, and so is the last line's own when it is a check.
TEST(ReplayFileTest, WithoutItsEndLineAReplayEndsAtItsLastCompleteFrame) {
  const std::string good = ValidReplay();
  struct Case {
    std::string name, text;
    int end;
    size_t events, checks;
  };
  const std::vector<Case> cases = {
      {"ends after a check", Replace(good, "70 end\n", ""), 70, 3, 2},
      {"cut in a check", Replace(good, "70 check fedcba9876543210\n70 end\n", "70 check fedc"), 64,
       2, 1},
      {"cut after an event", Replace(good, "70 check fedcba9876543210\n70 end\n", ""), 64, 2, 1},
      {"cut in the end line", Replace(good, "70 end\n", "70 en"), 70, 3, 2},
  };
  for (const Case& c : cases) {
    const ReplayParseResult r = ParseReplay(c.text);
    ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
    EXPECT_TRUE(r.replay.endsEarly) << c.name;
    EXPECT_EQ(r.replay.endFrame, c.end) << c.name;
    EXPECT_EQ(r.replay.events.size(), c.events) << c.name;
    EXPECT_EQ(r.replay.checks.size(), c.checks) << c.name;
  }
  EXPECT_FALSE(ParseReplay(good).replay.endsEarly);
  EXPECT_TRUE(ParseReplay(good.substr(0, good.size() - 1)).ok);  // only the last line end lost
}

// Frame counts from the file are checked before any arithmetic on them: an end frame near the
// largest int is a mismatch of check lines found at once, not a loop that overflows.
TEST(ReplayFileTest, AnEndFrameNearTheLargestNumberIsRefusedAtOnce) {
  const std::string head = ValidReplay().substr(0, ValidReplay().find("1 focus"));
  for (const char* end : {"2147483640 end\n", "2147483647 end\n", "2147483648 end\n",
                          "2147483580 check 0123456789abcdef\n2147483640 end\n"}) {
    const ReplayParseResult r = ParseReplay(head + end);
    EXPECT_FALSE(r.ok) << end;
  }
}

TEST(ReplayFileTest, JunkNeverCrashesAndSizeIsBounded) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string junk(random() % 4096, '\0');
    for (char& c : junk)
      c = static_cast<char>(random());
    if (round % 2) junk = ValidReplay().substr(0, random() % ValidReplay().size()) + junk;
    EXPECT_FALSE(ParseReplay(junk).ok);
  }
  const ReplayParseResult huge = ParseReplay(std::string(kReplayMaxBytes + 1, 'x'));
  EXPECT_FALSE(huge.ok);
  EXPECT_NE(huge.error.find("MiB"), std::string::npos);
}

TEST(ReplayFileTest, ReadingStopsAtTheLimit) {
  ScopedWorkDir dir;
  {
    std::FILE* file = std::fopen("big.rep", "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, static_cast<long>(kReplayMaxBytes) + 4096, SEEK_SET), 0);
    std::fputc('x', file);
    std::fclose(file);
  }
  std::string text, error;
  EXPECT_FALSE(ReadReplayFile("big.rep", text, error));
  EXPECT_NE(error.find("not read further"), std::string::npos) << error;
  EXPECT_FALSE(ReadReplayFile("missing.rep", text, error));
}

// Every kind of event, with axis values a decimal print could round, reads back bit for bit.
TEST(ReplayFileTest, HeaderAndEventsRoundTrip) {
  ScopedWorkDir dir;
  std::vector<unsigned char> map(4050);
  for (size_t i = 0; i < map.size(); ++i)
    map[i] = static_cast<unsigned char>(i * 7);
  WriteFileBytes(ReplayMapNames()[0], map);
  WriteFileBytes(ReplayMapNames()[1], {1, 2, 3});
  WriteFileBytes(ReplayArtNames()[0], {'B', 'M', 9});
  const std::vector<ScriptedEvent> events = {{1, Kind::FocusLost},
                                             {1, Kind::MouseMove, -5, 299},
                                             {2, Kind::KeyDown, 255},
                                             {2, Kind::KeyUp, 0},
                                             {3, Kind::ButtonDown, 3},
                                             {3, Kind::ButtonUp, 1},
                                             {4, Kind::JoyAxisX, 0, 0, -0.30000001f},
                                             {4, Kind::JoyAxisY, 0, 0, 1e-7f},
                                             {5, Kind::JoyAxisX, 0, 0, 1.0f},
                                             {5, Kind::JoyButtonDown, 31},
                                             {6, Kind::JoyButtonUp, 0},
                                             {6, Kind::Wheel, INT32_MIN, INT32_MAX},
                                             {6, Kind::Close}};
  std::string text = ReplayHeaderText("Ravelon v0.09a", "now");
  for (const ScriptedEvent& event : events)
    text += FormatScriptEvent(event) + '\n';
  text += "6 check 0000000000000001\n6 end\n";
  const ReplayParseResult r = ParseReplay(text);
  ASSERT_TRUE(r.ok) << r.errorLine << ": " << r.error;
  ASSERT_EQ(r.replay.maps.size(), 2u);
  EXPECT_EQ(r.replay.maps[0].state, ReplayMapFile::State::Loaded);
  EXPECT_EQ(
      std::vector<unsigned char>(r.replay.maps[0].bytes.begin(), r.replay.maps[0].bytes.end()),
      map);
  EXPECT_EQ(r.replay.maps[1].state, ReplayMapFile::State::Refused);
  EXPECT_EQ(r.replay.maps[1].size, 3);
  uint64_t hash = 0;
  // Only regular files have a hash: a folder or a device under an art name reads as missing.
  EXPECT_FALSE(HashFile(".", hash));
  EXPECT_FALSE(HashFile("/dev/zero", hash));
  ASSERT_TRUE(HashFile(ReplayArtNames()[0], hash));
  EXPECT_TRUE(r.replay.art[0].present);
  EXPECT_EQ(r.replay.art[0].hash, hash);
  EXPECT_FALSE(r.replay.art[1].present);
  ASSERT_EQ(r.replay.events.size(), events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    const ScriptedEvent &want = events[i], &got = r.replay.events[i];
    EXPECT_EQ(got.frame, want.frame) << i;
    EXPECT_EQ(got.kind, want.kind) << i;
    EXPECT_EQ(got.a, want.a) << i;
    EXPECT_EQ(got.b, want.b) << i;
    EXPECT_EQ(std::memcmp(&got.value, &want.value, sizeof got.value), 0) << i;
  }
}

}  // namespace
