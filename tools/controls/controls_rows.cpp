// The rows of the page's controls table, one group per mode as the help shows them.
#include "controls_rows.h"

#include <sstream>

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
  for (int index = 0; index < kCommandModeCount; ++index) {
    const auto mode = static_cast<CommandMode>(index);
    const auto lines = HelpLinesOf(mode);
    if (lines.empty()) continue;
    rows += indent + "<tr class=\"group\"><th colspan=\"2\">" + Escaped(ModeHeading(mode)) +
            "</th></tr>\n";
    for (const HelpLine& line : lines)
      rows += indent + "<tr><th>" + Escaped(line.Key) + "</th><td>" + Escaped(line.Help) +
              "</td></tr>\n";
  }
  return rows;
}

}  // namespace

std::string PageWithControls(const std::string& page, std::string& error) {
  std::istringstream in(page);
  std::string out;
  bool replaced = false;
  for (std::string line; std::getline(in, line);) {
    const size_t at = line.find(kMarker);
    if (at == std::string::npos) {
      out += line + "\n";
    } else {
      out += ControlsRows(line.substr(0, at));
      replaced = true;
    }
  }
  if (!replaced) {
    error = std::string("the page has no ") + kMarker + " line";
    return {};
  }
  return out;
}
