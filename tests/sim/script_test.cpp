// The runner's script parser: every kind of event, comments and line endings, file order,
// the ranges and the first bad line named.
#include <gtest/gtest.h>

#include <cstdint>

#include "record/script.h"

namespace {

using Kind = ScriptedEvent::Kind;

ScriptedEvent Only(const std::string& text) {
  const ScriptParseResult r = ParseScript(text);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.events.size(), 1u);
  return r.events.empty() ? ScriptedEvent{} : r.events[0];
}

void ExpectErrorAt(const std::string& text, int line) {
  const ScriptParseResult r = ParseScript(text);
  EXPECT_FALSE(r.ok) << "accepted: " << text;
  EXPECT_EQ(r.errorLine, line) << text;
  EXPECT_FALSE(r.error.empty());
  EXPECT_TRUE(r.events.empty());
}

TEST(ScriptTest, EveryEventKindMapsToItsBackendEvent) {
  const ScriptParseResult r = ParseScript(
      "1 key 39 down\n2 key 39 up\n3 mouse 120 -7\n4 button 1 down\n4 button 3 up\n"
      "5 joy axis x -0.5\n5 joy axis y 1\n6 joy button 31 down\n6 joy button 0 up\n"
      "7 close\n8 focus lost\n");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.events.size(), 11u);
  const Kind kinds[] = {Kind::KeyDown,     Kind::KeyUp,    Kind::MouseMove, Kind::ButtonDown,
                        Kind::ButtonUp,    Kind::JoyAxisX, Kind::JoyAxisY,  Kind::JoyButtonDown,
                        Kind::JoyButtonUp, Kind::Close,    Kind::FocusLost};
  for (size_t i = 0; i < 11; ++i)
    EXPECT_EQ(r.events[i].kind, kinds[i]) << i;
  EXPECT_EQ(r.events[0].a, 39);
  EXPECT_EQ(r.events[2].a, 120);
  EXPECT_EQ(r.events[2].b, -7);
  EXPECT_EQ(r.events[3].a, 1);
  EXPECT_EQ(r.events[4].a, 3);
  EXPECT_EQ(r.events[5].value, -0.5f);
  EXPECT_EQ(r.events[6].value, 1.0f);
  EXPECT_EQ(r.events[7].a, 31);
  EXPECT_EQ(r.events[9].frame, 7);
  EXPECT_EQ(r.events[10].frame, 8);
}

TEST(ScriptTest, CommentsBlankLinesAndLineEndingsAreIgnored) {
  const ScriptParseResult r = ParseScript(
      "# a whole-line comment\n\n   \t\n2 key 66 down   # hold jump\r\n3\tkey\t66\tup#no blank\n"
      "4 close");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.events.size(), 3u);
  EXPECT_EQ(r.events[0].frame, 2);
  EXPECT_EQ(r.events[1].kind, Kind::KeyUp);
  EXPECT_EQ(r.events[2].kind, Kind::Close);
  EXPECT_TRUE(ParseScript("").ok);
  EXPECT_TRUE(ParseScript("# only\n#comments\n").events.empty());
}

TEST(ScriptTest, EventsKeepFileOrderEvenWhenFramesAreUnsorted) {
  const ScriptParseResult r = ParseScript("5 key 1 down\n2 key 2 down\n5 key 3 down\n");
  ASSERT_EQ(r.events.size(), 3u);
  EXPECT_EQ(r.events[0].a, 1);
  EXPECT_EQ(r.events[1].a, 2);
  EXPECT_EQ(r.events[2].a, 3);
}

