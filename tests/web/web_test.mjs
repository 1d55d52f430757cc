// The web page in a real browser: Debian's Chromium, headless, driven by playwright-core.
//   node tests/web/web_test.mjs [BUILD_WEB_DIR]     (default: build-web, as scripts/web.sh makes)
// Checks that a scripted page shows the same frame as ravelon-sim's shot for the same script;
// that a stroke painted with the mouse survives S, a reload and L; that a downloaded level opens
// again as the same map, as one undoable step; that malformed level files are refused with the
// map unchanged; that level files (as the game writes them, zlib, gzip) open, survive Ctrl+S
// and a reload and download as files the runner reads; that the downloaded recording replays in ravelon-sim; and that bad storage, a
// tiny window and a focus lost mid-stroke leave a message and a running game; that a jump is
// heard through Web Audio (and not after M or with ?mute); that the wheel moves the free camera;
// that the game runs 60 passes a second with Chromium's frame limit off; that a start screen
// waits for a click or a key; that the picture fills a 1280x800 window sharp away from the
// seams, and F9 switches the fit and is kept; that the game's keys are the game's and no other
// key is kept from the browser; that on a touch screen the buttons jump and a tap paints; and
// that an idle page rests: no refreshes asked for on the start and pause screens, no pad read
// before the browser announces one, the sound's context suspended while the sound is off.
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import zlib from 'node:zlib';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '../..');
const buildWeb = path.resolve(process.argv[2] || path.join(source, 'build-web'));
const site = path.join(buildWeb, 'site');
const sim = path.join(buildWeb, 'native', 'ravelon-sim');
const artDir = path.join(buildWeb, 'native', 'art');
const browserPath = process.env.RAVELON_CHROMIUM || '/usr/bin/chromium';
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'ravelon-web-test-'));
// A loaded two-core machine compiles the page slowly: waits are generous.
const WAIT_MS = 90000;
const FRAME_WIDTH = 816, FRAME_HEIGHT = 300;

let failures = 0;
function check(condition, what) {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}`);
  if (!condition) failures += 1;
  return condition;
}

// ---- a static server for the built page ----------------------------------------------------

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
                '.wasm': 'application/wasm', '.data': 'application/octet-stream' };

function serve(root) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, name === '/' ? 'index.html' : name);
    if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                              'Cache-Control': 'no-store' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// ---- the page ---------------------------------------------------------------------------------

// The start screen's key: the game's passes begin.
async function begin(page) {
  await page.keyboard.press('Shift');
  await page.waitForFunction(() => window.RavelonPage.begun, null, { timeout: WAIT_MS });
}

async function openPage(context, url, { scripted = false, begins = true } = {}) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`${response.status()} for ${response.url()}`);
  });
  page.problems = problems;
  await page.goto(url);
  const ready = scripted ? () => window.RavelonPage && window.RavelonPage.notes.some(
                             (n) => n.startsWith('Scripted page'))
                         : () => window.RavelonPage && window.RavelonPage.started;
  await page.waitForFunction(ready, null, { timeout: WAIT_MS });
  if (!scripted && begins) await begin(page);
  return page;
}

async function passes(page) {
  return page.evaluate(() => window.ravelonTest.passes());
}

// Waits until the game has run `count` more passes: input is taken once a pass, so an event
// needs a pass to land before the next one.
async function runPasses(page, count = 3) {
  const from = await passes(page);
  await page.waitForFunction((target) => window.ravelonTest.passes() >= target, from + count,
                             { timeout: WAIT_MS });
}

async function level(page) {
  return Buffer.from(await page.evaluate(() => window.ravelonTest.levelBytes()));
}

async function notes(page) {
  return page.evaluate(() => window.RavelonPage.notes.join('\n'));
}

async function waitForNote(page, text) {
  try {
    await page.waitForFunction((t) => window.RavelonPage.notes.some((n) => n.includes(t)), text,
                               { timeout: WAIT_MS });
    return true;
  } catch (error) {
    console.log(`   notes so far:\n${await notes(page)}`);
    return false;
  }
}

// Frame pixel (x, y) as a point on the page: the middle of the canvas pixels that show it.
async function framePoint(page, x, y) {
  const box = await page.locator('#canvas').boundingBox();
  return [box.x + (x + 0.5) * box.width / FRAME_WIDTH, box.y + (y + 0.5) * box.height / FRAME_HEIGHT];
}

async function mouseTo(page, x, y) {
  const [px, py] = await framePoint(page, x, y);
  await page.mouse.move(px, py);
  await runPasses(page, 2);
}

async function press(page, key) {
  await page.keyboard.press(key);
  await runPasses(page, 3);
}

// Picks block style 3 in the picker and paints three cells of the left view with it.
async function paintStroke(page) {
  await mouseTo(page, 440, 20);
  await page.mouse.down();
  await runPasses(page, 2);
  await page.mouse.up();
  await runPasses(page, 2);
  await mouseTo(page, 150, 120);
  await page.mouse.down();
  await runPasses(page, 2);
  await mouseTo(page, 166, 120);
  await mouseTo(page, 182, 120);
  await page.mouse.up();
  await runPasses(page, 2);
}

// ---- the pixels: the page against ravelon-sim -------------------------------------------------

function readBmp24(file) {
  const bytes = fs.readFileSync(file);
  const offset = bytes.readUInt32LE(10), width = bytes.readInt32LE(18);
  const rawHeight = bytes.readInt32LE(22), height = Math.abs(rawHeight);
  const stride = Math.ceil(width * 3 / 4) * 4;
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    const row = rawHeight > 0 ? height - 1 - y : y;
    for (let x = 0; x < width; ++x) {
      const at = offset + row * stride + x * 3;
      rgb[(y * width + x) * 3] = bytes[at + 2];
      rgb[(y * width + x) * 3 + 1] = bytes[at + 1];
      rgb[(y * width + x) * 3 + 2] = bytes[at];
    }
  }
  return { width, height, rgb };
}

function simShot(scriptFile, frames) {
  const dir = fs.mkdtempSync(path.join(scratch, 'sim-'));
  for (const name of fs.readdirSync(artDir)) fs.copyFileSync(path.join(artDir, name), path.join(dir, name));
  const shot = path.join(dir, 'shot.bmp');
  execFileSync(sim, ['--dir', dir, '--frames', String(frames), '--script', scriptFile, '--shot', shot],
               { stdio: ['ignore', 'ignore', 'inherit'], timeout: 300000 });
  return readBmp24(shot);
}

async function pixelsMatchSim(browser, url, scriptFile, frames) {
  const context = await browser.newContext();
  const page = await openPage(context, `${url}/index.html?script`, { scripted: true });
  const script = fs.readFileSync(scriptFile, 'utf8');
  const started = await page.evaluate(([s, f]) => window.ravelonTest.start(s, f), [script, frames]);
  check(started === 1, `scripted page takes ${path.basename(scriptFile)}`);
  await page.waitForFunction((f) => window.ravelonTest.passes() >= f, frames, { timeout: WAIT_MS * 3 });
  await page.waitForTimeout(200);  // a pass past the last is never run: the canvas holds still
  const canvas = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    return Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data);
  });
  const expected = simShot(scriptFile, frames);
  let differing = 0, first = '';
  for (let i = 0; i < FRAME_WIDTH * FRAME_HEIGHT; ++i) {
    for (let c = 0; c < 3; ++c) {
      if (canvas[i * 4 + c] !== expected.rgb[i * 3 + c]) {
        if (!differing) first = ` (first at x ${i % FRAME_WIDTH}, y ${Math.floor(i / FRAME_WIDTH)})`;
        differing += 1;
        break;
      }
    }
  }
  check(expected.width === FRAME_WIDTH && differing === 0,
        `frame ${frames} of ${path.basename(scriptFile)} equals ravelon-sim's shot: ` +
        `${differing} pixels differ${first}`);
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();
}

