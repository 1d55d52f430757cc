// The game's sound on the page: the stereo samples each pass mixes (16-bit, interleaved) are
// copied into Web Audio buffers and scheduled one after the other a little ahead of the
// speaker. Browsers let a page start sound only after a click or a key, so the AudioContext is
// made (or resumed) on the first one; until then the game's samples are let go unheard. With the
// sound off (M, ?mute) or the page hidden the context is suspended: a running context costs the
// browser a steady share of a core even when nothing is scheduled.
//
// The browser may stop the sound by itself as well (a call on a phone, another tab taking the
// audio, a device gone): the context is then suspended or interrupted. The game goes on, its
// samples let go as before the first click, so the tune stands where the game is when the
// sound comes back: by itself, or with the next key or click, which try to resume it.
'use strict';

(function () {
  const LEAD_SECONDS = 0.02;  // a buffer after a gap starts this far ahead, never in the past
  const FADE_IN_FRAMES = 240;  // a buffer after a gap fades in over 5 ms instead of clicking
  const FADE_OUT_SECONDS = 0.005;  // and the last one fades out when nothing follows it (a pause)

  const audio = {
    context: null,
    output: null,     // the gain every buffer plays through: it fades out where the sound stops
    rate: 0,
    endTime: 0,       // when the last scheduled buffer ends, on the context's clock
    buffers: 0,       // buffers scheduled, for the tests
    audibleBuffers: 0,
    held: false,      // the page holds the sound still (hidden)
    quiet: false,     // the game's sound is off
    interruptions: 0, // times the browser stopped the sound by itself, for the tests
  };
  window.RavelonAudio = audio;

  function Context() {
    return window.AudioContext || window.webkitAudioContext;
  }

  // A promise refused (the browser wants a gesture first) is no error: the next key tries again.
  function resume() {
    try {
      const promise = audio.context.resume();
      if (promise && promise.catch) promise.catch(() => {});
    } catch (error) {
      // as refused: tried again on the next key or click
    }
  }

  // The context runs only while something may be heard: not hidden, not with the sound off.
  function wanted() {
    return !audio.held && !audio.quiet;
  }

  function settle() {
    if (!audio.context) return;
    try {
      const state = audio.context.state;
      if (!wanted()) {
        if (state === 'running') {
          const promise = audio.context.suspend();
          if (promise && promise.catch) promise.catch(() => {});
        }
      } else if (state !== 'running' && state !== 'closed') {
        resume();
      }
    } catch (error) {
      // a context that cannot be suspended simply plays on: the game sends it nothing meanwhile
    }
  }

  function stateChanged() {
    const state = audio.context ? audio.context.state : 'closed';
    if (state === 'running' || !wanted()) return;
    audio.interruptions += 1;
    if (state !== 'closed') resume();
  }

  function start() {
    try {
      // A context the browser closed cannot come back: a new one takes its place.
      if (audio.context && audio.context.state === 'closed') audio.context = null;
      if (!audio.context) {
        audio.context = new (Context())();
        audio.output = audio.context.createGain();
        audio.output.connect(audio.context.destination);
        audio.endTime = 0;
        audio.context.addEventListener('statechange', stateChanged);
      }
      settle();
    } catch (error) {
      audio.context = null;
    }
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
    const at = Math.max(audio.endTime, audio.context.currentTime + LEAD_SECONDS);
    const afterGap = at > audio.endTime;
    let audible = false;
    for (let i = 0; i < frames; ++i) {
      const gain = afterGap && i < FADE_IN_FRAMES ? i / FADE_IN_FRAMES : 1;
      left[i] = gain * samples[2 * i] / 32768;
      right[i] = gain * samples[2 * i + 1] / 32768;
      if (samples[2 * i] !== 0 || samples[2 * i + 1] !== 0) audible = true;
    }
    const source = audio.context.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.output);
    source.start(at);
    audio.endTime = at + frames / audio.rate;
    // Full gain from this buffer on, and a fade at its end that the next buffer takes back: when
    // none comes in time (the space pause, a stall) the sound fades out instead of stopping dead.
    const gain = audio.output.gain;
    gain.cancelScheduledValues(at);
    gain.setValueAtTime(1, at);
    gain.setValueAtTime(1, Math.max(at, audio.endTime - FADE_OUT_SECONDS));
    gain.linearRampToValueAtTime(0, audio.endTime);
    audio.buffers += 1;
    if (audible) audio.audibleBuffers += 1;
  };
})();
