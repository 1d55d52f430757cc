// The hint for a game started in the wrong folder: the files it cannot read, and the line that
// names them.
#include "frame/play_folder_hint.h"

#include <filesystem>

#include "platform/files.h"
#include "platform/render/image.h"
#include "shared/play_files.h"
#include "world/map_files.h"

namespace {

// The game's art as start-up cuts it: the file, its cell size and the cells it needs
// (a cell count of 0 means the whole picture as one frame).
struct ArtFile {
  const char* name;
  int cell_width, cell_height, cells;
};

constexpr ArtFile kArt[] = {
    {kTileSheetFile, 16, 16, 768},
    {kWaterSheetFile, 16, 16, 80},
    {kActorSheetFile, 16, 24, 48},
    {kInstructionsFile, 0, 0, 0},
};

constexpr const char* kMapFiles[] = {kBGMapFile, kBlockMapFile};

bool ArtReadable(const ArtFile& art) {
  if (art.cells == 0) return TImage::Load(art.name, kImageMasked) != nullptr;
  return TImage::LoadAnim(art.name, art.cell_width, art.cell_height, 0, art.cells, kImageMasked) !=
         nullptr;
}

bool MapReadable(const char* name) {
  return FileLength(name) == static_cast<int64_t>(kMapFileBytes) &&
         OpenFileForRead(name) != nullptr;
}

}  // namespace

std::vector<std::string> UnreadablePlayFiles() {
  std::vector<std::string> files;
  for (const ArtFile& art : kArt) {
    if (!ArtReadable(art)) files.push_back(art.name);
  }
  for (const char* map : kMapFiles) {
    if (!MapReadable(map)) files.push_back(map);
  }
  return files;
}

std::string PlayFolderHint(const std::string& folder, const std::vector<std::string>& files) {
  std::string names;
  for (const std::string& file : files)
    names += (names.empty() ? "" : ", ") + file;
  return "The game found no readable " + names + " in " + folder +
         "; start it from its play folder with: bash scripts/play.sh";
}

std::vector<std::string> ArtFilesAmong(const std::vector<std::string>& files) {
  std::vector<std::string> art;
  for (const std::string& file : files)
    for (const ArtFile& known : kArt)
      if (file == known.name) art.push_back(file);
  return art;
}

std::string MissingArtNote(const std::string& folder, const std::vector<std::string>& art,
                           const std::string& program) {
  std::string names;
  for (const std::string& file : art)
    names += (names.empty() ? "" : ", ") + file;
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path exe = fs::absolute(program, error);
  const fs::path play = exe.parent_path().parent_path() / "play";
  std::string command = "bash scripts/play.sh (in the game's source folder)";
  if (!program.empty() && !error && fs::is_directory(play, error)) {
    command = "cd " + play.string() + " && " + exe.string();
  }
  return "The game's art is missing: no readable " + names + " in " + folder +
         ". Start the game from its play folder: " + command;
}
