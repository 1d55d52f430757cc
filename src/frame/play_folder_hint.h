// Started from the wrong folder, the game opens on an empty sky; this names why. The console
// lines of the game stay as they are: the hint is one extra line on standard error.
#pragma once

#include <string>
#include <vector>

// The art and map files of the working folder that are missing or cannot be read as the game
// reads them, in the order the game loads them.
std::vector<std::string> UnreadablePlayFiles();

// The hint line (without its line feed) for a working folder and its unreadable files.
std::string PlayFolderHint(const std::string& folder, const std::vector<std::string>& files);

// The art files among `files` (the pictures; a missing map only leaves the default level out).
std::vector<std::string> ArtFilesAmong(const std::vector<std::string>& files);

// The words shown over the window and in a message box when the art is missing: where the game
// looked, and the command that starts it from its play folder. `program` is the game's own path;
// a play folder beside its build folder (as scripts/play.sh lays out) is named in the command.
std::string MissingArtNote(const std::string& folder, const std::vector<std::string>& art,
                           const std::string& program);
