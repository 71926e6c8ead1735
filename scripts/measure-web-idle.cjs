// measure-web-idle.cjs — the page in headless Chromium, as measure-idle.sh measures the native
// game: the time from opening the page to its first question and to the start screen, then the
// first zone opened without sound and left alone, and the CPU time of all Chromium's processes
// over the next N seconds as a share of one core.
//   node scripts/measure-web-idle.cjs [SITE=build/web] [SECONDS=10]
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
const ticksPerSecond = 100;  // USER_HZ

// CPU seconds of every process whose command line names the profile folder.
function cpuOf(marker) {
  let ticks = 0;
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      if (!fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1').includes(marker)) continue;
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'latin1').replace(/^.*\) /, '').split(' ');
      ticks += Number(fields[11]) + Number(fields[12]);
    } catch (e) { /* gone meanwhile */ }
  }
  return ticks / ticksPerSecond;
}

(async () => {
  const server = http.createServer((req, res) => {
    const file = path.join(site, path.normalize(req.url.split('?')[0]).replace(/^\/+/, '') || 'index.html');
    if (!fs.existsSync(file)) { res.writeHead(404); res.end(); return; }
    res.writeHead(200, { 'Content-Type': file.endsWith('.wasm') ? 'application/wasm' : file.endsWith('.html') ? 'text/html' : 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  await new Promise((r) => server.listen(0, '127.0.0.1', r));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-idle-'));
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: 'new',
    userDataDir: profile, args: ['--no-sandbox', '--disable-gpu'] });
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 760 });
  const lines = [];
  page.on('console', (m) => lines.push(m.text()));
  const opened = Date.now();
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  while (!lines.some((l) => /DirectSound/.test(l))) await sleep(20);
  const question = Date.now() - opened;
  await page.keyboard.press('KeyN');  // "Ne": no sound, as the native measure runs
  // The start screen (511 x 314) is drawn in the middle of the 1024 x 700 desktop.
  await page.waitForFunction(() => {
    const d = document.getElementById('canvas').getContext('2d').getImageData(257, 193, 511, 314).data;
    let drawn = 0;
    for (let i = 0; i < d.length; i += 4) if (d[i] !== 0x20 || d[i + 1] !== 0x24 || d[i + 2] !== 0x2c) drawn++;
    return drawn > 0.9 * 511 * 314;
  }, { timeout: 10000, polling: 20 });
  const start = Date.now() - opened;
  await page.keyboard.press('Enter');
  await sleep(3000);
  const before = cpuOf(profile);
  await sleep(seconds * 1000);
  const used = cpuOf(profile) - before;
  console.log(`first question ${question} ms after opening; start screen by ${start} ms; ` +
              `idle zone: ${(100 * used / seconds).toFixed(1)} % of one core over ${seconds} s`);
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
})();