// ---- levels in the browser, files in and out --------------------------------------------------

async function levelsKeptAndShared(browser, url) {
  const context = await browser.newContext({ acceptDownloads: true });
  let page = await openPage(context, `${url}/index.html`);
  const first = await level(page);
  check(first.length === 8100, 'a level is 8100 bytes');
  await paintStroke(page);
  const painted = await level(page);
  check(!painted.equals(first), 'a mouse stroke paints the level');
  // S lands once the pair in the browser's storage has changed; a busy machine may take a while.
  const storedPair = () => window.localStorage.getItem('ravelon:maps');
  const pairBeforeS = await page.evaluate(storedPair);
  await press(page, 's');
  const saved = await page.waitForFunction((was) => window.localStorage.getItem('ravelon:maps') !== was,
                                           pairBeforeS, { timeout: WAIT_MS }).then(() => true, () => false);
  if (!saved) {
    console.log(`   S kept nothing in storage; the game's lines:\n${(await page.evaluate(
      () => window.RavelonPage.lines.slice(-20).join('\n')))}\n   notes:\n${await notes(page)}`);
  }
  await page.reload();
  await page.waitForFunction(() => window.RavelonPage.started, null, { timeout: WAIT_MS });
  await begin(page);
  check((await level(page)).equals(painted), 'after S and a reload the page starts on the painted level');
  await press(page, 'r');
  check(!(await level(page)).equals(painted), 'R restarts on the built-in map');
  await press(page, 'l');
  check((await level(page)).equals(painted), 'L loads the saved stroke back');

  // The recording of this visit replays in the runner.
  await press(page, 'ArrowRight');
  const [recording] = await Promise.all([page.waitForEvent('download'),
                                         page.click('#download-recording')]);
  const replay = path.join(scratch, 'play.rep');
  await recording.saveAs(replay);
  let replayed = true;
  try {
    execFileSync(sim, ['--dir', artDir, '--replay', replay], { stdio: ['ignore', 'ignore', 'inherit'],
                                                            timeout: 300000 });
  } catch (error) {
    replayed = false;
  }
  check(replayed, 'the downloaded recording replays in ravelon-sim');

  // Download the level, change the map, open the file: the same map, one undoable step. The
  // world is held (P) meanwhile, so no brick the bad guys break comes between a map read and
  // the step it is compared with.
  await press(page, 'p');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download-level')]);
  const levelFile = path.join(scratch, 'level.map');
  await download.saveAs(levelFile);
  const downloaded = fs.readFileSync(levelFile);
  check(downloaded.equals(await level(page)), 'the downloaded file is the level, BG bytes then blocks');
  await press(page, 'r');
  const restarted = await level(page);
  await page.setInputFiles('#level-file', levelFile);
  check(await waitForNote(page, 'Opened level.map'), 'opening the file is reported');
  check((await level(page)).equals(downloaded), 'the opened file gives the same map');
  await page.keyboard.down('Control');
  await press(page, 'z');
  await page.keyboard.up('Control');
  await runPasses(page, 2);
  check((await level(page)).equals(restarted), 'Ctrl+Z takes the opened level back in one step');

  // Malformed files: refused with the game's message, the map as it was.
  const before = await level(page);
  const bad = [['short.map', Buffer.alloc(5000, 7)], ['long.map', Buffer.alloc(8101, 1)],
               ['huge.bin', Buffer.alloc(3 << 20, 0xff)], ['empty.map', Buffer.alloc(0)]];
  for (const [name, buffer] of bad) {
    await page.setInputFiles('#level-file', { name, mimeType: 'application/octet-stream', buffer });
    check(await waitForNote(page, `The file ${name} is not a Ravelon level (Wrong size!)`),
          `${name} (${buffer.length} bytes) is refused with "Wrong size!"`);
    check((await level(page)).equals(before), `${name} leaves the map unchanged`);
  }
  await press(page, 'p');

  // Space pauses three seconds without blocking the page, then play goes on.
  const beforePause = await passes(page);
  await page.keyboard.press(' ');
  await page.waitForTimeout(1500);
  const duringPause = await passes(page);
  check(duringPause - beforePause < 10, `Space holds the passes back (${duringPause - beforePause} ran in 1.5 s)`);
  check(await page.evaluate(() => document.title) === 'Ravelon v0.09a', 'the page answers during the pause');
  await runPasses(page, 10);
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();
}

