// The names a writer leaves beside the file it replaces, until it renames over it or removes
// them: "<path><tag><process>-<attempt>". Every writer of the play folder makes its side files
// here, and the start-up check and the tidying of stamped copies know them by these tags alone.
#pragma once

#include <string>
#include <vector>

extern const char* const kSafeWriteTag;  // a side file of the safe writer (safe_write.h)
extern const char* const kSaveNewTag;    // a new file of a save beside its target
extern const char* const kSaveOldTag;    // a second name of the file a save replaces

// "<path><tag><process>-<attempt>": another name to try when something sits at one.
std::string NameBeside(const std::string& path, const char* tag, int attempt);
// The regular files beside `path` named as NameBeside names them under `tag`, by a process of
// the game that is no longer running (another than this one): the leftovers of a writer that
// was killed, or the candidates for them; what they hold is for the caller to check. Paths.
std::vector<std::string> LeftoversBeside(const std::string& path, const char* tag);
// Follows a chain of symlinks to the file a save must replace (which need not exist yet).
bool ResolveTarget(const std::string& path, std::string& target);

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);
// The name after the last slash.
std::string BaseOf(const std::string& path);
bool StartsWith(const std::string& text, const std::string& prefix);
