// The start-up check that settles a save interrupted by a crash or a kill: a complete journal
// is rolled forward (or, should a new file be damaged, back to the old files), an incomplete one
// back, so the files are one whole set again before the game reads them.
#pragma once

#include <string>
#include <vector>

enum class SaveRecovery {
  Nothing,  // no journal and nothing beside the files: the last save finished
  RolledForward,
  RolledBack,
  Stuck,  // something at the journal's name could not be read or acted on
};

// `paths` are the files a save replaces; only their own save names are ever touched.
SaveRecovery FinishInterruptedSave(const std::string& journal,
                                   const std::vector<std::string>& paths);