// ---- level files on the page ------------------------------------------------------------------

// The map a level file holds in the order levelBytes gives it (backgrounds, then blocks), from
// its CSV layers: block style s is gid s + 1, background style b gid 257 + b, 255 for none.
function pairOfCsvLevel(text) {
  const pair = Buffer.alloc(8100, 255);
  for (const [layer, offset, first] of [['backgrounds', 0, 257], ['blocks', 4050, 1]]) {
    const found = new RegExp(`name="${layer}"[^>]*>\\s*<data encoding="csv">([^<]*)</data>`).exec(text);
    if (!found) return null;
    found[1].split(',').map((n) => Number(n.trim())).forEach((gid, i) => {
      if (gid !== 0) pair[offset + i] = (gid - first) % 256;
    });
  }
  return pair;
}

// The zlib layers of a level file as gzip streams of the same gids.
function asGzip(text) {
  return text.replace(/<data encoding="base64" compression="zlib">\s*([^<]*?)\s*<\/data>/g, (whole, data) =>
    `<data encoding="base64" compression="gzip">${zlib.gzipSync(zlib.inflateSync(Buffer.from(data, 'base64'))).toString('base64')}</data>`);
}

async function chord(page, key) {
  await page.keyboard.down('Control');
  await page.keyboard.press(key);
  await page.keyboard.up('Control');
  await runPasses(page, 3);
}

async function openFile(page, name, buffer) {
  await page.setInputFiles('#level-file', { name, mimeType: 'application/octet-stream', buffer });
}

