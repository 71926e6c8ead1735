// BrowserTest.cjs — the page in a real browser (Debian's Chromium, headless, driven by
// puppeteer-core), served from 127.0.0.1 only: it loads and shows the start screen, the first zone
// is played to a win by keys held as its solution holds them, and the record is still there after
// the page is loaded again. O on the start screen makes a link to the zone; a zone's link opens that
// zone in a fresh browser profile, and a broken or oversized link is told about, never a crash.
// The player's files go in and out of the page (playerFiles); two tabs never wipe each other's
// (TwoTabs.cjs); a link carries a run to beat (RunLinks.cjs).
// The Editor button downloads the zone; the zone editor's link holds its unsaved edit, and its
// save into the player's zones is there, and listed, after a reload. A page left alone wakes
// only when a timer of the game is due (idleWakeUps).
//   node BrowserTest.cjs --site build/web --puppeteer DIR --solution FILE --zone FILE
//        --quarn-zone NATIVE_TOOL [--shot start.png] [--shared-shot shared.png]
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { twoTabs } = require('./TwoTabs.cjs');
const { runLinks } = require('./RunLinks.cjs');

const args = {};
for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
const puppeteer = require(path.resolve(args.puppeteer, 'node_modules/puppeteer-core'));
const TickMs = 15.625;  // the game's tick on a 64 Hz heartbeat
const DesktopColour = [0x20, 0x24, 0x2c];
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// Where the player's own zones are kept in the page's storage (the XDG data folder under HOME).
const OwnZones = '/home/web_user/.local/share/quarn/zones';

// The page's downloads go into a fresh folder; whole(name) is a download's bytes once it is
// complete, or null when none came within 10 s.
async function allowDownloads(page) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-downloads-'));
  const cdp = await page.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  const whole = async (name) => {
    const file = path.join(folder, name);
    for (let i = 0; i < 100; i++) {
      if (fs.existsSync(file) && !fs.existsSync(file + '.crdownload')) return fs.readFileSync(file);
      await sleep(100);
    }
    return null;
  };
  return { folder, whole };
}

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
    // Offered for keeping once it plays; kept among the player's zones when asked, written whole
    // as the game writes them.
    await page.waitForSelector('#notice-keep', { visible: true, timeout: 10000 });
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
    // The zone is named as the player knows it, not by the page's file; and what the game cannot
    // open is not offered for keeping.
    if (/\/tmp\/|sdilena-zona/.test(message) || !/zóna z odkazu/.test(message)) {
      throw new Error(`the loader's message names the page's file, not the zone of the link: ${message}`);
    }
    const offered = await page.$eval('#notice', (n) => n.style.display === 'block' &&
        getComputedStyle(document.getElementById('notice-keep')).display !== 'none');
    if (offered) throw new Error('"Uložit do mých zón" is offered for a link the game cannot open');
    await sleep(300);
    await page.keyboard.press('Enter');  // OK: on to the start screen, without the link
    await waitForLine(page.lines, /DirectSound/, 30000);
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
    console.log(`a link that holds no zone gets the loader's message (${message}), naming the ` +
                'zone of the link and not offering to keep it, then the start screen');
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

    // The keys are held by the page's clock: on a busy machine a hold can end a cell early, so a
    // walk that misses the win is tried again from the zone's start (Esc, then Enter).
    for (let attempt = 1; ; attempt++) {
      await page.keyboard.press('Enter');  // plays the selected zone, the first
      await sleep(1500);
      await playSolution(page, args.solution);
      try {
        await waitForLine(lines, /Vyhrál jsi/, 10000);
        break;
      } catch (e) {
        if (attempt === 3) throw e;
        console.log(`the held keys missed the win (walk ${attempt}); the zone is opened again`);
        await page.keyboard.press('Escape');
        await sleep(1000);
      }
    }
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
    await playerFiles(page, args);
    const fresh = await twoTabs(browser, url, page, zoneText, { newPage, sleep });
    await runLinks(fresh, zoneText, { freshBrowser, newPage, sleep });
    await close();

    await sharedLinks(url, zoneText, args['shared-shot']);
    await editorInBrowser(url, zoneText);
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

