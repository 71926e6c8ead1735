// BrowserTest.cjs — the page in a real browser (Debian's Chromium, headless, driven by
// puppeteer-core), served from 127.0.0.1 only: it loads and shows the start screen, the first zone
// is played to a win by keys held as its solution holds them, and the record is still there after
// the page is loaded again.
//   node BrowserTest.cjs --site build/web --puppeteer DIR --solution FILE [--shot start.png]
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const args = {};
for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
const puppeteer = require(path.resolve(args.puppeteer, 'node_modules/puppeteer-core'));
const TickMs = 15.625;  // the game's tick on a 64 Hz heartbeat
const DesktopColour = [0x20, 0x24, 0x2c];
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

function serve(site) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((req, res) => {
    const name = path.normalize(decodeURIComponent(req.url.split(/[?#]/)[0])).replace(/^\/+/, '');
    const file = path.join(site, name || 'index.html');
    if (!file.startsWith(path.resolve(site)) || !fs.existsSync(file)) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((r) => server.listen(0, '127.0.0.1', () => r(server)));
}

// Waits until a console line of the game matches.
function waitForLine(lines, pattern, ms) {
  const until = Date.now() + ms;
  return new Promise((resolve, reject) => {
    const look = () => {
      if (lines.some((l) => pattern.test(l))) return resolve();
      if (Date.now() > until) return reject(new Error(`no console line like ${pattern} in ${ms} ms`));
      setTimeout(look, 50);
    };
    look();
  });
}

// How many pixels of the canvas area are not the desktop's colour.
async function drawnPixels(page, area) {
  return page.evaluate((a, desk) => {
    const ctx = document.getElementById('canvas').getContext('2d');
    const d = ctx.getImageData(a.x, a.y, a.w, a.h).data;
    let n = 0;
    for (let i = 0; i < d.length; i += 4) {
      if (d[i] !== desk[0] || d[i + 1] !== desk[1] || d[i + 2] !== desk[2]) n++;
    }
    return n;
  }, area, DesktopColour);
}

const keyName = { left: 'ArrowLeft', up: 'ArrowUp', right: 'ArrowRight', down: 'ArrowDown', space: 'Space' };

// Holds each line's keys as long as the key script says. A step once begun runs to the next cell,
// so each hold ends half a cell early and the next begins a little late: the timing of the page
// may wander by several ticks without changing where the player goes.
async function playSolution(page, file) {
  for (const raw of fs.readFileSync(file, 'utf8').split('\n')) {
    const line = raw.replace(/#.*/, '').trim();
    if (!line) continue;
    const [count, keys] = line.split(/\s+/);
    const ticks = Number(count);
    const names = keys === '-' ? [] : keys.split('+').map((k) => keyName[k]);
    for (const k of names) await page.keyboard.down(k);
    await sleep(Math.max(3, ticks - 5) * TickMs);
    for (const k of names) await page.keyboard.up(k);
    await sleep(7 * TickMs);
  }
}

async function main() {
  const server = await serve(path.resolve(args.site));
  const url = `http://127.0.0.1:${server.address().port}/index.html`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-browser-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: 'new',
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required'],
  });
  let failed = false;
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1100, height: 760 });
    const lines = [];
    page.on('console', (m) => lines.push(m.text()));
    page.on('pageerror', (e) => lines.push('pageerror: ' + e.message));

    const opened = Date.now();
    await page.goto(url, { waitUntil: 'load' });
    await waitForLine(lines, /DirectSound/, 30000);
    const toQuestion = Date.now() - opened;
    await sleep(300);
    await page.keyboard.press('Enter');  // "Ano": sound on
    // The start screen (511 x 314) stands in the middle of the desktop (1024 x 700).
    const start = { x: 257, y: 193, w: 511, h: 314 };
    let drawn = 0;
    for (let i = 0; i < 100 && drawn < start.w * start.h * 0.2; i++) {
      await sleep(100);
      drawn = await drawnPixels(page, start);
    }
    console.log(`page opened to the sound question in ${toQuestion} ms; start screen drawn ` +
                `${(100 * drawn / (start.w * start.h)).toFixed(1)} %`);
    if (args.shot) await page.screenshot({ path: args.shot });
    if (drawn < start.w * start.h * 0.2) throw new Error('the start screen is not shown');
    if (args.shot) await page.screenshot({ path: args.shot });

    await page.keyboard.press('Enter');  // plays the selected zone, the first
    await sleep(1500);
    await playSolution(page, args.solution);
    await waitForLine(lines, /Vyhrál jsi/, 10000);
    // The record is written whole, then the page's storage is written out.
    await page.waitForFunction(() => (Module.quarnSynced || 0) > 0, { timeout: 10000 });

    await page.reload({ waitUntil: 'load' });
    await page.waitForFunction(() => typeof FS !== 'undefined' && Module.calledRun, { timeout: 30000 });
    const records = await page.evaluate(() => {
      try {
        return FS.readFile('/home/web_user/.local/state/quarn/records.txt', { encoding: 'utf8' });
      } catch (e) {
        return '';
      }
    });
    if (!/prvni-kroky|První kroky/.test(records)) {
      throw new Error('no record of the first zone after the reload:\n' + records);
    }
    console.log('the record of the first zone is there after a reload');
    const errors = lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
  } catch (e) {
    failed = true;
    console.error('FAILED:', e.message);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  process.exit(failed ? 1 : 0);
}

main();
