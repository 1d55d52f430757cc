// Pairs of files kept in a folder under a date-and-time stamp ("20261208-091500.NAME", with
// "-01", "-02", ... when a stamp is already taken): the map backups and the recovered edits.
// A stamp's files appear together or not at all: each is written whole under a side name first,
// and a stamp an interrupted write left with only some of its files is removed by the next tidy.
// NewestWholeStamp, KeepNewestStamps and HoldsCopyOf only ever see whole stamps.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/save/atomic_files.h"

// The local date and time as "YYYYMMDD-HHMMSS".
std::string LocalTimeStamp();

// Writes every file as "<stamp>.<its Path>" into `folder` (made if missing), all sharing one
// stamp; nothing is written through a link, and nothing is left behind on failure. `folder`
// must be a real folder, not a link to one. The stamp used is returned in `used`; on failure
// `why` says what stood in the way. The copies' times never go back from the newest there, so
// the order they were made in survives a clock set back.
bool WriteStampedCopies(const std::string& folder, const std::string& stamp,
                        const std::vector<SaveFile>& files, std::string& used, std::string& why);

// Removes what an interrupted write of the game's left in `folder`, and nothing else: side files
// of `names` by a writer no longer running (side_names.h: LeftoversBeside) that are empty, of a
// whole copy's `file_size`, or already placed under a stamp, and a stamp such a side file shows
// to be half made. Anything else there, a half stamp someone put there too, is left alone.
void RemoveHalfStamps(const std::string& folder, const std::vector<std::string>& names,
                      size_t file_size);

// The newest whole stamp of `names` in `folder`, in the order KeepNewestStamps keeps them; empty
// when there is none.
std::string NewestWholeStamp(const std::string& folder, const std::vector<std::string>& names);

// True when a whole stamp in `folder` holds every one of `files` byte for byte.
bool HoldsCopyOf(const std::string& folder, const std::vector<SaveFile>& files);

// Removes all but the newest `keep` whole stamps of `names` in `folder`, newest by the files'
// times (see WriteStampedCopies); the stamp `just_made` is never removed.
void KeepNewestStamps(const std::string& folder, const std::vector<std::string>& names, size_t keep,
                      const std::string& just_made);
