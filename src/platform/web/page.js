// The page around the game: the canvas scaled by whole steps, the buttons, the messages, and
// the play folder's levels kept in the browser's storage (localStorage) between visits.
// Loaded before ravelon.js; the game calls RavelonPage.* and the page calls the game's exported
// functions through Module.
'use strict';

(function () {
  const STORE_PREFIX = 'ravelon:';          // one item per kept file, its bytes in base64
  const PAIR_KEY = 'ravelon:maps';          // the two map files together: a save is one write
  const DAMAGED_PREFIX = 'ravelon-damaged:';
  const MAP_FILES = ['BGMap75x54.raw', 'BlockMap75x54.raw'];
  const MAP_FILE_BYTES = 4050;
  const KEPT_FOLDERS = ['backups', 'recovery'];
  const PAIR_FILE_BYTES = 2 * MAP_FILE_BYTES;
  const LEVEL_DOWNLOAD_NAME = 'ravelon-level.map';

  const params = new URLSearchParams(window.location.search);
  const page = {
    scripted: params.has('script'),
    lines: [],         // every console line of the game, for the tests
    notes: [],         // every note the page showed
    started: false,
    ended: false,
  };
  window.RavelonPage = page;

  let storage = null;       // null: the browser keeps nothing for us
  let keptSignatures = {};  // path in the play folder -> "mtime:size" as last kept
  let pairSignature = '';
  let fullNoted = {};

  const $ = (id) => document.getElementById(id);

  // ---- messages --------------------------------------------------------------------------

  // A note stays long enough to be read, then fades out and goes; five at most at a time.
  const NOTE_SHOWN_MS = 8000, NOTE_FADE_MS = 1000;
  page.note = function (text) {
    page.notes.push(text);
    const box = $('notes');
    const line = document.createElement('div');
    line.className = 'note';
    line.textContent = text;
    box.prepend(line);
    while (box.childNodes.length > 5) box.removeChild(box.lastChild);
    setTimeout(() => {
      line.classList.add('fading');
      setTimeout(() => line.remove(), NOTE_FADE_MS);
    }, NOTE_SHOWN_MS);
  };

  function consoleLine(text) {
    text = String(text).replace(/\r/g, '');
    page.lines.push(text);
    const log = $('log');
    log.textContent = (log.textContent + text + '\n').split('\n').slice(-9).join('\n');
  }

  // ---- the canvas --------------------------------------------------------------------------

  let frameWidth = 816, frameHeight = 300, context = null, tooSmall = false;

  // The picture grows by whole device pixels per frame pixel, so it stays sharp.
  function layOut() {
    const stage = $('stage');
    const canvas = $('canvas');
    const ratio = window.devicePixelRatio || 1;
    const fullscreen = document.fullscreenElement === stage;
    const width = fullscreen ? window.innerWidth : stage.clientWidth;
    const height = fullscreen ? window.innerHeight : Math.max(window.innerHeight - 40, 1);
    const fit = Math.floor(Math.min(width * ratio / frameWidth, height * ratio / frameHeight));
    const scale = Math.max(fit, 1);
    canvas.style.width = (frameWidth * scale / ratio) + 'px';
    canvas.style.height = (frameHeight * scale / ratio) + 'px';
    const small = fit < 1;
    if (small && !tooSmall) {
      page.note('The window is too small for the whole picture: it is shown at its smallest ' +
                'size and cut off. Make the window larger to see all of it.');
    }
    tooSmall = small;
  }

  page.windowOpened = function (width, height, title) {
    frameWidth = width;
    frameHeight = height;
    document.title = title;
    context = $('canvas').getContext('2d', { alpha: false });
    layOut();
  };

  page.present = function (pointer, width, height) {
    const bytes = new Uint8ClampedArray(Module.HEAPU8.buffer, pointer, width * height * 4);
    context.putImageData(new ImageData(bytes, width, height), 0, 0);
  };

  page.toggleFullscreen = function () {
    const stage = $('stage');
    const done = document.fullscreenElement ? document.exitFullscreen()
                                            : stage.requestFullscreen();
    Promise.resolve(done).catch(() => page.note('The browser refused full screen.'));
  };

  // ---- the levels kept in the browser ------------------------------------------------------

  function openStorage() {
    try {
      const store = window.localStorage;
      const probe = STORE_PREFIX + 'probe';
      store.setItem(probe, '1');
      store.removeItem(probe);
      return store;
    } catch (error) {
      page.note('This browser does not let the page keep files (private mode or blocked ' +
                'storage): levels saved with S last only until the page is closed. ' +
                'Use "Download level" to keep one.');
      return null;
    }
  }

  function toBase64(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  }

  function fromBase64(text) {
    if (typeof text !== 'string' || !/^[A-Za-z0-9+/]*={0,2}$/.test(text)) {
      throw new Error('not base64');
    }
    const raw = atob(text);
    const bytes = new Uint8Array(raw.length);
    for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
    return bytes;
  }

  function isKeptPath(path) {
    const parts = path.split('/');
    return parts.length === 2 && KEPT_FOLDERS.includes(parts[0]) && parts[1] !== '' &&
           parts[1] !== '.' && parts[1] !== '..';
  }

  function signature(path) {
    const stat = FS.stat(path);
    return stat.mtime.getTime() + ':' + stat.size;
  }

  // A stored item that cannot be read is set aside, never thrown away, and the game starts
  // without it.
  function setAside(key, what) {
    try {
      storage.setItem(DAMAGED_PREFIX + key.slice(STORE_PREFIX.length), storage.getItem(key));
      storage.removeItem(key);
    } catch (error) { /* left where it is: it is skipped again next time */ }
    page.note('The stored ' + what + ' is damaged and was not loaded; it is kept aside in the ' +
              'browser\'s storage (' + DAMAGED_PREFIX + '...).');
  }

  function restorePair(folder) {
    const text = storage.getItem(PAIR_KEY);
    if (text === null) return;
    let files;
    try {
      files = JSON.parse(text);
      for (const name of Object.keys(files)) {
        if (!MAP_FILES.includes(name)) throw new Error('unknown file');
        files[name] = fromBase64(files[name]);
        if (files[name].length !== MAP_FILE_BYTES) throw new Error('wrong size');
      }
    } catch (error) {
      setAside(PAIR_KEY, 'level');
      return;
    }
    for (const name of Object.keys(files)) FS.writeFile(folder + '/' + name, files[name]);
    pairSignature = pairSignatureOf(folder);
  }

  page.restoreStored = function (folder) {
    storage = openStorage();
    if (!storage) return;
    try {
      restorePair(folder);
      const keys = [];
      for (let i = 0; i < storage.length; ++i) keys.push(storage.key(i));
      for (const key of keys) {
        if (!key.startsWith(STORE_PREFIX) || key === PAIR_KEY) continue;
        const path = key.slice(STORE_PREFIX.length);
        if (!isKeptPath(path)) continue;
        let bytes;
        try {
          bytes = fromBase64(storage.getItem(key));
        } catch (error) {
          setAside(key, 'file ' + path);
          continue;
        }
        const target = folder + '/' + path;
        FS.mkdirTree(target.slice(0, target.lastIndexOf('/')));
        FS.writeFile(target, bytes);
        keptSignatures[path] = signature(target);
      }
    } catch (error) {
      page.note('The levels kept in this browser could not be read (' + error.message +
                '); the game starts without them.');
    }
  };

  function pairSignatureOf(folder) {
    return MAP_FILES.map((name) => {
      try { return signature(folder + '/' + name); } catch (error) { return '-'; }
    }).join(' ');
  }

  function storeItem(key, value, what) {
    try {
      storage.setItem(key, value);
      delete fullNoted[key];
      return true;
    } catch (error) {
      if (!fullNoted[key]) {
        fullNoted[key] = true;
        page.note('The browser\'s storage is full: ' + what + ' is not kept for the next visit ' +
                  '(the game still has it). Use "Download level" to keep your level.');
      }
      return false;
    }
  }

  function keepPair(folder) {
    const now = pairSignatureOf(folder);
    if (now === pairSignature) return;
    const files = {};
    for (const name of MAP_FILES) {
      try { files[name] = toBase64(FS.readFile(folder + '/' + name)); } catch (error) { }
    }
    // Both files in one item: the kept pair is always one whole save.
    if (storeItem(PAIR_KEY, JSON.stringify(files), 'the saved level')) pairSignature = now;
  }

  function keptFiles(folder) {
    const paths = [];
    for (const sub of KEPT_FOLDERS) {
      let names = [];
      try { names = FS.readdir(folder + '/' + sub); } catch (error) { continue; }
      for (const name of names) {
        const path = sub + '/' + name;
        if (name === '.' || name === '..' || !isKeptPath(path)) continue;
        if (FS.isFile(FS.stat(folder + '/' + path).mode)) paths.push(path);
      }
    }
    return paths;
  }

  // Called after every pass: whatever the game wrote into its play folder since is kept.
  page.syncStored = function (folder) {
    if (!storage) return;
    keepPair(folder);
    const present = new Set();
    for (const path of keptFiles(folder)) {
      present.add(path);
      const now = signature(folder + '/' + path);
      if (keptSignatures[path] === now) continue;
      const value = toBase64(FS.readFile(folder + '/' + path));
      if (storeItem(STORE_PREFIX + path, value, path)) keptSignatures[path] = now;
    }
    for (const path of Object.keys(keptSignatures)) {
      if (present.has(path)) continue;
      try { storage.removeItem(STORE_PREFIX + path); } catch (error) { }
      delete keptSignatures[path];
    }
  };

  // ---- buttons -----------------------------------------------------------------------------

  function offerDownload(bytes, name) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function call(name, returnType, argTypes, args) {
    return Module.ccall(name, returnType, argTypes, args);
  }

  function downloadLevel() {
    const path = '/tmp/ravelon-level-out.map';
    if (!call('WebWriteMapPair', 'number', ['string'], [path])) {
      page.note('The level could not be written out.');
      return;
    }
    offerDownload(FS.readFile(path), LEVEL_DOWNLOAD_NAME);
    FS.unlink(path);
    page.note('Level downloaded as ' + LEVEL_DOWNLOAD_NAME + '.');
  }

  // Only what a level file can be is read: a larger file is cut one byte past that size, so
  // the game refuses it for its size without the page holding all of it.
  async function openLevel(file) {
    if (!file) return;
    let bytes;
    try {
      bytes = new Uint8Array(await file.slice(0, PAIR_FILE_BYTES + 1).arrayBuffer());
    } catch (error) {
      page.note('The file ' + file.name + ' could not be read.');
      return;
    }
    const path = '/tmp/ravelon-level-in.map';
    FS.writeFile(path, bytes);
    pendingOpenName = file.name;
    if (!call('WebOpenMapPair', 'number', ['string'], [path])) {
      page.note('The game has ended: reload the page to open a level.');
    }
  }

  let pendingOpenName = '';

  page.levelOpened = function (opened) {
    if (opened) {
      page.note('Opened ' + pendingOpenName + ' as the level (Ctrl+Z takes it back; S saves it ' +
                'here).');
    } else {
      page.note('The file ' + pendingOpenName + ' is not a Ravelon level (' +
                (page.lines[page.lines.length - 1] || 'refused') + '); the map is unchanged.');
    }
  };

  function downloadRecording() {
    const path = call('WebWriteRecording', 'string', [], []);
    if (!path) {
      page.note('There is no recording yet.');
      return;
    }
    offerDownload(FS.readFile(path), 'ravelon-play.rep');
    page.note('Recording downloaded as ravelon-play.rep.');
  }

  // ---- the game's life ---------------------------------------------------------------------

  page.gameStarted = function () {
    page.started = true;
    for (const id of ['download-level', 'open-level', 'download-recording']) {
      $(id).disabled = false;
    }
  };

  // Escape: the game holds still behind the pause screen until a key, a click or Resume;
  // Restart starts the game again from the level as saved (the unsaved edits are in recovery/,
  // which Ctrl+L brings back).
  page.paused = false;
  page.gamePaused = function () {
    page.paused = true;
    $('pause').hidden = false;
  };

  function resume() {
    if (!page.paused) return;
    page.paused = false;
    $('pause').hidden = true;
    call('WebResume', null, [], []);
    $('canvas').focus();
  }

  // A hidden page (another tab, a minimised window) holds the game and its sound still.
  function visibilityChanged() {
    if (!page.started || page.ended || page.scripted) return;
    const hidden = document.visibilityState === 'hidden';
    call('WebPageHidden', null, ['number'], [hidden ? 1 : 0]);
    if (window.RavelonAudio) window.RavelonAudio.hold(hidden);
    if (!hidden) page.note('The game was paused while the page was hidden.');
  }

  page.gameEnded = function () {
    page.ended = true;
    page.note('The game has ended. Reload the page to play again; edits not saved with S were ' +
              'kept in recovery/.');
  };

  page.waitingForScript = function () {
    page.note('Scripted page: waiting for a script.');
  };

  // The tests' hook: a runner's script played on the runner's virtual clock, the map's bytes.
  window.ravelonTest = {
    start: (script, frames) => call('WebStartScripted', 'number', ['string', 'number'],
                                    [script, frames]),
    passes: () => (page.started ? call('WebPassesDone', 'number', [], []) : 0),
    levelBytes: () => {
      const path = '/tmp/ravelon-level-test.map';
      if (!call('WebWriteMapPair', 'number', ['string'], [path])) return null;
      const bytes = Array.from(FS.readFile(path));
      FS.unlink(path);
      return bytes;
    },
  };

  window.Module = {
    canvas: null,
    print: consoleLine,
    printErr: consoleLine,
    onAbort: (what) => page.note('The game stopped: ' + what + '. Reload the page.'),
    setStatus: (text) => { $('status').textContent = text; },
    monitorRunDependencies: () => {},
  };

  window.addEventListener('DOMContentLoaded', () => {
    window.Module.canvas = $('canvas');
    $('canvas').addEventListener('contextmenu', (event) => event.preventDefault());
    $('fullscreen').addEventListener('click', (event) => {
      page.toggleFullscreen();
      event.currentTarget.blur();
    });
    $('download-level').addEventListener('click', (event) => {
      downloadLevel();
      event.currentTarget.blur();
    });
    $('open-level').addEventListener('click', (event) => {
      $('level-file').click();
      event.currentTarget.blur();
    });
    $('level-file').addEventListener('change', (event) => {
      openLevel(event.target.files[0]);
      event.target.value = '';
    });
    $('download-recording').addEventListener('click', (event) => {
      downloadRecording();
      event.currentTarget.blur();
    });
    $('resume').addEventListener('click', (event) => {
      event.stopPropagation();
      resume();
    });
    $('restart').addEventListener('click', () => window.location.reload());
    $('pause').addEventListener('pointerdown', (event) => {
      if (event.target === $('pause')) resume();
    });
    // Any key goes on from the pause screen; the key itself is not given to the game.
    window.addEventListener('keydown', (event) => {
      if (!page.paused) return;
      event.preventDefault();
      event.stopImmediatePropagation();
      if (event.key !== 'Escape' || !event.repeat) resume();
    }, { capture: true });
    document.addEventListener('visibilitychange', visibilityChanged);
    window.addEventListener('resize', layOut);
    document.addEventListener('fullscreenchange', layOut);
    layOut();
  });

  window.addEventListener('pagehide', () => {
    if (page.started && !page.ended && !page.scripted) call('WebPageClosing', null, [], []);
  });
  window.addEventListener('pageshow', (event) => {
    if (event.persisted) window.location.reload();  // a page kept by the browser has ended
  });
})();
