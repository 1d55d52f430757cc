// A level as one file, to hand to someone else: the 4050 bytes of the background file
// (BGMap75x54.raw) followed by the 4050 bytes of the block file (BlockMap75x54.raw), nothing
// before, between or after them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/map_files.h"

constexpr size_t kMapPairFileBytes = 2 * kMapFileBytes;

// Writes the map as it stands (not the files on disk) as a pair file; false when it cannot.
bool WriteMapPairFile(const std::string& path);

// Reads a pair file into the two files' bytes. A file that is not exactly kMapPairFileBytes long
// is refused with "Wrong size!" before anything is read, one that cannot be read with "Failure to
// load file."; either way false, and the map is left to the caller untouched.
bool ReadMapPairFile(const std::string& path, std::vector<uint8_t>& bg,
                     std::vector<uint8_t>& blocks);