TEST(ScriptTest, RangesAreInclusiveAtTheirEnds) {
  EXPECT_EQ(Only("1 key 0 down").a, 0);
  EXPECT_EQ(Only("1 key 255 up").a, 255);
  EXPECT_EQ(Only("1 joy button 0 down").a, 0);
  EXPECT_EQ(Only("1 joy axis x -1").value, -1.0f);
  EXPECT_EQ(Only("1 joy axis x -1.0").value, -1.0f);
  EXPECT_EQ(Only("1 joy axis y +0.25").value, 0.25f);
  // Held as the platform's single-precision float, rounded the way a float reads it.
  EXPECT_EQ(Only("1 joy axis x 0.1").value, 0.1f);
  EXPECT_EQ(Only("1 joy axis x 1e-1").value, 0.1f);
  EXPECT_EQ(Only("2147483647 close").frame, 2147483647);
  const ScriptedEvent wheel = Only("3 wheel -2147483648 2147483647");
  EXPECT_EQ(wheel.kind, Kind::Wheel);
  EXPECT_EQ(wheel.a, INT32_MIN);
  EXPECT_EQ(wheel.b, INT32_MAX);
  EXPECT_EQ(FormatScriptEvent(wheel), "3 wheel -2147483648 2147483647");
}

TEST(ScriptTest, OutOfRangeValuesAreErrorsWithTheirLine) {
  ExpectErrorAt("1 key 256 down", 1);
  ExpectErrorAt("1 key -1 down", 1);
  ExpectErrorAt("# fine\n1 key 32 down\n1 button 0 down", 3);
  ExpectErrorAt("1 button 4 up", 1);
  ExpectErrorAt("1 joy button 32 down", 1);
  ExpectErrorAt("1 joy button -1 down", 1);
  ExpectErrorAt("\n\n1 joy axis x 1.0001", 3);
  ExpectErrorAt("1 joy axis y -1.5", 1);
  ExpectErrorAt("1 joy axis x nan", 1);
  ExpectErrorAt("1 joy axis x inf", 1);
  ExpectErrorAt("0 close", 1);
  ExpectErrorAt("-3 close", 1);
  ExpectErrorAt("1 wheel 2147483648 0", 1);
  ExpectErrorAt("1 wheel 0 -2147483649", 1);
}

TEST(ScriptTest, UnreadableLinesAreErrors) {
  const char* bad[] = {"close",
                       "x key 1 down",
                       "1",
                       "1 jump",
                       "1 key",
                       "1 key 12",
                       "1 key 12 pressed",
                       "1 key 0x20 down",
                       "1 key 12 down now",
                       "1 mouse 4",
                       "1 mouse a b",
                       "1 mouse 1.5 2",
                       "1 button 1",
                       "1 joy",
                       "1 joy axis z 0",
                       "1 joy axis x",
                       "1 joy axis x 0.5 0",
                       "1 joy axis x 0.5x",
                       "1 joy button 3",
                       "1 joy button 3 held",
                       "1 joy hat 1 down",
                       "1 close now",
                       "1 wheel",
                       "1 wheel 1",
                       "1 wheel 1 2 3",
                       "1 wheel up 2",
                       "1 focus",
                       "1 focus gained",
                       "1.5 close",
                       "1 KEY 12 down",
                       "1 key 12 DOWN",
                       "++1 close",
                       "1 key 99999999999999999999 down",
                       "1 text",
                       "1 text a",
                       "1 text 31",
                       "1 text 127",
                       "1 text 55296",
                       "1 text 1114112",
                       "1 text 65 66"};
  for (const char* line : bad)
    ExpectErrorAt(std::string("# header\n") + line + "\n", 2);
}

TEST(ScriptTest, TypedCharactersAreCodePointsAndFormatBackAsRead) {
  for (const int code : {32, 65, 126, 0xA0, 0x20AC, 0x10FFFF}) {
    const std::string line = "7 text " + std::to_string(code);
    const ScriptedEvent event = Only(line + "\n");
    EXPECT_EQ(event.kind, Kind::Text);
    EXPECT_EQ(event.a, code);
    EXPECT_EQ(event.frame, 7);
    EXPECT_EQ(FormatScriptEvent(event), line);
  }
}

TEST(ScriptTest, TheFirstBadLineIsNamedAndNothingIsKept) {
  const ScriptParseResult r = ParseScript("1 key 1 down\n2 nonsense\n3 more nonsense\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorLine, 2);
  EXPECT_NE(r.error.find("nonsense"), std::string::npos);
}

}  // namespace
