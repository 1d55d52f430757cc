// ravelon-controls-page TEMPLATE OUT: writes the web page TEMPLATE to OUT with its line holding
// "<!-- controls -->" replaced by the table of commands, grouped as the help shows them. The
// page's list of controls is made from the same table as the game's help, at build time.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/commands.h"

namespace {

constexpr const char* kMarker = "<!-- controls -->";

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '&') {
      out += "&amp;";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ControlsRows(const std::string& indent) {
  std::string rows;
  for (int mode = 0; mode < kCommandModeCount; ++mode) {
    const auto lines = HelpLinesOf(static_cast<CommandMode>(mode));
    if (lines.empty()) continue;
    rows += indent + "<tr class=\"group\"><th colspan=\"2\">" +
            Escaped(ModeHeading(static_cast<CommandMode>(mode))) + "</th></tr>\n";
    for (const HelpLine& line : lines)
      rows += indent + "<tr><th>" + Escaped(line.Key) + "</th><td>" + Escaped(line.Help) +
              "</td></tr>\n";
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ravelon-controls-page TEMPLATE OUT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "ravelon-controls-page: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream page;
  bool replaced = false;
  for (std::string line; std::getline(in, line);) {
    const size_t at = line.find(kMarker);
    if (at == std::string::npos) {
      page << line << "\n";
      continue;
    }
    page << ControlsRows(line.substr(0, at));
    replaced = true;
  }
  if (!replaced) {
    std::cerr << "ravelon-controls-page: " << argv[1] << " has no " << kMarker << " line\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << page.str();
  if (!out.flush()) {
    std::cerr << "ravelon-controls-page: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
