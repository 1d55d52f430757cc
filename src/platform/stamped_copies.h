// Pairs of files kept in a folder under a date-and-time stamp ("20261208-091500.NAME", with
// "-01", "-02", ... when a stamp is already taken): the map backups and the recovered edits.
#pragma once

#include <string>
#include <vector>

#include "platform/atomic_files.h"

// The local date and time as "YYYYMMDD-HHMMSS".
std::string LocalTimeStamp();

// Writes every file as "<stamp>.<its Path>" into `folder` (made if missing), all sharing one
// stamp; nothing is written through a link, and nothing is left behind on failure. `folder`
// must be a real folder, not a link to one. The stamp used is returned in `used`.
bool WriteStampedCopies(const std::string& folder, const std::string& stamp,
                        const std::vector<SaveFile>& files, std::string& used);

// Removes all but the newest `keep` stamps of copies of `names` in `folder`.
void KeepNewestStamps(const std::string& folder, const std::vector<std::string>& names,
                      size_t keep);
