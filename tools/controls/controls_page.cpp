// ravelon-controls-page TEMPLATE OUT: writes the web page TEMPLATE to OUT with its controls
// list made from the table of commands, so the page lists what the game's help shows.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "controls_rows.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ravelon-controls-page TEMPLATE OUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "ravelon-controls-page: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream page;
  page << in.rdbuf();
  std::string error;
  const std::string written = PageWithControls(page.str(), error);
  if (!error.empty()) {
    std::cerr << "ravelon-controls-page: " << argv[1] << ": " << error << "\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << written;
  if (!out.flush()) {
    std::cerr << "ravelon-controls-page: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
