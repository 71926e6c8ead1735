// measure-web-idle.cjs — the page in headless Chromium, as measure-idle.sh measures the native
// game: the time from opening the page to its first question and to the start screen, then the
// CPU time of all Chromium's processes over N seconds as a share of one core, in four states left
// alone: a blank page with the same canvas (what Chromium costs by itself in this harness), the
// start screen, the first zone opened without sound, and that zone paused (P). For each state it
// also says how often the game woke up (the page's timers it set), how many game ticks ran against
// the clock (64 a second when the timing holds), how many pictures went to the canvas, and which
// Chromium processes spent the time.
// Each state is first left S seconds to settle (the browser compiles the game's hottest code
// again in the first seconds after the page opens).
// With QUARN_MEASURE_NO_PUTS=1 the page's pictures are counted but never put on the canvas, which
// tells the game's own share (its ticks, waits and drawing into memory) from Chromium's share (the
// canvas painted and composited again). With QUARN_MEASURE_PUTS=pixel each picture puts only one
// pixel of its rectangle: as many canvas updates, almost no pixels, which tells the cost of an
// update as such (the page painted and composited again) from the cost of its pixels.
//   node scripts/measure-web-idle.cjs [SITE=build/web] [SECONDS=10] [S=3]
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const site = path.resolve(process.argv[2] || 'build/web');
const seconds = Number(process.argv[3] || 10);
const deps = process.env.QUARN_WEB_DEPS || path.resolve(__dirname, '../build/web-deps');
const puppeteer = require(path.join(deps, 'node/node_modules/puppeteer-core'));
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const settleMs = 1000 * Number(process.argv[4] || 3);
const blankPage = '<!doctype html><body style="margin:0;background:#20242c">' +
                  '<canvas width="1024" height="700"></canvas>';

// Nanoseconds on a CPU of every process whose command line names the profile folder, by the
// process's kind (browser, renderer, gpu-process, utility).
function cpuOf(marker) {
  const kinds = {};
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const command = fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1');
      if (!command.includes(marker)) continue;
      const kind = (command.match(/--type=([a-z-]+)/) || [null, 'browser'])[1];
      for (const task of fs.readdirSync(`/proc/${pid}/task`)) {
        const ns = Number(fs.readFileSync(`/proc/${pid}/task/${task}/schedstat`, 'latin1').split(' ')[0]);
        kinds[kind] = (kinds[kind] || 0) + ns;
      }
    } catch (e) { /* gone meanwhile */ }
  }
  return kinds;
}

// The page's own counters: the timers it set (each a wake-up of the game), the pictures put on the
// canvas, and the game's tick count where the build keeps one.
async function counters(page) {
  return page.evaluate(() => ({
    timers: window.quarnMeasure.timers,
    puts: window.quarnMeasure.puts,
    putPixels: window.quarnMeasure.putPixels || 0,
    ticks: typeof Module === 'object' ? Module.quarnTicks || 0 : 0,
    now: performance.now(),
  }));
}

async function measure(page, profile, what) {
  await sleep(settleMs);
  const cpu0 = cpuOf(profile);
  const c0 = await counters(page);
  await sleep(seconds * 1000);
  const c1 = await counters(page);
  const cpu1 = cpuOf(profile);
  const wall = (c1.now - c0.now) / 1000;
  let total = 0;
  const parts = [];
  for (const kind of Object.keys(cpu1).sort()) {
    const share = (100 * (cpu1[kind] - (cpu0[kind] || 0))) / 1e9 / wall;
    total += share;
    parts.push(`${kind} ${share.toFixed(2)}`);
  }
  const rate = (n) => ((c1[n] - c0[n]) / wall).toFixed(1);
  console.log(`${what.padEnd(7)} CPU ${total.toFixed(2).padStart(5)} % of one core (${parts.join(', ')}); ` +
              `wake-ups ${rate('timers')}/s, canvas puts ${rate('puts')}/s of ${rate('putPixels')} pixels/s, game ticks ${rate('ticks')}/s ` +
              `over ${wall.toFixed(2)} s`);
}

(async () => {
  const server = http.createServer((req, res) => {
    const name = req.url.split('?')[0];
    if (name === '/blank.html') {
      res.writeHead(200, { 'Content-Type': 'text/html' });
      res.end(blankPage);
      return;
    }
    const file = path.join(site, path.normalize(name).replace(/^\/+/, '') || 'index.html');
    if (!file.startsWith(site) || !fs.existsSync(file)) { res.writeHead(404); res.end(); return; }
    res.writeHead(200, { 'Content-Type': file.endsWith('.wasm') ? 'application/wasm'
                         : file.endsWith('.html') ? 'text/html'
                         : file.endsWith('.js') ? 'text/javascript' : 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  await new Promise((r) => server.listen(Number(process.env.PORT || 0), '127.0.0.1', r));
  const base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-idle-'));
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: 'new',
    userDataDir: profile, args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 760 });
  await page.evaluateOnNewDocument((puts) => {
    const m = window.quarnMeasure = { timers: 0, puts: 0 };
    const setTimer = window.setTimeout;
    window.setTimeout = function (...a) { m.timers++; return setTimer.apply(this, a); };
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...a) {
      m.puts++;
      m.putPixels = (m.putPixels || 0) + (a.length >= 7 ? a[5] * a[6] : a[0].width * a[0].height);
      if (puts === 'none') return undefined;
      // One pixel of each changed rectangle: as many pictures, hardly any pixels in them.
      if (puts === 'pixel' && a.length >= 7) return put.call(this, a[0], a[1], a[2], a[3], a[4], 1, 1);
      return put.apply(this, a);
    };
  }, process.env.QUARN_MEASURE_NO_PUTS === '1' ? 'none' : process.env.QUARN_MEASURE_PUTS || 'all');
  await page.goto(`${base}/blank.html`);
  await measure(page, profile, 'blank');

  const lines = [];
  page.on('console', (m) => lines.push(m.text()));
  const opened = Date.now();
  await page.goto(`${base}/index.html`);
  while (!lines.some((l) => /DirectSound/.test(l))) await sleep(20);
  const question = Date.now() - opened;
  await page.keyboard.press('KeyN');  // "Ne": no sound, as the native measure runs
  // The start screen (511 x 314) is drawn in the middle of the 1024 x 700 desktop.
  if (process.env.QUARN_MEASURE_NO_PUTS === '1' || process.env.QUARN_MEASURE_PUTS === 'pixel') await sleep(1500);  // nothing is drawn to wait for
  else await page.waitForFunction(() => {
    const d = document.getElementById('canvas').getContext('2d').getImageData(257, 193, 511, 314).data;
    let drawn = 0;
    for (let i = 0; i < d.length; i += 4) if (d[i] !== 0x20 || d[i + 1] !== 0x24 || d[i + 2] !== 0x2c) drawn++;
    return drawn > 0.9 * 511 * 314;
  }, { timeout: 10000, polling: 20 });
  const start = Date.now() - opened;
  console.log(`first question ${question} ms after opening; start screen by ${start} ms`);
  await measure(page, profile, 'start');
  await page.keyboard.press('Enter');
  await measure(page, profile, 'zone');
  await page.keyboard.press('KeyP');
  await measure(page, profile, 'paused');
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
})();
