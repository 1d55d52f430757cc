// The start-up check that settles a save interrupted by a crash or a kill: a complete journal
// is rolled forward (or, should a new file be damaged, back to the old files), an incomplete one
// back, so the files are one whole set again before the game reads them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class SaveRecovery {
  Nothing,  // no journal and nothing beside the files: the last save finished
  RolledForward,
  RolledBack,
  Stuck,  // something at the journal's name could not be read or acted on
};

// `paths` are the files a save replaces, each new file `new_size` bytes long; only the save's own
// names are ever touched, and without a journal only those a save of the game provably left
// there (see side_names.h: LeftoversBeside). A file at the journal's name that is no journal of
// the game's is left alone (Stuck).
SaveRecovery FinishInterruptedSave(const std::string& journal,
                                   const std::vector<std::string>& paths, size_t new_size);
