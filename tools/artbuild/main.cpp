// ravelon-artbuild <assets dir> <out dir>: writes the game's pictures, palette listing and
// default level from the text sources and drawing code. The output depends on nothing but the
// sources, so two runs give identical files.
#include <filesystem>
#include <iostream>

#include "builders.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ravelon-artbuild <assets dir> <out dir>\n";
    return 2;
  }
  const std::string assets = argv[1], out = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  bool ok = art::BuildTileSheet(assets, out);
  ok = art::BuildWater(out) && ok;
  ok = art::BuildActorSheet(assets, out) && ok;
  ok = art::BuildPanel(assets, out) && ok;
  ok = art::BuildPalette(out) && ok;
  ok = art::BuildLevel(assets, out) && ok;
  if (!ok) {
    std::cerr << "artbuild: some files were not written\n";
    return 1;
  }
  return 0;
}