// The player's files, on the page where zone 01 was just won and the page loaded again: S
// downloads the selected zone as the very file shipped, Shift+S its kept run as the game wrote it
// (which the native zone tool plays to a win on that zone), and a zone without a run says so. A
// zone file picked on the page goes into the player's zones whole, is listed and selected at once,
// and is still there after a reload; a file that is no zone, and one over 1 MB, are told and not
// kept.
async function playerFiles(page, args) {
  const { execFileSync } = require('child_process');
  const { folder: downloads, whole } = await allowDownloads(page);
  const picked = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-picked-'));
  const runs = '/home/web_user/.local/share/quarn/runs';
  const since = () => page.lines.length;
  const lineAfter = async (from, pattern, ms) => {
    const until = Date.now() + ms;
    for (;;) {
      const found = page.lines.slice(from).find((l) => pattern.test(l));
      if (found) return found;
      if (Date.now() > until) throw new Error(`no console line like ${pattern} in ${ms} ms`);
      await sleep(50);
    }
  };
  const downloaded = async (name) => {
    const bytes = await whole(name);
    if (bytes) return bytes;
    throw new Error(`${name} was not downloaded (${fs.readdirSync(downloads).join(', ')})`);
  };
  const notice = () => page.$eval('#notice-text', (e) => e.textContent);
  const waitNotice = async (pattern) => {
    for (let i = 0; i < 100; i++) {
      if (pattern.test(await notice())) return;
      await sleep(100);
    }
    throw new Error(`the page told "${await notice()}", not ${pattern}`);
  };
  const pick = async (name, bytes) => {
    const file = path.join(picked, name);
    fs.writeFileSync(file, bytes);
    await page.evaluate(() => { document.getElementById('notice-text').textContent = ''; });
    const input = await page.$('#pick-zone-file');
    await input.uploadFile(file);
  };
  const shiftS = async () => {
    await page.keyboard.down('Shift');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Shift');
  };
  const readIn = (file) => page.evaluate((f) => {
    try { return Array.from(FS.readFile(f)); } catch (e) { return null; }
  }, file);
  const startScreen = async (from) => {
    await lineAfter(from, /DirectSound/, 30000);
    await sleep(300);
    await page.keyboard.press('Enter');  // sound on
    await sleep(500);
  };
  try {
    // The page was loaded again after the win: its second sound question.
    await startScreen(page.lines.findIndex((l) => /DirectSound/.test(l)) + 1);
    // The list opens where the player was: the zone after the one won, the zone played last
    // being kept in the browser's storage. Shift+S names the selected zone.
    let from = since();
    await shiftS();
    await lineAfter(from, /Zóna „Horké brambory“ zatím nemá uložený průchod/, 10000);
    await sleep(300);
    await page.keyboard.press('Enter');
    console.log('after a reload the start screen opens on the zone after the one won');
    // S: the first zone (Home steps over its set's heading), byte for byte as shipped.
    await page.keyboard.press('Home');
    await page.keyboard.press('KeyS');
    const zone = await downloaded('01-prvni-kroky.qrn');
    if (!zone.equals(fs.readFileSync(args.zone))) throw new Error('the downloaded zone is not the shipped file');
    await waitNotice(/Stahuje se zóna „První kroky“ \(01-prvni-kroky\.qrn\)/);
    // Shift+S: its run as the game kept it, which wins the zone.
    await shiftS();
    const run = await downloaded('01-prvni-kroky.keys');
    const kept = await page.evaluate((folder) => FS.readdir(folder).filter((n) => n.endsWith('.keys')), runs);
    if (kept.length !== 1) throw new Error('kept runs: ' + kept.join(', '));
    if (!run.equals(Buffer.from(await readIn(runs + '/' + kept[0])))) {
      throw new Error('the downloaded run is not the kept file');
    }
    const runFile = path.join(downloads, '01-prvni-kroky.keys');
    const report = JSON.parse(execFileSync(args['quarn-zone'], ['play', args.zone, '--keys', runFile]));
    if (report.wins !== 1) throw new Error('the downloaded run does not win the zone: ' + JSON.stringify(report));
    console.log(`S downloads the zone as shipped; Shift+S its kept run (${run.length} bytes), ` +
                `which the native zone tool plays to a win in ${report.tick} ticks`);
    // A zone that keeps a run of each kind gives both, the best first.
    const rewound = runs + '/' + kept[0].replace(/\.keys$/, '.zpet.keys');
    const rewoundText = '# Quarn: vyhraný průchod zónou\n# čas: 9000 tiků (140,62 s), s vracením\nrandom 1\n';
    await page.evaluate((f, t) => FS.writeFile(f, t), rewound, rewoundText);
    for (const name of fs.readdirSync(downloads)) fs.rmSync(path.join(downloads, name));
    await shiftS();
    await waitNotice(/Stahují se oba uložené průchody zónou „První kroky“: 01-prvni-kroky\.keys \(nejlepší\) a 01-prvni-kroky\.zpet\.keys\./);
    if ((await downloaded('01-prvni-kroky.zpet.keys')).toString() !== rewoundText ||
        !(await downloaded('01-prvni-kroky.keys')).equals(run)) {
      throw new Error('the two downloaded runs are not the kept files');
    }
    await page.evaluate((f) => FS.unlink(f), rewound);
    console.log('a zone with runs of both kinds downloads both');
    // The next zone has no run: the player is told, nothing is downloaded.
    await page.keyboard.press('ArrowDown');
    from = since();
    await shiftS();
    await lineAfter(from, /Zóna „Horké brambory“ zatím nemá uložený průchod, není co stáhnout/, 10000);
    await sleep(300);
    await page.keyboard.press('Enter');
    if (fs.readdirSync(downloads).length !== 2) throw new Error('downloaded: ' + fs.readdirSync(downloads));
    console.log('a zone without a kept run says there is none to download');

    // A zone file from disk: kept whole, listed and selected at once.
    const own = fs.readFileSync(args.zone, 'utf8').replace(/^"[^"\n]*"/, '"Nahraná zkouška"');
    const synced = await page.evaluate(() => Module.quarnSynced || 0);
    await pick('moje-nahrana.qrn', own);
    await waitNotice(/^Zóna „Nahraná zkouška“ je v tvých zónách jako moje-nahrana\.qrn\.$/);
    await page.waitForFunction((n) => (Module.quarnSynced || 0) > n, { timeout: 10000 }, synced);
    const copy = await readIn(OwnZones + '/moje-nahrana.qrn');
    if (!copy || !Buffer.from(copy).equals(Buffer.from(own))) throw new Error('the picked zone was not kept whole');
    from = since();
    await shiftS();  // names the selected zone: the one just kept
    await lineAfter(from, /Zóna „Nahraná zkouška“ zatím nemá uložený průchod/, 10000);
    await sleep(300);
    await page.keyboard.press('Enter');
    console.log('a zone file picked on the page is kept whole in the player\'s zones, listed and selected');
    // Kept for its author to mend in the editor: a zone the game does not play yet, told why.
    await pick('rozbita.qrn', '"Rozbitá"\n3\n1\n10\n0\n12\n6\n01\n01\n01\nS+E\n');
    await waitNotice(/jako rozbita\.qrn\. Hrát se zatím nedá, oprav ji v editoru \(E\): rozbita\.qrn:5: kroky nepřítele/);
    if (!await readIn(OwnZones + '/rozbita.qrn')) throw new Error('the zone to mend was not kept');
    // Not kept: a file that is no zone (the loader says why), a file over 1 MB.
    await pick('neni-zona.qrn', '"Nic"\nten text není zóna\n');
    await waitNotice(/„neni-zona\.qrn“ není zóna, do tvých zón se neuložil\. neni-zona\.qrn(:\d+)?: /);
    const toldNoZone = await notice();
    await pick('obri.qrn', Buffer.alloc((1 << 20) + 1, 'A'));
    await waitNotice(/„obri\.qrn“ má víc než 1 MB, taková zóna to není\. Do tvých zón se neuložil\./);
    const names = await page.evaluate((folder) => FS.readdir(folder), OwnZones);
    if (names.some((n) => /neni-zona|obri/.test(n))) throw new Error('kept what is no zone: ' + names);
    console.log(`a file that is no zone is told (${toldNoZone}), one over 1 MB too; neither is kept`);

    // After a reload: both still there, last in the list, in the player's set after the shipped
    // sets (a set's heading is never selected: End selects the last zone).
    from = since();
    await page.reload({ waitUntil: 'load' });
    await startScreen(from);
    const reloaded = await readIn(OwnZones + '/moje-nahrana.qrn');
    if (!reloaded || !Buffer.from(reloaded).equals(Buffer.from(own))) throw new Error('the picked zone is gone after a reload');
    await page.keyboard.press('End');  // the zone to mend, rozbita.qrn, comes after it
    await page.keyboard.press('ArrowUp');
    from = since();
    await shiftS();
    await lineAfter(from, /Zóna „Nahraná zkouška“ zatím nemá uložený průchod/, 10000);
    await sleep(300);
    await page.keyboard.press('Enter');
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
    console.log('the picked zone is listed after a reload');
  } finally {
    fs.rmSync(downloads, { recursive: true, force: true });
    fs.rmSync(picked, { recursive: true, force: true });
  }
}


