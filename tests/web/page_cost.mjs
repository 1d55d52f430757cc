// What the page costs standing idle at 1x: the share of one core that all of headless
// Chromium's processes take (the page, its compositor, the GPU process) while the game runs
// and nobody touches it, read from /proc over a number of seconds. Then, in the same browser,
// the same for a bare canvas of the picture's size with one small area changed at each
// refresh: what Chromium itself costs for any picture that moves, whatever the page does; and
// for a page that asks for every refresh and draws nothing.
// scripts/page-cost.sh runs it beside the desktop game under Xvfb; the last three lines are for
// it to read ("measured page N", "measured bare N", "measured refreshes N", in % of a core).
//   node tests/web/page_cost.mjs [BUILD_WEB_DIR] [SECONDS]
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const site = path.join(path.resolve(process.argv[2] || path.join(here, '../../build-web')), 'site');
const seconds = Number(process.argv[3] || 20);
const browserPath = process.env.RAVELON_CHROMIUM || '/usr/bin/chromium';
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
                '.wasm': 'application/wasm', '.data': 'application/octet-stream' };

const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
  const file = path.join(site, name === '/' ? 'index.html' : name);
  if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(response);
});

// Clock ticks of processor time of everything a process started (not of itself).
function treeTicks(root) {
  const parents = new Map(), ticks = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (error) { /* gone meanwhile */ }
  }
  let total = 0;
  for (const [pid, count] of ticks) {
    if (pid === root) continue;
    for (let p = pid; p > 1; p = parents.get(p) || 0) {
      if (p === root) {
        total += count;
        break;
      }
    }
  }
  return total;
}

// The bare canvas: 816x300 without alpha, as the game's, and a 40x16 corner of it put anew at
// each display refresh; or, with draws false, a page that only asks for every refresh and draws
// nothing: what Chromium costs for any page that animates at all.
async function bareCanvasCost(secondsMeasured, draws = true) {
  const page = await browser.newPage({ viewport: { width: 816, height: 340 } });
  await page.setContent(`<body style="margin:0;background:#000"><canvas id="c" width="816" height="300"></canvas>
    <script>
      const context = document.getElementById('c').getContext('2d', { alpha: false });
      const image = new ImageData(816, 300);
      const draws = ${draws};
      let n = 0;
      const refresh = () => {
        image.data[0] = ++n & 255;
        if (draws) context.putImageData(image, 0, 0, 0, 0, 40, 16);
        requestAnimationFrame(refresh);
      };
      requestAnimationFrame(refresh);
    </script></body>`);
  await page.waitForTimeout(3000);
  const from = treeTicks(root), start = Date.now();
  await page.waitForTimeout(secondsMeasured * 1000);
  const share = (treeTicks(root) - from) / ticksPerSecond / ((Date.now() - start) / 1000);
  await page.close();
  return 100 * share;
}

await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const browser = await chromium.launch({ executablePath: browserPath, headless: true,
                                        args: ['--no-sandbox', '--disable-dev-shm-usage'] });
const root = process.pid;  // the browser's processes are this one's children
const ticksPerSecond = 100;  // USER_HZ on Linux
try {
  // 816x340: the picture at exactly 1x with the page's bar below it.
  const page = await browser.newPage({ viewport: { width: 816, height: 340 } });
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html?mute`);
  await page.waitForFunction(() => window.RavelonPage && window.RavelonPage.started, null, { timeout: 120000 });
  await page.keyboard.press('Shift');  // the start screen's key
  await page.waitForTimeout(5000);     // start-up's messages gone, the page settled
  const from = treeTicks(root), start = Date.now(), passesFrom = await page.evaluate(() => window.ravelonTest.passes());
  await page.waitForTimeout(seconds * 1000);
  const used = (treeTicks(root) - from) / ticksPerSecond, wall = (Date.now() - start) / 1000;
  const passes = (await page.evaluate(() => window.ravelonTest.passes())) - passesFrom;
  const fit = await page.evaluate(() => window.RavelonPage.fit);
  await page.close();
  const bare = await bareCanvasCost(seconds);
  const refreshesOnly = await bareCanvasCost(seconds, false);
  console.log(`page idle at ${fit.step ? 'a smoothed fit' : '1x'}: ${(100 * used / wall).toFixed(1)} % of a core ` +
              `(${(passes / wall).toFixed(1)} passes a second)`);
  console.log(`bare canvas changed at each refresh: ${bare.toFixed(1)} % of a core (Chromium alone)`);
  console.log(`a page asking for every refresh, drawing nothing: ${refreshesOnly.toFixed(1)} % of a core`);
  console.log(`measured page ${(100 * used / wall).toFixed(2)}`);
  console.log(`measured bare ${bare.toFixed(2)}`);
  console.log(`measured refreshes ${refreshesOnly.toFixed(2)}`);
} finally {
  await browser.close();
  server.close();
}