async function levelFilesOnThePage(browser, url) {
  const corpus = path.join(source, 'fuzz', 'corpus', 'fuzz_level_read');
  const zlibText = fs.readFileSync(path.join(corpus, 'dummy_map_zlib.tmx'), 'utf8');
  // The same level as the game writes it: the native runner reads the zlib file and saves it.
  const written = path.join(scratch, 'written.tmx');
  execFileSync(sim, ['--dir', artDir, '--level', path.join(corpus, 'dummy_map_zlib.tmx'), '--frames', '1',
                     '--save-level', written], { stdio: ['ignore', 'ignore', 'inherit'], timeout: 300000 });
  const writtenText = fs.readFileSync(written, 'utf8');
  const expected = pairOfCsvLevel(writtenText);
  check(expected !== null, 'the runner writes the level with CSV layers');

  const context = await browser.newContext({ acceptDownloads: true });
  let page = await openPage(context, `${url}/index.html`);
  check(await page.evaluate(() => FS.readdir('/play/levels').includes('default.tmx')),
        'the page\'s levels/ starts with the default level');
  const startLevel = await level(page);
  check(!startLevel.equals(expected), 'the level file holds another map than the start');

  // Each level file is opened over the start's map (opened as a map file), so each changes it.
  const overStart = async () => {
    await openFile(page, 'start.map', startLevel);
    await waitForNote(page, 'Opened start.map');
    await page.evaluate(() => { window.RavelonPage.notes.length = 0; });
  };
  // The world held (P) while the map is read and the file opened: a brick the bad guys break
  // in between would make the map Ctrl+Z brings back another than the one read.
  await press(page, 'p');
  const beforeOpen = await level(page);
  await openFile(page, 'written.tmx', Buffer.from(writtenText));
  check(await waitForNote(page, 'Opened written.tmx as the level'), 'a level file the game wrote opens');
  check((await level(page)).equals(expected), 'it gives the map its layers hold');
  await press(page, 'p');
  await runPasses(page, 30);
  const feet = (await page.evaluate(() => window.ravelonTest.playerY())) / 65536;
  check(Math.abs(feet - 528) < 48, `it plays, the player starting at its player object (feet at ${feet})`);
  check(await page.evaluate(() => FS.readdir('/play/levels').includes('written.tmx')),
        'the opened level is kept in levels/');

  await chord(page, 'z');
  check((await level(page)).equals(beforeOpen), 'Ctrl+Z takes the opened level back');
  await overStart();
  await openFile(page, 'dummy_map_zlib.tmx', Buffer.from(zlibText));
  check(await waitForNote(page, 'Opened dummy_map_zlib.tmx as the level'), 'a level file in base64 and zlib opens');
  check((await level(page)).equals(expected), 'its zlib layers give the same map');
  await overStart();
  await openFile(page, 'gzipped.tmx', Buffer.from(asGzip(zlibText)));
  check(await waitForNote(page, 'Opened gzipped.tmx as the level'), 'a level file in base64 and gzip opens');
  check((await level(page)).equals(expected), 'its gzip layers give the same map');

  // External tilesets: one picked with the level is read; one not picked is the game's sheet
  // its file name names.
  const tilesTsx = /<tileset firstgid="1" (name="tiles"[^>]*)>([\s\S]*?)<\/tileset>/.exec(writtenText);
  const external = (source) => writtenText.replace(tilesTsx[0], `<tileset firstgid="1" source="${source}"/>`);
  check(tilesTsx !== null, 'the game writes its tiles tileset embedded');
  await overStart();
  await page.setInputFiles('#level-file', [
    { name: 'picked.tmx', mimeType: 'application/octet-stream', buffer: Buffer.from(external('sheets/mine.tsx')) },
    { name: 'mine.tsx', mimeType: 'application/octet-stream',
      buffer: Buffer.from(`<tileset ${tilesTsx[1]}>${tilesTsx[2].replace('../', '../../')}</tileset>`) }]);
  check(await waitForNote(page, 'Opened picked.tmx as the level'), 'a level opens with its external tileset picked along');
  check((await level(page)).equals(expected), 'its external tileset gives the same map');
  await overStart();
  await openFile(page, 'named.tmx', Buffer.from(external('tiles.tsx')));
  check(await waitForNote(page, 'taken as the game\'s tiles sheet'), 'a tileset not picked is taken by its name, with a note');
  check(await waitForNote(page, 'Opened named.tmx as the level'), 'the level of a tileset taken by its name opens');
  check((await level(page)).equals(expected), 'the tileset taken by its name gives the same map');
  await overStart();
  const beforeUnknown = await level(page);
  await openFile(page, 'unknown.tmx', Buffer.from(external('other.tsx')));
  check(await waitForNote(page, 'its tileset other.tsx is missing'), 'a tileset neither picked nor named is refused');
  check((await level(page)).equals(beforeUnknown), 'the refused level leaves the map unchanged');

  // zstd: this browser may not inflate it; then one line says so and the map stays.
  await overStart();
  const beforeZstd = await level(page);
  await openFile(page, 'zstd.tmx', fs.readFileSync(path.join(corpus, 'dummy_map_zstd.tmx')));
  const zstdOpened = await page.waitForFunction(() => window.RavelonPage.notes.some(
    (n) => n.includes('zstd.tmx')), null, { timeout: WAIT_MS }).then(() => page.evaluate(
    () => window.RavelonPage.notes.find((n) => n.includes('zstd.tmx'))), () => '');
  if (zstdOpened.startsWith('Opened')) {
    check((await level(page)).equals(expected), 'its zstd layers give the same map');
  } else {
    check(zstdOpened.includes('does not read zstd layers'), `a zstd level is refused in one line: ${zstdOpened}`);
    check((await level(page)).equals(beforeZstd), 'the refused zstd level leaves the map unchanged');
  }

  // Bad level files: one line each, the map as it was (R first: the actors at their starts
  // leave the map as it is).
  await press(page, 'r');
  const before = await level(page);
  const bad = [['notxml.tmx', '<map', 'it is not XML'], ['other.tmx', '<tileset/>', 'it is not a Tiled map'],
               ['big.tmx', zlibText.replace('width="75"', 'width="76"'), 'it is not 75x54 tiles'],
               ['cut.tmx', zlibText.replace(/(compression="zlib">\s*)eJzt/, '$1eJzT'), 'damaged']];
  for (const [name, text, why] of bad) {
    await openFile(page, name, Buffer.from(text));
    check(await waitForNote(page, `The file ${name} is not a level the game can play`), `${name} is refused`);
    const said = await page.evaluate((n) => window.RavelonPage.notes.find((t) => t.includes(n)), name);
    check(said.includes(why), `${name}: "${why}" (${said})`);
    check((await level(page)).equals(before), `${name} leaves the map unchanged`);
  }

  // Ctrl+S keeps the level as a new file in the browser's storage; after a reload the level
  // list opens it.
  await openFile(page, 'written.tmx', Buffer.from(writtenText));
  check(await waitForNote(page, 'Opened written.tmx as the level, kept'), 'the level file opens again');
  // Ctrl+S asks for the name: the offered level-N is erased and another typed (its S and L
  // neither save nor load).
  await chord(page, 's');
  for (let i = 0; i < 12; ++i) await page.keyboard.press('Backspace');
  await page.keyboard.type('my cave SL');
  await runPasses(page, 3);
  check(!(await page.evaluate(() => Object.keys(localStorage).some((k) => k.startsWith('ravelon:levels/my')))),
        'nothing is kept while the name is typed');
  await press(page, 'Enter');
  const stored = await page.waitForFunction(() => Object.keys(localStorage).find(
    (k) => k === 'ravelon:levels/my cave SL.tmx'), null, { timeout: WAIT_MS }).then(
    (handle) => handle.jsonValue(), () => null);
  check(stored !== null, `Ctrl+S keeps the level under the typed name in the browser's storage (${stored})`);
  await page.reload();
  await page.waitForFunction(() => window.RavelonPage.started, null, { timeout: WAIT_MS });
  await begin(page);
  const file = stored ? stored.slice('ravelon:levels/'.length) : 'my cave SL.tmx';
  const index = await page.evaluate((f) => FS.readdir('/play/levels').filter((n) => n.endsWith('.tmx'))
    .sort().indexOf(f), file);
  check(index >= 0, `after a reload levels/ still holds ${file}`);
  await chord(page, 'o');
  for (let i = 0; i < index; ++i) await press(page, 'ArrowDown');
  await press(page, 'Enter');
  check((await level(page)).equals(expected), 'the level list opens the kept level after a reload');

  // Download gives the level file, which the native runner reads.
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download-level')]);
  check(download.suggestedFilename() === file, `Download gives the level file (${download.suggestedFilename()})`);
  const downloaded = path.join(scratch, 'downloaded.tmx');
  await download.saveAs(downloaded);
  const again = path.join(scratch, 'again.tmx');
  let read = true;
  try {
    execFileSync(sim, ['--dir', artDir, '--level', downloaded, '--frames', '1', '--save-level', again],
                 { stdio: ['ignore', 'ignore', 'inherit'], timeout: 300000 });
  } catch (error) {
    read = false;
  }
  check(read && pairOfCsvLevel(fs.readFileSync(again, 'utf8')).equals(expected),
        'ravelon-sim --level reads the downloaded level file as the same map');
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();
}

// ---- bad input: storage, window, focus --------------------------------------------------------