// The text a link made by the page (#notice-link) holds, once a new one is shown.
async function linkText(page, before) {
  await page.waitForFunction((old) => {
    const a = document.getElementById('notice-link');
    return a && a.href !== old && document.getElementById('notice').style.display === 'block';
  }, { timeout: 10000 }, before || '');
  const href = await page.$eval('#notice-link', (a) => a.href);
  return { href, text: zlib.inflateRawSync(Buffer.from(href.split('#zona=')[1] || '', 'base64url')).toString('utf8') };
}

// Clicks a point of the game's desktop (canvas pixels), wherever the page has put the canvas.
async function clickDesktop(page, x, y) {
  const box = await page.$eval('#canvas', (c) => {
    const r = c.getBoundingClientRect();
    return { x: r.x, y: r.y, s: r.width / c.width };
  });
  await page.mouse.move(box.x + x * box.s, box.y + y * box.s);
  await sleep(100);  // the picture buttons' hover poll sees the pointer first
  await page.mouse.down();
  await sleep(50);
  await page.mouse.up();
}

// Waits until the page's storage has been written out after now, and nothing more is going out.
async function storageWritten(page, before) {
  await page.waitForFunction((n) => (Module.quarnSynced || 0) > n, { timeout: 10000 }, before);
  for (let last = -1, now = 0; last !== now; await sleep(300)) {
    last = now;
    now = await page.evaluate(() => Module.quarnSynced);
  }
}

