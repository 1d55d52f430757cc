// The sound in a web page: the mixer's samples handed to Web Audio from the main loop, a
// pass's share at a time, as the desktop queues them to its audio device. The page
// (page_audio.js) plays them as buffers scheduled back to back a little ahead of the speaker,
// once the player has clicked or pressed a key (browsers start no sound before that).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/sound_mixer.h"

class WebAudio {
 public:
  // False, with one console line, when the browser has no Web Audio: the game plays silent.
  bool Open();

  // Mixes what the page will want before the next pass and hands it over. Before the first
  // click the voices still move on a pass's share at a time, unheard, so nothing piles up.
  void Feed(SoundMixer& mixer);

 private:
  std::vector<int16_t> Buffer;
  bool PageSilenced = false;  // the page was told the sound is off
};