async function badInput(browser, url) {
  // A damaged stored level: set aside, a message, the game runs on the default level.
  let context = await browser.newContext();
  await context.addInitScript(() => {
    if (!sessionStorage.getItem('damaged')) {
      sessionStorage.setItem('damaged', '1');
      localStorage.setItem('ravelon:maps', '{"BGMap75x54.raw": "%%% not base64');
    }
  });
  let page = await openPage(context, `${url}/index.html`);
  check(await waitForNote(page, 'is damaged and was not loaded'), 'a damaged stored level gives a message');
  await runPasses(page, 5);
  check(await page.evaluate(() => localStorage.getItem('ravelon-damaged:maps') !== null),
        'the damaged level is kept aside, not thrown away');
  await context.close();

  // Storage forbidden (as in some private modes): a message; S still works for the visit.
  context = await browser.newContext();
  await context.addInitScript(() => {
    Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('denied', 'SecurityError'); } });
  });
  page = await openPage(context, `${url}/index.html`);
  check(await waitForNote(page, 'does not let the page keep files'), 'forbidden storage gives a message');
  await press(page, 's');
  await runPasses(page, 5);
  check(page.problems.length === 0, `the game goes on without storage ${page.problems.join('; ')}`);
  await context.close();

  // Storage full: a message on S, nothing thrown, the game goes on.
  context = await browser.newContext();
  await context.addInitScript(() => {
    const setItem = Storage.prototype.setItem;
    Storage.prototype.setItem = function (key, value) {
      if (String(value).length > 100) throw new DOMException('full', 'QuotaExceededError');
      return setItem.call(this, key, value);
    };
  });
  page = await openPage(context, `${url}/index.html`);
  await paintStroke(page);
  await press(page, 's');
  check(await waitForNote(page, 'storage is full'), 'full storage gives a message on S');
  await runPasses(page, 5);
  check(page.problems.length === 0, `the game goes on with full storage ${page.problems.join('; ')}`);

  // A window of one pixel: a message, the game goes on.
  await page.setViewportSize({ width: 1, height: 1 });
  check(await waitForNote(page, 'too small'), 'a 1x1 window gives a message');
  await runPasses(page, 5);
  await page.setViewportSize({ width: 1280, height: 720 });
  await runPasses(page, 2);

  // The focus lost in the middle of a stroke: a message, the stroke ends, the game goes on.
  await mouseTo(page, 100, 200);
  await page.mouse.down();
  await runPasses(page, 2);
  await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
  check(await waitForNote(page, 'lost the focus in the middle of a stroke'),
        'losing the focus mid-stroke gives a message');
  await page.mouse.up();
  await runPasses(page, 5);
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();
}

// ---- the sound and the wheel ----------------------------------------------------------------

async function audioCounts(page) {
  return page.evaluate(() => ({ buffers: RavelonAudio.buffers, audible: RavelonAudio.audibleBuffers,
                                state: RavelonAudio.context ? RavelonAudio.context.state : 'none' }));
}

// Holds B long enough for a jump and lets its sound be mixed; the audible buffers it added.
async function jumpHeard(page) {
  await runPasses(page, 60);  // the start's sounds (a landing) die away
  const before = await audioCounts(page);
  await page.keyboard.down('b');
  await runPasses(page, 10);
  await page.keyboard.up('b');
  await runPasses(page, 20);
  const after = await audioCounts(page);
  return { buffers: after.buffers - before.buffers, audible: after.audible - before.audible };
}

async function soundHeard(browser, url) {
  const context = await browser.newContext();
  let page = await openPage(context, `${url}/index.html`, { begins: false });
  check(await page.isVisible('#start') && await passes(page) === 0,
        'the start screen waits for a click or a key');
  check((await audioCounts(page)).buffers === 0, 'no sound is handed over before a key or a click');
  await page.keyboard.press('n');  // the start screen's key, which lets the page start its sound
  await runPasses(page, 3);
  check(!(await page.isVisible('#start')), 'a key starts the game');
  const started = await page.waitForFunction(() => RavelonAudio.buffers > 0, null,
                                             { timeout: WAIT_MS }).then(() => true, () => false);
  check(started, `the first key starts Web Audio (${(await audioCounts(page)).state})`);
  const jump = await jumpHeard(page);
  check(jump.audible > 0, `a jump is heard (${jump.audible} of ${jump.buffers} buffers not silent)`);
  // The browser stops the sound by itself (another app took the audio): the game goes on and
  // the sound comes back.
  await page.evaluate(() => RavelonAudio.context.suspend());
  await runPasses(page, 30);
  const back = await page.waitForFunction(() => RavelonAudio.context.state === 'running', null,
                                          { timeout: WAIT_MS }).then(() => true, () => false);
  const interrupted = await page.evaluate(() => RavelonAudio.interruptions);
  const again = await jumpHeard(page);
  check(back && interrupted >= 1 && again.audible > 0,
        `a sound the browser stopped comes back and the game goes on (${interrupted} stop(s), ` +
        `${again.audible} buffers heard after)`);
  await press(page, 'm');
  const muted = await jumpHeard(page);
  check(muted.buffers === 0, `after M nothing is scheduled (${muted.buffers} buffers)`);
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await page.close();
  page = await openPage(context, `${url}/index.html?mute`);
  const mutedFromStart = await jumpHeard(page);
  check(mutedFromStart.buffers === 0 && (await audioCounts(page)).buffers === 0,
        `?mute schedules nothing (${(await audioCounts(page)).buffers} buffers)`);
  await context.close();
}

// ---- an idle page rests -----------------------------------------------------------------------

