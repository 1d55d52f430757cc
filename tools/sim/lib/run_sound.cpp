#include "run_sound.h"

#include "platform/sound/wav_file.h"

RunSound::RunSound(const std::string& path, const std::string& folder, int music) : Path(path) {
  if (Path.empty()) return;
  SoundSettings settings;
  settings.Folder = folder;
  settings.Music = music;
  // Pass N's sound starts at sample frame (N - 1) * 800.
  Sounds = std::make_unique<GameSounds>(settings, [this](SoundMixer& mixer) {
    const size_t at = Samples.size();
    Samples.resize(at + 2 * kSoundFramesPerPass);
    mixer.Mix(Samples.data() + at, kSoundFramesPerPass);
  });
}

bool RunSound::Finish() {
  if (Path.empty()) return true;
  Sounds.reset();
  const bool written = WriteWavFile(Path, Samples, kSoundRate);
  Path.clear();
  return written;
}
