// The page around the game: the start screen, the canvas scaled by whole steps or as large as
// the window allows, the buttons, the messages, and the play folder's levels kept in the
// browser's storage (localStorage) between visits.
// Loaded before ravelon.js; the game calls RavelonPage.* and the page calls the game's exported
// functions through Module.
'use strict';

(function () {
  const STORE_PREFIX = 'ravelon:';          // one item per kept file, its bytes in base64
  const PAIR_KEY = 'ravelon:maps';          // the two map files together: a save is one write
  const DAMAGED_PREFIX = 'ravelon-damaged:';
  const MAP_FILES = ['BGMap75x54.raw', 'BlockMap75x54.raw'];
  const MAP_FILE_BYTES = 4050;
  const KEPT_FOLDERS = ['backups', 'recovery', 'levels'];
  const PAIR_FILE_BYTES = 2 * MAP_FILE_BYTES;
  const LEVEL_DOWNLOAD_NAME = 'ravelon-level.map';
  const LEVEL_FILE_BYTES = 4 << 20;           // the largest level file the game reads
  const OPENING_FOLDER = '/play/.opening';    // where a level file is laid out for the game

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
  let viewContext = null;  // the whole-step picture a smoothed fit is drawn from

  // The fit setting (F9, the "Fill the window" box) is kept in the browser. Without one, a touch
  // screen fills the window and a desktop keeps whole steps where 2x or more fits.
  const FIT_KEY = 'ravelon-setting:fit';
  function keptFit() {
    try {
      const kept = window.localStorage.getItem(FIT_KEY);
      if (kept === '1' || kept === '0') return kept === '1';
    } catch (error) { /* no storage: the default */ }
    return null;
  }
  function storedFit() {
    const kept = keptFit();
    if (kept !== null) return kept;
    return window.matchMedia !== undefined && window.matchMedia('(pointer: coarse)').matches;
  }
  let fitAsked = false;

  // The first touch (page_touch.js): a phone's picture fills its width, unless the player chose.
  page.touchFound = function () {
    if (keptFit() !== null || fitAsked) return;
    fitAsked = true;
    $('fit').checked = true;
    layOut();
  };

  // The picture at the window: whole device pixels per frame pixel (sharp, no smoothing) where
  // twice the frame or more fits and the fill is not asked for; elsewhere the largest picture of
  // the frame's shape, drawn by whole steps into a second canvas and smoothed by the browser
  // only across the last step down, so only the seams between frame pixels blend.
  function fitFor(deviceWidth, deviceHeight) {
    const whole = Math.floor(Math.min(deviceWidth / frameWidth, deviceHeight / frameHeight));
    if (whole >= 2 && !fitAsked) return { width: frameWidth * whole, height: frameHeight * whole, step: 0 };
    let width = Math.min(deviceWidth, Math.round(deviceHeight * frameWidth / frameHeight));
    width = Math.max(1, Math.floor(width));
    const height = Math.max(1, Math.min(Math.floor(deviceHeight),
                                        Math.round(width * frameHeight / frameWidth)));
    if (whole >= 1 && width === frameWidth * whole) return { width, height: frameHeight * whole, step: 0 };
    return { width, height, step: Math.max(1, Math.ceil(width / frameWidth), Math.ceil(height / frameHeight)) };
  }

  function layOut() {
    const stage = $('stage');
    const canvas = $('canvas');
    const view = $('view');
    const ratio = window.devicePixelRatio || 1;
    const fullscreen = document.fullscreenElement === stage;
    const width = fullscreen ? window.innerWidth : stage.clientWidth;
    const height = fullscreen ? window.innerHeight : Math.max(window.innerHeight - 40, 1);
    const fit = fitFor(width * ratio, height * ratio);
    const cssWidth = fit.width / ratio, cssHeight = fit.height / ratio;
    canvas.style.width = cssWidth + 'px';
    canvas.style.height = cssHeight + 'px';
    const smoothed = fit.step > 0;
    canvas.classList.toggle('stepped', smoothed);
    view.hidden = !smoothed;
    if (smoothed) {
      if (view.width !== frameWidth * fit.step) view.width = frameWidth * fit.step;
      if (view.height !== frameHeight * fit.step) view.height = frameHeight * fit.step;
      view.style.width = cssWidth + 'px';
      view.style.height = cssHeight + 'px';
      view.style.left = canvas.offsetLeft + 'px';
      view.style.top = canvas.offsetTop + 'px';
      viewContext = view.getContext('2d', { alpha: false });
      viewContext.imageSmoothingEnabled = false;
      drawView();
    } else {
      viewContext = null;
    }
    page.fit = { width: cssWidth, height: cssHeight, step: fit.step, asked: fitAsked };
    const small = fit.width < frameWidth;
    if (small && !tooSmall) {
      page.note('The window is too small for the whole picture at its own size: it is shown ' +
                'shrunk. Make the window larger to see it sharp.');
    }
    tooSmall = small;
  }

  function drawView() {
    if (viewContext) viewContext.drawImage($('canvas'), 0, 0, $('view').width, $('view').height);
  }

  page.toggleFit = function () {
    fitAsked = !fitAsked;
    $('fit').checked = fitAsked;
    try {
      window.localStorage.setItem(FIT_KEY, fitAsked ? '1' : '0');
    } catch (error) {
      page.note('The browser\'s storage is full or blocked: the picture\'s fit is not kept for ' +
                'the next visit.');
    }
    layOut();
  };

  page.windowOpened = function (width, height, title) {
    frameWidth = width;
    frameHeight = height;
    document.title = title;
    context = $('canvas').getContext('2d', { alpha: false });
    layOut();
  };

  // The frame's image is made once for the frame's place in the game's memory; memory that
  // grew (a new buffer) or a new size makes it again.
  // The game sends only the areas that changed: each is put from the same image.
  let shownImage = null;
  page.present = function (pointer, width, height, x, y, areaWidth, areaHeight) {
    if (!shownImage || shownImage.buffer !== Module.HEAPU8.buffer || shownImage.pointer !== pointer ||
        shownImage.image.width !== width || shownImage.image.height !== height) {
      const bytes = new Uint8ClampedArray(Module.HEAPU8.buffer, pointer, width * height * 4);
      shownImage = { buffer: Module.HEAPU8.buffer, pointer, image: new ImageData(bytes, width, height) };
    }
    context.putImageData(shownImage.image, 0, 0, x, y, areaWidth, areaHeight);
  };
  page.presented = drawView;

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

  // False while the game has written nothing into its play folder since it was last kept: the
  // file system's calls that change files are watched, so a pass that wrote nothing costs no
  // look-up at all. Where they cannot be watched, every pass looks.
  let playFolderChanged = true, playFolderWatched = false, playFolderWatchTried = false;

  function watchPlayFolder(folder) {
    const changing = ['write', 'mknod', 'rename', 'unlink', 'rmdir', 'truncate', 'ftruncate',
                      'utime'];
    if (!changing.every((name) => typeof FS[name] === 'function')) return;
    // A relative path is the play folder's (the game works in it); a stream knows its own.
    const inFolder = (path) => typeof path !== 'string' || !path.startsWith('/') ||
                               path === folder || path.startsWith(folder + '/');
    for (const name of changing) {
      const original = FS[name];
      FS[name] = function (...args) {
        const first = name === 'write' ? args[0] && args[0].path : args[0];
        if (inFolder(first) || (name === 'rename' && inFolder(args[1]))) playFolderChanged = true;
        return original.apply(this, args);
      };
    }
    playFolderWatched = true;
  }

  function keepPair(folder) {
    const now = pairSignatureOf(folder);
    if (now === pairSignature) return true;
    const files = {};
    for (const name of MAP_FILES) {
      try { files[name] = toBase64(FS.readFile(folder + '/' + name)); } catch (error) { }
    }
    // Both files in one item: the kept pair is always one whole save.
    if (!storeItem(PAIR_KEY, JSON.stringify(files), 'the saved level')) return false;
    pairSignature = now;
    return true;
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

  // Called after every pass: whatever the game wrote into its play folder since is kept. What
  // the storage refused is tried again after the next pass.
  page.syncStored = function (folder) {
    if (!storage) return;
    if (!playFolderWatchTried) {
      playFolderWatchTried = true;
      watchPlayFolder(folder);
    }
    if (!playFolderChanged) return;
    playFolderChanged = !playFolderWatched;
    if (!keepPair(folder)) playFolderChanged = true;
    const present = new Set();
    for (const path of keptFiles(folder)) {
      present.add(path);
      const now = signature(folder + '/' + path);
      if (keptSignatures[path] === now) continue;
      const value = toBase64(FS.readFile(folder + '/' + path));
      if (storeItem(STORE_PREFIX + path, value, path)) {
        keptSignatures[path] = now;
      } else {
        playFolderChanged = true;
      }
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

  // The level on screen as a level file when it is one (it came from a level file, or Ctrl+S
  // made one); true when it was offered.
  function downloadLevelFile() {
    const path = '/tmp/ravelon-level-out.tmx';
    const name = call('WebWriteLevelFile', 'string', ['string'], [path]);
    if (!name) return false;
    offerDownload(FS.readFile(path), name);
    FS.unlink(path);
    page.note('Level downloaded as ' + name + '.');
    return true;
  }

  function downloadLevel() {
    if (downloadLevelFile()) return;
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
  // A level file (XML, or named .tmx) is read up to one byte past the largest the game reads;
  // the files picked with it are its external tilesets.
  async function openLevel(files) {
    const file = files.find((f) => !/\.tsx$/i.test(f.name)) || files[0];
    if (!file) return;
    let bytes;
    try {
      const most = file.size === PAIR_FILE_BYTES ? PAIR_FILE_BYTES : LEVEL_FILE_BYTES + 1;
      bytes = new Uint8Array(await file.slice(0, most).arrayBuffer());
    } catch (error) {
      page.note('The file ' + file.name + ' could not be read.');
      return;
    }
    if (bytes.length !== PAIR_FILE_BYTES &&
        (/\.tmx$/i.test(file.name) || RavelonLevels.looksLikeXml(bytes))) {
      await openLevelFile(file, bytes, files.filter((f) => f !== file));
      return;
    }
    bytes = bytes.subarray(0, PAIR_FILE_BYTES + 1);
    const path = '/tmp/ravelon-level-in.map';
    FS.writeFile(path, bytes);
    pendingOpenName = file.name;
    if (!call('WebOpenMapPair', 'number', ['string'], [path])) {
      page.note('The game has ended: reload the page to open a level.');
    }
  }

  let pendingOpenName = '';
  let pendingLevelFile = false;

  async function openLevelFile(file, bytes, picked) {
    let prepared;
    try {
      prepared = await RavelonLevels.prepare(bytes, file.name, picked, OPENING_FOLDER);
    } catch (error) {
      page.note('The file ' + file.name + ' could not be read (' + error.message + ').');
      return;
    }
    for (const note of prepared.notes) page.note(note);
    pendingOpenName = file.name;
    pendingLevelFile = true;
    if (!call('WebOpenLevelFile', 'number', ['string', 'string'], [prepared.path, file.name])) {
      pendingLevelFile = false;
      RavelonLevels.done(OPENING_FOLDER);
      page.note('The game has ended: reload the page to open a level.');
    }
  }

  page.levelOpened = function (opened) {
    if (pendingLevelFile) {
      pendingLevelFile = false;
      RavelonLevels.done(OPENING_FOLDER);
      if (opened) {
        page.note('Opened ' + pendingOpenName + ' as the level, kept in levels/ (Ctrl+Z takes ' +
                  'it back; S saves it there).');
      } else {
        page.note('The file ' + pendingOpenName + ' is not a level the game can play (' +
                  (page.lines[page.lines.length - 1] || 'refused') + '); the map is unchanged.');
      }
      return;
    }
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

  // The start screen: the loading bar while the game's files come in, then "click or press a
  // key", which starts the game and its sound (browsers start no sound before a click or a key).
  page.begun = false;
  let loadingTotal = 0;

  function showProgress(fraction, text) {
    $('progress-bar').style.width = Math.round(Math.max(0, Math.min(1, fraction)) * 100) + '%';
    if (text !== undefined) $('start-text').textContent = text;
  }

  // Emscripten reports "Downloading data... (done/total)" while the packed files come in, and
  // an empty status once running.
  function loadingStatus(text) {
    $('status').textContent = text;
    if (page.started) return;
    const counts = /\((\d+)\/(\d+)\)/.exec(text);
    if (counts && Number(counts[2]) > 0) {
      showProgress(Number(counts[1]) / Number(counts[2]),
                   'Loading ' + Math.round(Number(counts[1]) / 1024) + ' of ' +
                   Math.round(Number(counts[2]) / 1024) + ' KiB');
    } else if (text) {
      $('start-text').textContent = text;
    }
  }

  // Files still to come: the bar's second source, where the sizes are not known.
  function dependenciesLeft(left) {
    loadingTotal = Math.max(loadingTotal, left);
    if (loadingTotal > 0 && !page.started) showProgress((loadingTotal - left) / loadingTotal);
  }

  function begin(event) {
    if (!page.started || page.begun || page.scripted) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    page.begun = true;
    $('start').hidden = true;
    if (window.RavelonAudio && window.RavelonAudio.start) window.RavelonAudio.start();
    call('WebBegin', null, [], []);
    $('canvas').focus();
  }

  page.gameStarted = function () {
    page.started = true;
    for (const id of ['download-level', 'open-level', 'download-recording']) {
      $(id).disabled = false;
    }
    if (page.scripted) {
      $('start').hidden = true;
      return;
    }
    showProgress(1, 'Click or press a key to play');
    $('start').classList.add('ready');
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
    $('start').hidden = true;
    page.note('Scripted page: waiting for a script.');
  };

  // The tests' hook: a runner's script played on the runner's virtual clock, the map's bytes.
  window.ravelonTest = {
    start: (script, frames) => call('WebStartScripted', 'number', ['string', 'number'],
                                    [script, frames]),
    passes: () => (page.started ? call('WebPassesDone', 'number', [], []) : 0),
    playerY: () => (page.started ? call('WebPlayerY', 'number', [], []) : -1),
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
    setStatus: loadingStatus,
    monitorRunDependencies: dependenciesLeft,
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
      openLevel(Array.from(event.target.files));
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
    // The start screen's click or key starts the game; it is not given to the game itself.
    window.addEventListener('keydown', begin, { capture: true });
    $('start').addEventListener('pointerdown', begin);
    fitAsked = storedFit();
    $('fit').checked = fitAsked;
    $('fit').addEventListener('change', (event) => {
      if (event.currentTarget.checked !== fitAsked) page.toggleFit();
      event.currentTarget.blur();
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
