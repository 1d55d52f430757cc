// Level files on the page: the browser's own XML parser for the game's reader (its document
// handed over as tokens, src/world/xml_tree.h), and the browser's inflater for a level file's
// compressed layers, run as the Open button takes a file in (the game reads whole files at
// once; DecompressionStream answers only as a promise). External tilesets picked with the
// level are laid beside it; one not picked is taken as the game's sheet its file name names.
'use strict';

(function () {
  // As src/world/xml_tree.h and src/world/level_file.h say.
  const MAX_ELEMENTS = 100000;
  const MAX_DEPTH = 64;
  const MAX_TOKEN_CHARS = 32 << 20;
  const LAYER_BYTES = 75 * 54 * 4;
  const MAX_LEVEL_FILE_BYTES = 4 << 20;
  // What inflatedLayer answers besides a length (src/world/layer_inflate_browser.cpp).
  const DAMAGED = -1, NOT_INFLATED = -2, NO_ZSTD = -3;

  const levels = {};
  window.RavelonLevels = levels;

  // ---- the XML parser ----------------------------------------------------------------------

  let parsed = new Uint8Array(0);

  // The browser puts its report of a parse error into the document as an element of its own
  // namespace (a file's own <parsererror> has none).
  function parserError(document) {
    const error = Array.from(document.getElementsByTagNameNS('*', 'parsererror'))
      .find((element) => element.namespaceURI !== null);
    if (!error) return null;
    const detail = error.querySelector('div') || error;
    return detail.textContent.trim().split('\n')[0] || 'the browser could not parse it';
  }

  // The first run of text or CDATA among the children, runs of white space alone left out, as
  // the desktop's parser keeps them.
  function firstText(element) {
    let run = '';
    for (let node = element.firstChild; node; node = node.nextSibling) {
      if (node.nodeType === Node.TEXT_NODE) {
        run += node.data;
        continue;
      }
      if (/\S/.test(run)) return run;
      run = '';
      if (node.nodeType === Node.CDATA_SECTION_NODE) return node.data;
    }
    return /\S/.test(run) ? run : '';
  }

  // Throws the refusal's reason once a cap is passed.
  function addTokens(root, tokens) {
    let elements = 0, chars = 0;
    const add = (text) => {
      chars += text.length + 1;
      if (chars > MAX_TOKEN_CHARS) throw new Error('it holds more text than a level file can');
      tokens.push(text);
    };
    const walk = (element, depth) => {
      if (depth > MAX_DEPTH) throw new Error('its elements nest more than ' + MAX_DEPTH + ' deep');
      if (++elements > MAX_ELEMENTS) throw new Error('it has more than ' + MAX_ELEMENTS + ' elements');
      add('E');
      add(element.nodeName);
      add(String(element.attributes.length));
      for (const attribute of element.attributes) {
        add(attribute.name);
        add(attribute.value);
      }
      add(firstText(element));
      add(String(element.children.length));
      for (const child of element.children) walk(child, depth + 1);
    };
    walk(root, 1);
  }

  // bytes: the file's UTF-8. The game's tokens, or a reason to refuse, held for takeParsed;
  // their length in bytes, negative for a reason.
  levels.parseXml = function (bytes) {
    let why = null;
    const tokens = [];
    try {
      const text = new TextDecoder('utf-8').decode(bytes);
      const document = new DOMParser().parseFromString(text, 'application/xml');
      const error = parserError(document);
      if (error !== null) {
        why = 'it is not XML (' + error + ')';
      } else if (!document.documentElement) {
        why = 'it is not XML (no document element)';
      } else {
        addTokens(document.documentElement, tokens);
      }
    } catch (error) {
      why = error.message;
    }
    const encoder = new TextEncoder();
    if (why !== null) {
      parsed = encoder.encode(why);
      return -parsed.length;
    }
    parsed = encoder.encode(tokens.join('\0') + '\0');
    return parsed.length;
  };

  levels.takeParsed = function () {
    const held = parsed;
    parsed = new Uint8Array(0);
    return held;
  };

  // ---- the inflater ------------------------------------------------------------------------

  let inflated = new Map();  // compression + ':' + base64 of the stream -> its result

  function streamKey(compression, bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return compression + ':' + btoa(text);
  }

  levels.inflatedLayer = function (compression, bytes, out) {
    const result = inflated.get(streamKey(compression, bytes));
    if (result === undefined) return NOT_INFLATED;
    if (typeof result === 'number') return result;
    const length = Math.min(result.length, out.length);
    out.set(result.subarray(0, length));
    return length;
  };

  function browserFormat(compression) {
    const format = { zlib: 'deflate', gzip: 'gzip', zstd: 'zstd' }[compression];
    try {
      new DecompressionStream(format);
      return format;
    } catch (error) {
      return null;
    }
  }

  // The stream inflated, never past one byte more than a layer's length.
  async function inflate(format, bytes) {
    const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream(format))
      .getReader();
    const out = new Uint8Array(LAYER_BYTES + 1);
    let length = 0;
    try {
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        const room = out.length - length;
        out.set(value.subarray(0, room), length);
        length += Math.min(room, value.length);
        if (value.length >= room) {
          reader.cancel().catch(() => {});
          break;
        }
      }
    } catch (error) {
      return DAMAGED;
    }
    return out.subarray(0, length);
  }

  function fromBase64(text) {
    const raw = atob(text.replace(/[ \t\r\n]/g, ''));
    const bytes = new Uint8Array(raw.length);
    for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
    return bytes;
  }

  // Every compressed layer of the document inflated ahead of the game's reading. A layer that
  // is not base64 is left to the game's reader to refuse.
  async function inflateLayers(document) {
    inflated = new Map();
    for (const data of document.getElementsByTagName('data')) {
      const compression = data.getAttribute('compression') || '';
      if (data.getAttribute('encoding') !== 'base64' || !['zlib', 'gzip', 'zstd'].includes(compression)) {
        continue;
      }
      let bytes;
      try {
        bytes = fromBase64(firstText(data));
      } catch (error) {
        continue;
      }
      if (bytes.length > 2 * LAYER_BYTES) continue;  // the reader refuses it before inflating
      const key = streamKey(compression, bytes);
      if (inflated.has(key)) continue;
      const format = browserFormat(compression);
      inflated.set(key, format === null ? NO_ZSTD : await inflate(format, bytes));
    }
  }

  // ---- external tilesets -------------------------------------------------------------------

  const STAND_INS = {
    tiles: '<tileset name="tiles" tilewidth="16" tileheight="16" tilecount="768" columns="32">' +
           '<image source="/play/AllTiles8.bmp" width="512" height="384"/></tileset>',
    water: '<tileset name="water" tilewidth="16" tileheight="16" tilecount="80" columns="16">' +
           '<image source="/play/tall_water.bmp" width="256" height="80"/></tileset>',
  };

  function baseName(path) {
    return path.slice(path.lastIndexOf('/') + 1);
  }

  // The sheet a tileset's file name says it cuts, or null.
  function sheetNamed(source) {
    const stem = baseName(source).toLowerCase().replace(/\.tsx$/, '');
    if (stem === 'tiles' || stem === 'alltiles8') return 'tiles';
    if (stem === 'water' || stem === 'tall_water') return 'water';
    return null;
  }

  // folder + '/' + source with "." and ".." worked out; null when it leaves the folder.
  function pathInside(folder, source) {
    const parts = [];
    for (const part of (folder + '/' + source).split('/')) {
      if (part === '' || part === '.') continue;
      if (part === '..') {
        if (parts.length === 0) return null;
        parts.pop();
      } else {
        parts.push(part);
      }
    }
    const path = '/' + parts.join('/');
    return path.startsWith(folder + '/') ? path : null;
  }

  // Each external tileset the map names: the picked file of its name, else the game's sheet its
  // name names, laid where the reader looks for it. Returns the page's notes.
  async function layOutTilesets(document, folder, picked) {
    const notes = [];
    const map = document.documentElement;
    for (const tileset of map.children) {
      const source = tileset.nodeName === 'tileset' ? tileset.getAttribute('source') : null;
      if (!source) continue;
      const path = pathInside(folder, source);
      if (path === null) continue;
      const file = picked.find((f) => f.name === baseName(source));
      let text = null;
      if (file && file.size <= MAX_LEVEL_FILE_BYTES) {
        text = await file.text();
      } else if (sheetNamed(source)) {
        text = STAND_INS[sheetNamed(source)];
        notes.push('The tileset ' + source + ' was not picked with the level: it is taken as the ' +
                   'game\'s ' + sheetNamed(source) + ' sheet, as its name says.');
      } else {
        notes.push('The tileset ' + source + ' was not picked with the level: pick the level ' +
                   'file and its .tsx files together.');
        continue;
      }
      FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
      FS.writeFile(path, text);
    }
    return notes;
  }

  // ---- taking a level file in --------------------------------------------------------------

  // Whether the bytes look like XML (a level file) rather than a map file: after a byte order
  // mark and white space, a '<'.
  levels.looksLikeXml = function (bytes) {
    let at = bytes.length >= 3 && bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf ? 3 : 0;
    while (at < bytes.length && [0x20, 0x09, 0x0a, 0x0d].includes(bytes[at])) ++at;
    return at < bytes.length && bytes[at] === 0x3c;
  };

  // A file name fit for the play folder: the picked file's, its odd characters replaced.
  function safeName(name) {
    let safe = name.replace(/[^A-Za-z0-9._ -]/g, '_').replace(/^\.+/, '_').slice(0, 60);
    if (!/\.tmx$/i.test(safe)) safe += '.tmx';
    return safe;
  }

  function removeTree(path) {
    let names;
    try { names = FS.readdir(path); } catch (error) { return; }
    for (const name of names) {
      if (name === '.' || name === '..') continue;
      const inner = path + '/' + name;
      if (FS.isDir(FS.stat(inner).mode)) removeTree(inner); else FS.unlink(inner);
    }
    FS.rmdir(path);
  }

  // The level file (bytes, its name, the other files picked with it) laid out in `folder`, its
  // compressed layers inflated and its tilesets beside it: the path to hand the game.
  levels.prepare = async function (bytes, name, picked, folder) {
    removeTree(folder);
    FS.mkdirTree(folder);
    const path = folder + '/' + safeName(name);
    FS.writeFile(path, bytes);
    let notes = [];
    inflated = new Map();
    const document = new DOMParser().parseFromString(new TextDecoder('utf-8').decode(bytes),
                                                     'application/xml');
    if (parserError(document) === null && document.documentElement &&
        document.documentElement.nodeName === 'map') {
      await inflateLayers(document);
      notes = await layOutTilesets(document, folder, picked);
    }
    return { path, notes };
  };

  // The game has read the file: what was laid out for it goes.
  levels.done = function (folder) {
    inflated = new Map();
    try { removeTree(folder); } catch (error) { /* gone already */ }
  };
})();
