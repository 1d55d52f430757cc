// Pictures and maps kept as text: a legend of characters and grids of those characters.
//
//   # a comment line
//   colour k 24 20 36        one legend entry: character, red, green, blue
//   colour . none            a transparent character
//   grid head                a named grid; its rows follow, up to the next blank line
//   ..kk..
//   .kssk.
//
// Any other line is kept as a directive (its words) for the reader of that file.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

struct TextArt {
  std::map<char, Colour> Legend;
  std::map<std::string, std::vector<std::string>> Grids;
  std::vector<std::vector<std::string>> Directives;

  // Parses the text; false (with a message in error) for a malformed line.
  bool Parse(const std::string& text, std::string& error);
  bool Load(const std::string& path, std::string& error);

  bool Has(const std::string& name) const { return Grids.count(name) != 0; }
  // The grid drawn in legend colours; characters missing from the legend are an error.
  bool Picture(const std::string& name, Canvas& out, std::string& error) const;
};

}  // namespace art
