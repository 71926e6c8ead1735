// BrowserTest.cjs — the page in a real browser (Debian's Chromium, headless, driven by
// puppeteer-core), served from 127.0.0.1 only: it loads and shows the start screen, the first zone
// is played to a win by keys held as its solution holds them, and the record is still there after
// the page is loaded again. O on the start screen makes a link to the zone; a zone's link opens that
// zone in a fresh browser profile, and a broken or oversized link is told about, never a crash.
//   node BrowserTest.cjs --site build/web --puppeteer DIR --solution FILE --zone FILE
//        [--shot start.png] [--shared-shot shared.png]
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

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

// How many pixels of the canvas area are drawn, and not in the desktop's colour (a canvas not yet
// drawn on is transparent).
async function drawnPixels(page, area) {
  return page.evaluate((a, desk) => {
    const ctx = document.getElementById('canvas').getContext('2d');
    const d = ctx.getImageData(a.x, a.y, a.w, a.h).data;
    let n = 0;
    for (let i = 0; i < d.length; i += 4) {
      if (d[i + 3] !== 0 && (d[i] !== desk[0] || d[i + 1] !== desk[1] || d[i + 2] !== desk[2])) n++;
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

// A browser with a profile of its own, fresh: nothing kept from another run.
async function freshBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-browser-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: 'new',
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required'],
  });
  let open = true;
  return {
    browser,
    close: async () => {
      if (!open) return;
      open = false;
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A page whose console lines (and uncaught errors) are gathered in page.lines.
async function newPage(browser) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 760 });
  page.lines = [];
  page.on('console', (m) => page.lines.push(m.text()));
  page.on('pageerror', (e) => page.lines.push('pageerror: ' + e.message));
  return page;
}

const base64url = (bytes) => Buffer.from(bytes).toString('base64url');
const shareLink = (url, text) => url + '#zona=' + base64url(zlib.deflateRawSync(text));

// The shared links, each in a fresh page of a fresh browser profile: the zone's own link plays the
// zone at once; a damaged link, one that unpacks to more than the page takes, and one too long to
// read are told on the page, and the start screen comes as without a link; a link whose text is
// no zone gets the loader's own message, and the start screen after it.
async function sharedLinks(url, zoneText, shot) {
  const { browser, close } = await freshBrowser();
  try {
    let page = await newPage(browser);
    await page.goto(shareLink(url, zoneText), { waitUntil: 'load' });
    // The game screen (800 x 600) stands in the middle of the desktop; the band above the start
    // screen's place is drawn only by it. No sound question: the zone is played at once.
    const band = { x: 112, y: 50, w: 800, h: 140 };
    let drawn = 0;
    for (let i = 0; i < 200 && drawn < band.w * band.h * 0.5; i++) {
      await sleep(100);
      drawn = await drawnPixels(page, band);
    }
    if (shot) await page.screenshot({ path: shot });
    if (drawn < band.w * band.h * 0.5) throw new Error('the shared zone\'s game screen is not shown');
    if (page.lines.some((l) => /DirectSound/.test(l))) throw new Error('a shared zone asked about sound');
    const played = await page.evaluate(() => FS.readFile('/tmp/sdilena-zona.qrn', { encoding: 'utf8' }));
    if (played !== zoneText) throw new Error('the shared zone is not the zone of the link');
    console.log('a zone\'s link plays that zone in a fresh profile');
    // Kept among the player's zones when asked, written whole as the game writes them.
    await page.click('#notice-keep');
    await waitForLine(page.lines, /Quarn: Zóna je uložena|Quarn: Zónu nelze/, 5000);
    const kept = await page.$eval('#notice-text', (e) => e.textContent);
    if (!/uložena v tvých zónách jako sdilena-zona\.qrn/.test(kept)) throw new Error('kept: ' + kept);
    await page.waitForFunction(() => (Module.quarnSynced || 0) > 0, { timeout: 10000 });
    const copy = await page.evaluate(() =>
      FS.readFile('/home/web_user/.local/share/quarn/zones/sdilena-zona.qrn', { encoding: 'utf8' }));
    if (copy !== zoneText) throw new Error('the kept zone is not the zone of the link');
    console.log('the shared zone is kept in the player\'s zones when asked');
    await page.close();

    const told = async (link, pattern) => {
      page = await newPage(browser);
      await page.goto(link, { waitUntil: 'load' });
      await waitForLine(page.lines, /DirectSound/, 30000);  // the start screen's question
      const notice = await page.$eval('#notice-text', (e) => e.textContent);
      if (!pattern.test(notice)) throw new Error(`the page told "${notice}", not ${pattern}`);
      const errors = page.lines.filter((l) => l.startsWith('pageerror'));
      if (errors.length) throw new Error(errors.join('\n'));
      await page.close();
    };
    await told(url + '#zona=' + 'tohle*není%20odkaz', /poškozený/);
    await told(url + '#zona=' + base64url(zlib.deflateRawSync(zoneText).subarray(0, 40)), /poškozený/);
    await told(shareLink(url, Buffer.alloc(3 << 20, 'A')), /větší než 1 MB/);
    await told(url + '#zona=' + 'A'.repeat((1 << 20) + 4), /příliš dlouhý/);
    console.log('damaged, oversized and overlong links are told on the page, the start screen comes');

    page = await newPage(browser);
    await page.goto(shareLink(url, '"Nic"\nten text není zóna\n'), { waitUntil: 'load' });
    await waitForLine(page.lines, /^quarn: /, 30000);  // the loader's message box, as on a desktop
    const message = page.lines.find((l) => /^quarn: /.test(l));
    await sleep(300);
    await page.keyboard.press('Enter');  // OK: on to the start screen, without the link
    await waitForLine(page.lines, /DirectSound/, 30000);
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
    console.log(`a link that holds no zone gets the loader's message (${message}), then the start screen`);
  } finally {
    await close();
  }
}

async function main() {
  const server = await serve(path.resolve(args.site));
  const url = `http://127.0.0.1:${server.address().port}/index.html`;
  const zoneText = fs.readFileSync(args.zone, 'utf8');
  const { browser, close } = await freshBrowser();
  let failed = false;
  try {
    const page = await newPage(browser);
    const lines = page.lines;

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

    // O: the selected zone's link, shown on the page; it holds the zone's text.
    await page.keyboard.press('KeyO');
    await page.waitForSelector('#notice-link', { visible: true, timeout: 10000 });
    const made = await page.$eval('#notice-link', (a) => a.href);
    const packed = made.split('#zona=')[1] || '';
    if (zlib.inflateRawSync(Buffer.from(packed, 'base64url')).toString('utf8') !== zoneText) {
      throw new Error('the link made by O does not hold the first zone: ' + made.slice(0, 200));
    }
    console.log(`O makes the first zone's link (${made.length} characters)`);
    await page.click('#notice-close');

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
    await close();

    await sharedLinks(url, zoneText, args['shared-shot']);
    await idleWakeUps(url);
  } catch (e) {
    failed = true;
    console.error('FAILED:', e.message);
  } finally {
    await close().catch(() => {});
    server.close();
  }
  process.exit(failed ? 1 : 0);
}

main();

// A page left alone wakes only when a timer of the game is due: the start screen for its button
// looks (62.5 ms) and its zone list (1 s), a zone once a tick and hardly more, a paused zone a few
// times a second. Counted through the page's own count of the game's waits (Module.quarnWaits)
// against its ticks (Module.quarnTicks), not by the clock of a busy machine.
async function idleWakeUps(url) {
  const { browser, close } = await freshBrowser();
  try {
    const page = await newPage(browser);
    await page.goto(url, { waitUntil: 'load' });
    await waitForLine(page.lines, /DirectSound/, 30000);
    await sleep(300);
    await page.keyboard.press('KeyN');  // "Ne": no sound
    const counted = async (ms) => {
      const read = () => page.evaluate(() => [Module.quarnWaits || 0, Module.quarnTicks || 0, performance.now()]);
      await sleep(1000);  // what a key set going dies down first
      const [w0, t0, n0] = await read();
      await sleep(ms);
      const [w1, t1, n1] = await read();
      if (!(w1 > w0)) throw new Error('the page counts no waits of the game (Module.quarnWaits)');
      return { perSecond: (1000 * (w1 - w0)) / (n1 - n0), perTick: t1 > t0 ? (w1 - w0) / (t1 - t0) : Infinity,
               ticks: t1 - t0 };
    };
    const start = await counted(2000);
    const zone = await page.keyboard.press('Enter').then(() => counted(2000));
    const paused = await page.keyboard.press('KeyP').then(() => counted(2000));
    console.log(`idle wake-ups: start screen ${start.perSecond.toFixed(1)}/s, zone ` +
                `${zone.perTick.toFixed(2)} a tick (${zone.ticks} ticks), paused ${paused.perSecond.toFixed(1)}/s`);
    if (start.perSecond > 25) throw new Error('the idle start screen wakes more often than its timers ask');
    if (zone.ticks === 0) throw new Error('the zone does not tick');
    if (zone.perTick > 1.3) throw new Error('an idle zone wakes more than once a tick');
    if (paused.perSecond > 8 || paused.ticks !== 0) throw new Error('a paused zone keeps waking');
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
  } finally {
    await close();
  }
}