// The editor in the browser: the Editor button's hand-off downloads the zone; E opens the zone in
// the zone editor, an edit is made, Ctrl+O makes a link to the zone as it is now (unsaved), Ctrl+S
// keeps it among the player's zones; after a reload the zone is in the storage and listed on the
// start screen, and its link there holds the edited zone too.
async function editorInBrowser(url, zoneText) {
  const { browser, close } = await freshBrowser();
  let downloads = null;
  try {
    const page = await newPage(browser);
    const { folder, whole } = await allowDownloads(page);
    downloads = folder;
    const startScreen = async () => {
      await waitForLine(page.lines, /DirectSound/, 30000);
      await sleep(300);
      await page.keyboard.press('Enter');
      const start = { x: 257, y: 193, w: 511, h: 314 };
      for (let i = 0; i < 100 && (await drawnPixels(page, start)) < start.w * start.h * 0.2; i++) {
        await sleep(100);
      }
      await sleep(300);
    };
    await page.goto(url, { waitUntil: 'load' });
    await startScreen();

    // The Editor button (177, 224 on the start screen, which stands at 257, 193), its question
    // answered Ano: the selected zone comes as a download.
    page.lines.length = 0;
    await clickDesktop(page, 257 + 177 + 50, 193 + 224 + 15);
    await waitForLine(page.lines, /stáhnout/, 5000);
    await sleep(300);
    await page.keyboard.press('Enter');
    const download = await whole('01-prvni-kroky.qrn');
    if (!download) {
      throw new Error('the Editor button downloaded nothing: ' + fs.readdirSync(downloads).join(', '));
    }
    if (download.toString('utf8') !== zoneText) throw new Error('the downloaded zone is not the zone');
    console.log('the Editor button downloads the selected zone');

    // E: the zone editor. The title gets " (web)" typed after it in the header form.
    await page.keyboard.press('KeyE');
    await sleep(1500);
    await clickDesktop(page, 900, 66);
    await page.keyboard.type(' (web)');
    await page.keyboard.press('Enter');
    await sleep(300);
    // Ctrl+O: the link holds the zone as the editor has it, not yet saved.
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyO');
    await page.keyboard.up('Control');
    const edited = (await linkText(page)).text;
    // The game writes the title without the quotes the shipped file has.
    const [title, ...rest] = zoneText.split('\n');
    if (edited !== [title.replace(/^"(.*)"$/, '$1') + ' (web)', ...rest].join('\n')) {
      throw new Error('the editor\'s link does not hold the edited zone:\n' + edited.slice(0, 300));
    }
    console.log('Ctrl+O in the editor makes a link to the zone as it is now, unsaved');
    // Ctrl+S: into the player's zones, and out to the browser's storage.
    const synced = await page.evaluate(() => Module.quarnSynced || 0);
    page.lines.length = 0;
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Control');
    await waitForLine(page.lines, /^quarn: (Uloženo|Zónu hry nelze přepsat)/, 5000);
    // The status line names the player's zones, never the page's own folders.
    const saved = page.lines.find((l) => /^quarn: (Uloženo|Zónu hry nelze přepsat)/.test(l));
    if (/\/home\/web_user\//.test(saved)) throw new Error(`the editor names the page's folder: ${saved}`);
    await storageWritten(page, synced);

    await page.reload({ waitUntil: 'load' });
    await startScreen();
    const kept = await page.evaluate((f) => {
      try {
        return FS.readFile(f, { encoding: 'utf8' });
      } catch (e) {
        return null;
      }
    }, OwnZones + '/01-prvni-kroky.qrn');
    if (kept !== edited) throw new Error('after a reload the player\'s zone is not the edited zone:\n' + kept);
    // The player's zones follow the shipped ones: End selects it, O makes its link.
    await page.keyboard.press('End');
    await page.keyboard.press('KeyO');
    if ((await linkText(page)).text !== edited) {
      throw new Error('the start screen does not list the saved zone last');
    }
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
    console.log('the edited zone is in the player\'s zones after a reload, listed on the start screen');
  } finally {
    await close();
    if (downloads) fs.rmSync(downloads, { recursive: true, force: true });
  }
}

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

// PageChecks.cjs runs its own checks with the same browser and server.
if (require.main === module) main();
module.exports = { args, serve, freshBrowser, newPage, waitForLine, sleep, TickMs, DesktopColour,
                   clickDesktop };
