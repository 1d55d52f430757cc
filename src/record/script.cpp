// The script parser: tokens, numbers with their ranges, one event per line, and the first bad
// line named.
#include "record/script.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>

namespace {

using Kind = ScriptedEvent::Kind;

// The part of a line before its comment, split at blanks (a CR of a CR LF file is a blank too).
std::vector<std::string_view> Tokens(std::string_view line) {
  if (const size_t hash = line.find('#'); hash != std::string_view::npos)
    line = line.substr(0, hash);
  std::vector<std::string_view> tokens;
  size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  while (i < line.size()) {
    while (i < line.size() && blank(line[i]))
      ++i;
    const size_t start = i;
    while (i < line.size() && !blank(line[i]))
      ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// A whole token as a decimal integer (an optional sign, digits only), wide enough to range-check.
std::optional<int64_t> Integer(std::string_view token) {
  if (!token.empty() && token[0] == '+') token.remove_prefix(1);
  if (token.empty() || token[0] == '+') return std::nullopt;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error == std::errc::result_out_of_range) {
    return token[0] == '-' ? INT64_MIN : INT64_MAX;
  }
  if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

// The axis is held as the platform's single-precision float, so it is read as one.
std::optional<float> Float(std::string_view token) {
  if (!token.empty() && token[0] == '+') token.remove_prefix(1);
  if (token.empty() || token[0] == '+') return std::nullopt;
  float value = 0;
  const auto [end, error] =
      std::from_chars(token.data(), token.data() + token.size(), value, std::chars_format::general);
  if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

struct LineResult {
  std::optional<ScriptedEvent> event;  // empty for a blank line or a frame never run
  std::string error;
};

LineResult Fail(std::string message) {
  return {std::nullopt, std::move(message)};
}

// "down" or "up" into the pair of event kinds.
std::optional<Kind> UpDown(std::string_view token, Kind down, Kind up) {
  if (token == "down") return down;
  if (token == "up") return up;
  return std::nullopt;
}

// "F <word> N down|up": a number in lo..hi (`what` names it in a failure) and the press or the
// release.
LineResult ParseNumberUpDown(const std::vector<std::string_view>& t, ScriptedEvent event,
                             const char* usage, const char* what, int64_t lo, int64_t hi, Kind down,
                             Kind up) {
  if (t.size() != 4) return Fail(usage);
  const auto number = Integer(t[2]);
  if (!number) return Fail(std::string(what) + " is not a number: " + std::string(t[2]));
  if (*number < lo || *number > hi) {
    return Fail(std::string(what) + " outside " + std::to_string(lo) + ".." + std::to_string(hi) +
                ": " + std::string(t[2]));
  }
  const auto kind = UpDown(t[3], down, up);
  if (!kind) return Fail("expected down or up: " + std::string(t[3]));
  event.kind = *kind;
  event.a = static_cast<int>(*number);
  return {event, {}};
}

// "F <word> A B": two numbers in the int range.
LineResult ParsePair(const std::vector<std::string_view>& t, ScriptedEvent event, const char* usage,
                     const char* not_numbers, const char* out_of_range, Kind kind) {
  if (t.size() != 4) return Fail(usage);
  const auto a = Integer(t[2]);
  const auto b = Integer(t[3]);
  if (!a || !b) return Fail(not_numbers);
  if (*a < INT32_MIN || *a > INT32_MAX || *b < INT32_MIN || *b > INT32_MAX) {
    return Fail(out_of_range);
  }
  event.kind = kind;
  event.a = static_cast<int>(*a);
  event.b = static_cast<int>(*b);
  return {event, {}};
}

LineResult ParseKey(const std::vector<std::string_view>& t, ScriptedEvent event) {
  return ParseNumberUpDown(t, event, "expected: F key CODE down|up", "key code", 0, 255,
                           Kind::KeyDown, Kind::KeyUp);
}

LineResult ParseMouse(const std::vector<std::string_view>& t, ScriptedEvent event) {
  return ParsePair(t, event, "expected: F mouse X Y", "mouse position is not a pair of numbers",
                   "mouse position out of range", Kind::MouseMove);
}

LineResult ParseButton(const std::vector<std::string_view>& t, ScriptedEvent event) {
  return ParseNumberUpDown(t, event, "expected: F button 1|2|3 down|up", "mouse button", 1, 3,
                           Kind::ButtonDown, Kind::ButtonUp);
}

LineResult ParseWheel(const std::vector<std::string_view>& t, ScriptedEvent event) {
  return ParsePair(t, event, "expected: F wheel DX DY", "wheel steps are not a pair of numbers",
                   "wheel steps out of range", Kind::Wheel);
}

// "F text N": a character typed, as its Unicode code point (a control character is no text).
LineResult ParseText(const std::vector<std::string_view>& t, ScriptedEvent event) {
  if (t.size() != 3) return Fail("expected: F text CODEPOINT");
  const auto code = Integer(t[2]);
  if (!code) return Fail("code point is not a number: " + std::string(t[2]));
  if (*code < 32 || *code > 0x10FFFF || (*code >= 0xD800 && *code <= 0xDFFF) ||
      (*code >= 0x7F && *code < 0xA0)) {
    return Fail("code point is no printable character: " + std::string(t[2]));
  }
  event.kind = Kind::Text;
  event.a = static_cast<int>(*code);
  return {event, {}};
}

LineResult ParseJoy(const std::vector<std::string_view>& t, ScriptedEvent event) {
  if (t[2] == "axis") {
    if (t[3] != "x" && t[3] != "y") return Fail("expected axis x or y: " + std::string(t[3]));
    const auto value = Float(t[4]);
    if (!value) return Fail("axis value is not a number: " + std::string(t[4]));
    if (!(*value >= -1.0f && *value <= 1.0f)) {
      return Fail("axis value outside -1..1: " + std::string(t[4]));
    }
    event.kind = t[3] == "x" ? Kind::JoyAxisX : Kind::JoyAxisY;
    event.value = *value;
    return {event, {}};
  }
  if (t[2] == "button") {
    const auto button = Integer(t[3]);
    if (!button) return Fail("joystick button is not a number: " + std::string(t[3]));
    if (*button < 0 || *button > 31) {
      return Fail("joystick button outside 0..31: " + std::string(t[3]));
    }
    const auto kind = UpDown(t[4], Kind::JoyButtonDown, Kind::JoyButtonUp);
    if (!kind) return Fail("expected down or up: " + std::string(t[4]));
    event.kind = *kind;
    event.a = static_cast<int>(*button);
    return {event, {}};
  }
  return Fail("expected joy axis or joy button: " + std::string(t[2]));
}

LineResult ParseLine(std::string_view line) {
  const std::vector<std::string_view> t = Tokens(line);
  if (t.empty()) return {};
  const auto frame = Integer(t[0]);
  if (!frame) return Fail("frame number is not a number: " + std::string(t[0]));
  if (*frame < 1) return Fail("frame numbers start at 1: " + std::string(t[0]));
  if (t.size() < 2) return Fail("event missing after the frame number");
  ScriptedEvent event;
  // A frame beyond any possible pass is still checked, then dropped: it can never run.
  event.frame = *frame > INT_MAX ? INT_MAX : static_cast<int>(*frame);
  LineResult result;
  const std::string_view word = t[1];
  if (word == "key") {
    result = ParseKey(t, event);
  } else if (word == "mouse") {
    result = ParseMouse(t, event);
  } else if (word == "button") {
    result = ParseButton(t, event);
  } else if (word == "wheel") {
    result = ParseWheel(t, event);
  } else if (word == "text") {
    result = ParseText(t, event);
  } else if (word == "joy") {
    result = t.size() != 5 ? Fail("expected: F joy axis x|y VALUE or F joy button N down|up")
                           : ParseJoy(t, event);
  } else if (word == "close") {
    result = t.size() == 2 ? LineResult{event, {}} : Fail("expected: F close");
    if (result.event) result.event->kind = Kind::Close;
  } else if (word == "focus") {
    result =
        t.size() == 3 && t[2] == "lost" ? LineResult{event, {}} : Fail("expected: F focus lost");
    if (result.event) result.event->kind = Kind::FocusLost;
  } else {
    result = Fail("unknown event: " + std::string(word));
  }
  if (result.event && *frame > INT_MAX) result.event.reset();
  return result;
}

}  // namespace

std::string FormatScriptEvent(const ScriptedEvent& event) {
  std::string line = std::to_string(event.frame) + ' ';
  auto updown = [](bool down) { return down ? " down" : " up"; };
  switch (event.kind) {
    case Kind::KeyDown:
    case Kind::KeyUp:
      return line + "key " + std::to_string(event.a) + updown(event.kind == Kind::KeyDown);
    case Kind::MouseMove:
      return line + "mouse " + std::to_string(event.a) + ' ' + std::to_string(event.b);
    case Kind::ButtonDown:
    case Kind::ButtonUp:
      return line + "button " + std::to_string(event.a) + updown(event.kind == Kind::ButtonDown);
    case Kind::JoyAxisX:
    case Kind::JoyAxisY: {
      char value[32];
      const auto end = std::to_chars(value, value + sizeof value, event.value).ptr;
      return line + "joy axis " + (event.kind == Kind::JoyAxisX ? "x " : "y ") +
             std::string(value, end);
    }
    case Kind::JoyButtonDown:
    case Kind::JoyButtonUp:
      return line + "joy button " + std::to_string(event.a) +
             updown(event.kind == Kind::JoyButtonDown);
    case Kind::Close:
      return line + "close";
    case Kind::FocusLost:
      return line + "focus lost";
    case Kind::Wheel:
      return line + "wheel " + std::to_string(event.a) + ' ' + std::to_string(event.b);
    case Kind::Text:
      return line + "text " + std::to_string(event.a);
  }
  return line;
}

ScriptParseResult ParseScript(std::string_view text) {
  ScriptParseResult result;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    LineResult line = ParseLine(text.substr(start, end - start));
    if (!line.error.empty()) {
      result.ok = false;
      result.errorLine = number;
      result.error = std::move(line.error);
      result.events.clear();
      return result;
    }
    if (line.event) result.events.push_back(*line.event);
    start = end + 1;
  }
  return result;
}
