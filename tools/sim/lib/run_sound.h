// --wav: the sound of a run, a pass's share of samples after each pass, written as a WAV file
// once the run is over. The same run gives the same bytes on any machine speed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/game_sounds.h"

class RunSound {
 public:
  // Listens from now on when `path` is not empty; the recipes and the tunes are read from
  // `folder` (empty: the working directory); the tune plays at `music` (0..100, 0: none).
  RunSound(const std::string& path, const std::string& folder, int music = 0);
  // Stops listening; true when there is nothing to write or the file was written whole.
  bool Finish();

 private:
  std::string Path;
  std::vector<int16_t> Samples;
  std::unique_ptr<GameSounds> Sounds;
};
