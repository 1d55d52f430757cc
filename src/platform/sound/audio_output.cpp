#include "platform/sound/audio_output.h"

#include "platform/console.h"

AudioOutput::AudioOutput(AudioDevice& device, uint32_t target)
    : Device(device), Target(target), Queue(target) {}

AudioOutput::~AudioOutput() {
  if (State == kPlaying) Device.Close();
}

bool AudioOutput::Open(std::string& why) {
  if (State != kClosed) return State == kPlaying;
  if (!Device.Open(BufferFrames, why)) return false;
  State = kPlaying;
  return true;
}

// The device is given again what it had not played yet, with new frames up to the target and a
// fading tail behind them: a faster pass than the speaker mixes nothing new, a slower one more,
// one late by seconds (the pause) lets the device play into the tail and fade out, and the
// sound fades back in when it resumes. Nothing clicks.
void AudioOutput::Feed(SoundMixer& mixer) {
  if (!StillThere()) {
    if (State == kGone) {
      LetGo.resize(size_t{kSoundFramesPerPass} * 2);
      mixer.Mix(LetGo.data(), kSoundFramesPerPass);
    }
    return;
  }
  Refill(mixer, Target);
  Queued.Note(Queue.RealQueued());
}

void AudioOutput::FeedAhead(SoundMixer& mixer, uint32_t frames) {
  if (StillThere()) Refill(mixer, frames);
}

void AudioOutput::Refill(SoundMixer& mixer, uint32_t ahead) {
  Device.Requeue([&](uint32_t queued) -> const std::vector<int16_t>& {
    return Queue.Refill(mixer, queued, ahead);
  });
}

bool AudioOutput::StillThere() {
  if (State != kPlaying) return false;
  if (!Device.Gone()) return true;
  Device.Close();
  State = kGone;
  PrintNote("The audio device went away: the game plays on without sound until one comes back.");
  return false;
}

// A device back after the old one went: the queue starts empty, so what it plays first is the
// mix fading in from silence, where the tune stands now.
void AudioOutput::DeviceAdded() {
  if (State != kGone) return;
  std::string why;
  if (!Device.Open(BufferFrames, why)) {
    PrintNote("An audio device came but cannot be opened (" + why +
              "): the game plays on without sound.");
    return;
  }
  State = kPlaying;
  PrintNote("An audio device is back: the sound plays on.");
}