// Counts, from before the game loads, the refreshes the page asks for and its pad readings; the
// browser shows one pad (testPad) once the test says so.
function countRefreshesAndPads() {
  window.testCalls = { refreshes: 0, padReads: 0 };
  const refresh = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => {
    window.testCalls.refreshes += 1;
    return refresh(callback);
  };
  window.testPad = { id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard',
                     timestamp: 1, axes: [0, 0, 0, 0],
                     buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
  window.testPadShown = false;
  navigator.getGamepads = () => {
    window.testCalls.padReads += 1;
    return window.testPadShown ? [window.testPad] : [];
  };
}

// The refreshes asked for over a second, waited for without any polling of the test's own.
async function refreshesInASecond(page) {
  const from = await page.evaluate(() => window.testCalls.refreshes);
  await page.waitForTimeout(1000);
  return (await page.evaluate(() => window.testCalls.refreshes)) - from;
}

async function idlePageRests(browser, url) {
  const context = await browser.newContext();
  await context.addInitScript(countRefreshesAndPads);
  const page = await openPage(context, `${url}/index.html?mute`, { begins: false });
  const atStart = await refreshesInASecond(page);
  check(atStart <= 1, `the start screen asks for no refreshes (${atStart} in a second)`);
  await begin(page);
  await runPasses(page, 30);
  const playing = await refreshesInASecond(page);
  check(playing >= 30, `playing, the page is called back at each refresh (${playing} in a second)`);
  const state = () => page.evaluate(() => (RavelonAudio.context ? RavelonAudio.context.state : 'none'));
  await page.waitForFunction(() => RavelonAudio.context && RavelonAudio.context.state === 'suspended', null,
                             { timeout: WAIT_MS }).catch(() => {});
  check(await state() === 'suspended', `?mute: the sound's context rests (${await state()})`);
  await press(page, 'm');
  const heard = await jumpHeard(page);
  check(await state() === 'running' && heard.audible > 0,
        `M turns the sound on: the context runs and a jump is heard (${await state()}, ${heard.audible} buffers)`);
  check((await page.evaluate(() => window.testCalls.padReads)) === 0,
        'no pad is read before the browser announces one');
  await page.evaluate(() => {
    window.testPadShown = true;
    const announced = new Event('gamepadconnected');
    Object.defineProperty(announced, 'gamepad', { value: window.testPad });
    window.dispatchEvent(announced);
  });
  await runPasses(page, 3);
  check(await page.evaluate(() => RavelonPage.lines.some((l) => l.startsWith('Pad connected: Test pad'))),
        'a pad the browser announces is read');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.RavelonPage.paused, null, { timeout: WAIT_MS });
  const paused = await refreshesInASecond(page);
  check(paused <= 1, `the pause screen asks for no refreshes (${paused} in a second)`);
  await page.keyboard.press('ArrowRight');
  await runPasses(page, 10);
  check(page.problems.length === 0, `after the pause the game goes on, no page errors ${page.problems.join('; ')}`);
  await context.close();
}

async function canvasPixels(page) {
  return page.evaluate(() => {
    const c = document.getElementById('canvas');
    return Array.from(new Uint32Array(c.getContext('2d').getImageData(0, 0, c.width, c.height).data.buffer));
  });
}

// How far the left view's map moved sideways between two frames: the shift under which the
// largest share of its pixels agree (animations change a few pixels, a scroll moves them all).
// The panel on top and the map overview in the corner stay put, so they are left out.
function leftViewShift(before, after) {
  const LEFT = 0, RIGHT = 240, TOP = 70, BOTTOM = FRAME_HEIGHT;
  let best = 0, bestShare = -1;
  for (let shift = -60; shift <= 60; ++shift) {
    let same = 0, compared = 0;
    for (let y = TOP; y < BOTTOM; ++y) {
      for (let x = Math.max(LEFT, LEFT - shift); x < Math.min(RIGHT, RIGHT - shift); ++x) {
        if (before[y * FRAME_WIDTH + x] === after[y * FRAME_WIDTH + x + shift]) same += 1;
        compared += 1;
      }
    }
    if (same / compared > bestShare) [best, bestShare] = [shift, same / compared];
  }
  return best;
}

// With the free camera on (Tab), a notch of the wheel to the right over the picture moves the
// left view three cells (48 pixels) right, as on the desktop, and never scrolls the page. The
// view starts at the map's left edge, so right is the way it can always go.
async function wheelMovesCamera(browser, url) {
  const context = await browser.newContext({ viewport: { width: 900, height: 500 } });
  const page = await openPage(context, `${url}/index.html`);
  await press(page, 'Tab');
  await mouseTo(page, 200, 150);
  const before = await canvasPixels(page);
  await page.mouse.wheel(100, 0);
  await runPasses(page, 10);
  const shift = leftViewShift(before, await canvasPixels(page));
  check(shift === -48, `a wheel notch to the right moves the free camera's view 48 pixels right (${-shift})`);
  await page.mouse.wheel(0, 300);
  await runPasses(page, 3);
  check(await page.evaluate(() => document.scrollingElement.scrollHeight > window.innerHeight &&
                                   window.scrollY === 0),
        'the wheel over the picture leaves the page, taller than the window, where it was');
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();
}

// Escape pauses the page instead of ending the game, and a key goes on; a hidden page holds
// the game still and says so when it is shown again; the page's notes fade away.
async function pausesAndGoesOn(browser, url) {
  const context = await browser.newContext({ viewport: { width: 900, height: 500 } });
  const page = await openPage(context, `${url}/index.html`);
  await page.click('#canvas');
  await runPasses(page, 3);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.RavelonPage.paused, null, { timeout: WAIT_MS });
  const held = await passes(page);
  await page.waitForTimeout(1000);
  check(await page.isVisible('#pause') && await passes(page) <= held + 1,
        'Escape shows the pause screen and the game holds still');
  await page.keyboard.press('ArrowRight');
  await runPasses(page, 10);
  check(!(await page.isVisible('#pause')) && !(await page.evaluate(() => window.RavelonPage.ended)),
        'a key after Escape: the game goes on');
  const setHidden = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (h ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await setHidden(true);
  const hiddenAt = await passes(page);
  await page.waitForTimeout(1000);
  check(await passes(page) <= hiddenAt + 1, 'a hidden page holds the game still');
  await setHidden(false);
  await runPasses(page, 10);
  check(await waitForNote(page, 'paused while the page was hidden'), 'shown again, the page says it paused');
  await page.waitForFunction(() => document.querySelectorAll('#notes .note').length === 0, null,
                             { timeout: 20000 }).then(() => true, () => false)
    .then((gone) => check(gone, 'the page\'s notes fade away'));
  check(page.problems.length === 0, `no page errors and no missing files ${page.problems.join('; ')}`);
  await context.close();
}

