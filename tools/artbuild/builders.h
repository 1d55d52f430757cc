// Every file the art builder writes, one function each; all take the assets folder (the text
// sources) and the output folder, and return false after printing what went wrong.
#pragma once

#include <string>

namespace art {

bool BuildTileSheet(const std::string& assetsDir, const std::string& outDir);
bool BuildWater(const std::string& outDir);
bool BuildActorSheet(const std::string& assetsDir, const std::string& outDir);
bool BuildPanel(const std::string& assetsDir, const std::string& outDir);
bool BuildPalette(const std::string& outDir);
bool BuildLevel(const std::string& assetsDir, const std::string& outDir);

}  // namespace art
