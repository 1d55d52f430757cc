// The web page's controls list written from the table of commands.
#pragma once

#include <string>

// The page with its line holding "<!-- controls -->" replaced by table rows, a heading row per
// mode and a row per help line, indented as the marker was. Empty, with `error` set, when the
// page has no such line.
std::string PageWithControls(const std::string& page, std::string& error);