// With Chromium's frame limit off the page is called back hundreds of times a second; the game
// still runs 60 passes a second (within 1 %) by its own clock.
async function sixtyPassesUnlimited(url) {
  const browser = await chromium.launch({ executablePath: browserPath, headless: true,
                                          args: ['--no-sandbox', '--disable-dev-shm-usage',
                                                 '--disable-frame-rate-limit', '--disable-gpu-vsync'] });
  try {
    const context = await browser.newContext({ viewport: { width: 900, height: 500 } });
    const page = await openPage(context, `${url}/index.html`);
    await runPasses(page, 30);
    const rate = await page.evaluate(() => new Promise((resolve) => {
      let refreshes = 0;
      const count = () => { refreshes += 1; requestAnimationFrame(count); };
      requestAnimationFrame(count);
      const from = window.ravelonTest.passes(), start = performance.now();
      setTimeout(() => {
        const seconds = (performance.now() - start) / 1000;
        resolve({ passes: (window.ravelonTest.passes() - from) / seconds, refreshes: refreshes / seconds });
      }, 10000);
    }));
    console.log(`     ${rate.refreshes.toFixed(0)} refreshes a second with the frame limit off`);
    check(Math.abs(rate.passes - 60) <= 0.6,
          `60 passes a second with the frame limit off (${rate.passes.toFixed(2)})`);
    await context.close();
  } finally {
    await browser.close();
  }
}


// ---- the picture's fit, the keys, touch ---------------------------------------------------

// An 8-bit RGB or RGBA PNG (what a screenshot is) as rows of 0xRRGGBB.
function decodePng(buffer) {
  let at = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (at < buffer.length) {
    const length = buffer.readUInt32BE(at), type = buffer.toString('latin1', at + 4, at + 8);
    const body = buffer.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[body[9]];
      if (body[8] !== 8 || !channels || body[12] !== 0) throw new Error('unexpected PNG format');
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels, rows = [];
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)], line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = previous[i], c = i >= channels ? previous[i - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : (pb <= pc ? b : c)][filter];
      line[i] = (line[i] + predictor) & 0xff;
    }
    const row = new Uint32Array(width);
    for (let x = 0; x < width; ++x) row[x] = (line[x * channels] << 16) | (line[x * channels + 1] << 8) | line[x * channels + 2];
    rows.push(row);
    previous = line;
  }
  return { width, height, rows };
}

// The canvas's frame as rows of 0xRRGGBB.
async function frameRows(page) {
  const rgba = await canvasPixels(page);
  const rows = [];
  for (let y = 0; y < FRAME_HEIGHT; ++y) {
    const row = new Uint32Array(FRAME_WIDTH);
    for (let x = 0; x < FRAME_WIDTH; ++x) {
      const p = rgba[y * FRAME_WIDTH + x];  // little-endian RGBA
      row[x] = ((p & 0xff) << 16) | (p & 0xff00) | ((p >> 16) & 0xff);
    }
    rows.push(row);
  }
  return rows;
}

// The picture on the screen against the frame: each 2x2 block of screen pixels whose four
// pixels show frame pixels of one colour, each with all eight neighbours of that colour too,
// must be exactly that colour. Returns [blocks checked, blocks wrong].
async function sharpAwayFromSeams(page) {
  const box = await page.locator('#canvas').boundingBox();
  const frame = await frameRows(page);
  const shot = decodePng(await page.screenshot({ clip: box, animations: 'disabled' }));
  const calm = (fx, fy) => {
    const c = frame[fy][fx];
    for (let dy = -1; dy <= 1; ++dy)
      for (let dx = -1; dx <= 1; ++dx) {
        const x = Math.min(Math.max(fx + dx, 0), FRAME_WIDTH - 1), y = Math.min(Math.max(fy + dy, 0), FRAME_HEIGHT - 1);
        if (frame[y][x] !== c) return false;
      }
    return true;
  };
  let checked = 0, wrong = 0;
  for (let y = 0; y + 1 < shot.height; y += 2) {
    for (let x = 0; x + 1 < shot.width; x += 2) {
      const cells = [[x, y], [x + 1, y], [x, y + 1], [x + 1, y + 1]].map(([px, py]) =>
        [Math.floor(px * FRAME_WIDTH / shot.width), Math.floor(py * FRAME_HEIGHT / shot.height)]);
      const colour = frame[cells[0][1]][cells[0][0]];
      if (!cells.every(([fx, fy]) => frame[fy][fx] === colour && calm(fx, fy))) continue;
      checked += 1;
      if (![[x, y], [x + 1, y], [x, y + 1], [x + 1, y + 1]].every(([px, py]) => shot.rows[py][px] === colour)) wrong += 1;
    }
  }
  return [checked, wrong, shot.width];
}

// At 1280x800 the picture is the width of the window at the frame's shape, smoothed only at
// the seams; where 2x fits it is whole steps, pixelated, and F9 fills the window instead, a
// choice kept for the next visit; full storage says the choice is not kept.
async function pictureFits(browser, url) {
  let context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  let page = await openPage(context, `${url}/index.html`);
  let box = await page.locator('#canvas').boundingBox();
  check(box.width >= 1200 && Math.abs(box.width / box.height - FRAME_WIDTH / FRAME_HEIGHT) < 0.01,
        `at 1280x800 the picture is ${box.width.toFixed(0)}x${box.height.toFixed(0)} CSS pixels`);
  await press(page, 'h');  // no panel: its figures change every pass
  await press(page, 'p');  // the world held: the picture stands still
  await page.waitForTimeout(4000);  // the messages faded
  const [checked, wrong] = await sharpAwayFromSeams(page);
  check(checked > 20000 && wrong === 0,
        `at 1280x800 every 2x2 block away from the seams is one colour (${wrong} of ${checked} are not)`);
  await page.setViewportSize({ width: 1700, height: 700 });
  await runPasses(page, 3);
  box = await page.locator('#canvas').boundingBox();
  const rendering = await page.evaluate(() => getComputedStyle(document.getElementById('canvas')).imageRendering);
  check(Math.round(box.width) === 1632 && rendering === 'pixelated' && await page.isHidden('#view'),
        `where 2x fits the picture is whole steps, pixelated (${box.width}, ${rendering})`);
  await press(page, 'F9');
  box = await page.locator('#canvas').boundingBox();
  check(Math.round(box.width) === 1700, `F9 fills the window (${box.width})`);
  const [filledChecked, filledWrong] = await sharpAwayFromSeams(page);
  check(filledChecked > 20000 && filledWrong === 0,
        `filled, every 2x2 block away from the seams is one colour (${filledWrong} of ${filledChecked} are not)`);
  await page.reload();
  await page.waitForFunction(() => window.RavelonPage.started, null, { timeout: WAIT_MS });
  box = await page.locator('#canvas').boundingBox();
  check(Math.round(box.width) === 1700, `the fill is kept for the next visit (${box.width})`);
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();

  context = await browser.newContext({ viewport: { width: 1700, height: 700 } });
  await context.addInitScript(() => {
    const setItem = Storage.prototype.setItem;
    Storage.prototype.setItem = function (key, value) {
      if (key === 'ravelon-setting:fit') throw new DOMException('full', 'QuotaExceededError');
      return setItem.call(this, key, value);
    };
  });
  page = await openPage(context, `${url}/index.html`);
  await press(page, 'F9');
  check(await waitForNote(page, 'fit is not kept'), 'full storage: the fit works and the page says it is not kept');
  box = await page.locator('#canvas').boundingBox();
  check(Math.round(box.width) === 1700, `with full storage F9 still fills the window (${box.width})`);
  await context.close();
}

