// The game's sound on the page: the stereo samples each pass mixes (16-bit, interleaved) are
// copied into Web Audio buffers and scheduled one after the other a little ahead of the
// speaker. Browsers let a page start sound only after a click or a key, so the AudioContext is
// made (or resumed) on the first one; until then the game's samples are let go unheard. With the
// sound off (M, ?mute) or the page hidden the context is suspended: a running context costs the
// browser a steady share of a core even when nothing is scheduled.
'use strict';

(function () {
  const LEAD_SECONDS = 0.02;  // a buffer after a gap starts this far ahead, never in the past

  const audio = {
    context: null,
    rate: 0,
    endTime: 0,       // when the last scheduled buffer ends, on the context's clock
    buffers: 0,       // buffers scheduled, for the tests
    audibleBuffers: 0,
    held: false,      // the page is hidden
    quiet: false,     // the game's sound is off
  };
  window.RavelonAudio = audio;

  function Context() {
    return window.AudioContext || window.webkitAudioContext;
  }

  // The context runs only while something may be heard: not hidden, not with the sound off.
  function settle() {
    if (!audio.context) return;
    try {
      const state = audio.context.state;
      if (audio.held || audio.quiet) {
        if (state === 'running') audio.context.suspend();
      } else if (state === 'suspended') {
        audio.context.resume();
      }
    } catch (error) {
      // a context that cannot be suspended simply plays on: the game sends it nothing meanwhile
    }
  }

  function start() {
    try {
      if (!audio.context) audio.context = new (Context())();
    } catch (error) {
      audio.context = null;
    }
    settle();
  }

  audio.start = start;  // the page's start screen starts the sound itself

  audio.open = function (rate) {
    if (!Context()) return false;
    audio.rate = rate;
    for (const type of ['pointerdown', 'keydown', 'touchend']) {
      window.addEventListener(type, start, { capture: true });
    }
    return true;
  };

  // The desktop's --mute, --volume N and --music N as the page's ?mute&volume=N&music=N: bit 0
  // for mute, bit 1 for a volume and bit 2 for a music level, whose texts are copied into the
  // game's buffers (at pointer and musicPointer, size bytes each).
  audio.pageOptions = function (pointer, size, musicPointer) {
    const params = new URLSearchParams(window.location.search);
    const volume = params.get('volume'), music = params.get('music');
    if (volume !== null) stringToUTF8(volume, pointer, size);
    if (music !== null) stringToUTF8(music, musicPointer, size);
    return (params.has('mute') ? 1 : 0) | (volume !== null ? 2 : 0) | (music !== null ? 4 : 0);
  };

  // A hidden page holds the sound still with the game: the context is suspended, and resumed
  // when the page is shown again.
  audio.hold = function (held) {
    audio.held = held;
    settle();
  };

  // The game's sound went off or on again (M, ?mute): nothing is scheduled while it is off.
  audio.silence = function (quiet) {
    audio.quiet = Boolean(quiet);
    settle();
  };

  function running() {
    return audio.context !== null && audio.context.state === 'running';
  }

  // How many frames are scheduled and not yet heard; while nothing can be heard, whileSilent
  // (what makes the game mix a pass's share and let it go).
  audio.queuedFrames = function (whileSilent) {
    if (!running()) return whileSilent;
    return Math.max(0, Math.round((audio.endTime - audio.context.currentTime) * audio.rate));
  };

  audio.play = function (pointer, frames) {
    if (!running() || frames <= 0) return;
    const buffer = audio.context.createBuffer(2, frames, audio.rate);
    const left = buffer.getChannelData(0), right = buffer.getChannelData(1);
    const samples = HEAP16.subarray(pointer >> 1, (pointer >> 1) + 2 * frames);
    let audible = false;
    for (let i = 0; i < frames; ++i) {
      left[i] = samples[2 * i] / 32768;
      right[i] = samples[2 * i + 1] / 32768;
      if (samples[2 * i] !== 0 || samples[2 * i + 1] !== 0) audible = true;
    }
    const source = audio.context.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.context.destination);
    const at = Math.max(audio.endTime, audio.context.currentTime + LEAD_SECONDS);
    source.start(at);
    audio.endTime = at + frames / audio.rate;
    audio.buffers += 1;
    if (audible) audio.audibleBuffers += 1;
  };
})();
