// The words of the sound's text files (recipes and scores): words apart by spaces and tabs, and
// numbers written out in full.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The words of one line, apart by spaces, tabs and a stray carriage return.
std::vector<std::string_view> Words(std::string_view line);
// A finite decimal number and nothing else: "nan", "inf" and "1e999" are refused.
bool Number(std::string_view word, double& value);

// Each line of the text that has words once `uncomment` cut its comment off, in order, given to
// `take(words, why)`. Stops at the first take that returns false, and returns false then with
// the line's number before the reason: "line 3: ...".
template <typename Uncomment, typename Take>
bool TakeWordLines(std::string_view text, Uncomment uncomment, Take take, std::string& why) {
  int line_number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = uncomment(text.substr(start, end - start));
    start = end + 1;
    ++line_number;
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
    if (!take(words, why)) {
      why = "line " + std::to_string(line_number) + ": " + why;
      return false;
    }
  }
  return true;
}