// The game's own keys are kept from the browser while the page has them; other keys are not.
async function gameKeysKept(browser, url) {
  const context = await browser.newContext({ viewport: { width: 900, height: 500 } });
  const page = await openPage(context, `${url}/index.html`);
  await page.evaluate(() => {
    window.keptKeys = {};
    window.addEventListener('keydown', (event) => {
      window.keptKeys[(event.ctrlKey ? 'Control+' : '') + event.key] = event.defaultPrevented;
    });
  });
  const keys = { 'Control+l': true, 'Control+z': true, F1: true, F9: true, Tab: true, F10: false, 'Control+k': false };
  for (const key of Object.keys(keys)) {
    await page.keyboard.press(key);
    await runPasses(page, 2);
    if (key === 'F1') await press(page, 'F1');  // the help hidden again
  }
  const kept = await page.evaluate(() => window.keptKeys);
  for (const [key, game] of Object.entries(keys)) {
    check(kept[key] === game, `${key} ${game ? 'goes to the game' : 'is left to the browser'} (${kept[key]})`);
  }
  await context.close();
}

// A phone held sideways: the picture fills the width, the buttons show over it, a tap on B
// jumps, a tap in the picker picks and a tap in the left view paints.
async function touchPlays(browser, url) {
  const context = await browser.newContext({ viewport: { width: 844, height: 390 }, deviceScaleFactor: 3,
                                             hasTouch: true, isMobile: true });
  const page = await openPage(context, `${url}/index.html`, { begins: false });
  await page.touchscreen.tap(422, 150);
  await page.waitForFunction(() => window.RavelonPage.begun, null, { timeout: WAIT_MS });
  await runPasses(page, 60);
  const box = await page.locator('#canvas').boundingBox();
  check(box.width >= 843, `on a phone held sideways the picture fills the width (${box.width} of 844)`);
  check(await page.isVisible('#touch-jump') && await page.isVisible('#touch-left'), 'the touch buttons show');
  const tapOn = async (selector) => {
    const b = await page.locator(selector).boundingBox();
    await page.touchscreen.tap(b.x + b.width / 2, b.y + b.height / 2);
  };
  const standing = await page.evaluate(() => window.ravelonTest.playerY());
  await tapOn('#touch-jump');
  let highest = standing;
  for (let i = 0; i < 30; ++i) {
    await runPasses(page, 1);
    highest = Math.min(highest, await page.evaluate(() => window.ravelonTest.playerY()));
  }
  check(standing > 0 && highest < standing, `a tap on B jumps (feet from ${standing} up to ${highest})`);
  const before = await level(page);
  const [pickX, pickY] = await framePoint(page, 440, 20);
  await page.touchscreen.tap(pickX, pickY);
  await runPasses(page, 6);
  const [paintX, paintY] = await framePoint(page, 150, 120);
  await page.touchscreen.tap(paintX, paintY);
  await runPasses(page, 6);
  check(!(await level(page)).equals(before), 'a tap in the picker and one in the left view paint a cell');
  check(page.problems.length === 0, `no page errors ${page.problems.join('; ')}`);
  await context.close();
}

// ---- main -------------------------------------------------------------------------------------

async function main() {
  for (const needed of [path.join(site, 'index.html'), path.join(site, 'ravelon.wasm'), sim, browserPath]) {
    if (!fs.existsSync(needed)) {
      console.error(`web test: ${needed} is missing (bash scripts/web.sh --build-only builds the page)`);
      process.exit(2);
    }
  }
  const server = await serve(site);
  const url = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({ executablePath: browserPath, headless: true,
                                          args: ['--no-sandbox', '--disable-dev-shm-usage'] });
  try {
    const scripts = path.join(source, 'tests', 'sim', 'scripts');
    await pixelsMatchSim(browser, url, path.join(scripts, 'level_run.txt'), 150);
    await pixelsMatchSim(browser, url, path.join(scripts, 'paint.txt'), 50);
    await levelsKeptAndShared(browser, url);
    await levelFilesOnThePage(browser, url);
    await badInput(browser, url);
    await soundHeard(browser, url);
    await idlePageRests(browser, url);
    await wheelMovesCamera(browser, url);
    await pausesAndGoesOn(browser, url);
    await pictureFits(browser, url);
    await gameKeysKept(browser, url);
    await touchPlays(browser, url);
    await sixtyPassesUnlimited(url);
  } finally {
    await browser.close();
    server.close();
  }
  fs.rmSync(scratch, { recursive: true, force: true });
  console.log(failures ? `web test: ${failures} check(s) failed` : 'web test: all checks passed');
  process.exit(failures ? 1 : 0);
}

main().catch((error) => {
  console.error(`web test: ${error.stack || error}`);
  process.exit(1);
});
