// TouchTest.cjs — the page on a phone, in headless Chromium with touch emulation (touches sent
// as the screen sends them, Input.dispatchTouchEvent): at 390 x 844 and at 844 x 390 the first
// zone is won by the on-screen pad alone and by swipes alone, the win question answered by a tap,
// each run kept as a key script that the native zone tool plays to the same win in the same
// ticks. The start screen is played by
// taps: the sound question, the list, Hrát, the records and the help (opened and closed by the
// page's buttons). The walking scheme is chosen on the page and still chosen after a reload;
// the page does not scroll and the controls never cover the game's windows. A pad, through the
// page's Gamepad API (a standard pad the page is given in place of the browser's), answers the
// sound question, plays zone 01 from the start screen to its win, answers the win question and
// its run replays headless in the same ticks. Screenshots go to --shots.
//   node TouchTest.cjs --site build/web --puppeteer DIR --solution FILE --zone FILE
//        --quarn-zone NATIVE_TOOL --shots DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { args, serve, freshBrowser, waitForLine, sleep, TickMs } = require('./BrowserTest.cjs');

const Runs = '/home/web_user/.local/share/quarn/runs';
const Sizes = [{ width: 390, height: 844, name: 'na-vysku' }, { width: 844, height: 390, name: 'na-sirku' }];

async function phonePage(browser, size) {
  const page = await browser.newPage();
  await page.setViewport({ width: size.width, height: size.height, hasTouch: true, isMobile: true,
                           deviceScaleFactor: 1 });
  page.lines = [];
  page.on('console', (m) => page.lines.push(m.text()));
  page.on('pageerror', (e) => page.lines.push('pageerror: ' + e.message));
  page.cdp = await page.target().createCDPSession();
  return page;
}

// Touches as the screen sends them: each finger by its own id.
async function touch(page, type, points) {
  await page.cdp.send('Input.dispatchTouchEvent', {
    type, touchPoints: points.map((p, i) => ({ x: p.x, y: p.y, id: p.id ?? i, radiusX: 4, radiusY: 4, force: 1 })),
  });
}
async function tap(page, p) {
  await touch(page, 'touchStart', [p]);
  await sleep(60);
  await touch(page, 'touchEnd', []);
  await sleep(200);
}
// The page's own element's middle, in CSS pixels.
async function middleOf(page, selector) {
  return page.$eval(selector, (e) => {
    const r = e.getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
  });
}
async function tapElement(page, selector) { await tap(page, await middleOf(page, selector)); }

// Where a point of the game's desktop (canvas pixels) is on the page, and the shown windows' part.
async function geometry(page) {
  return page.evaluate(() => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    return { x: r.x, y: r.y, s: r.width / c.width, area: shownArea || { x: 0, y: 0, w: c.width, h: c.height } };
  });
}
async function onPage(page, x, y) {
  const g = await geometry(page);
  return { x: g.x + x * g.s, y: g.y + y * g.s };
}
// A point of the shown windows, as a fraction of their part of the desktop or in pixels from
// its left top corner.
async function inShown(page, fx, fy) {
  const g = await geometry(page);
  const a = g.area;
  return onPage(page, a.x + (Math.abs(fx) <= 1 ? fx * a.w : fx), a.y + (Math.abs(fy) <= 1 ? fy * a.h : fy));
}

// The page's part each control takes, and the game's shown windows, in CSS pixels: none of the
// controls may lie over the windows, and everything is inside the phone's screen.
async function checkLayout(page, size) {
  const g = await geometry(page);
  const shown = { x: g.x + g.area.x * g.s, y: g.y + g.area.y * g.s, w: g.area.w * g.s, h: g.area.h * g.s };
  const boxes = await page.evaluate(() => ['touch-pad', 'touch-actions', 'touch-scheme'].map((id) => {
    const e = document.getElementById(id);
    const r = e.getBoundingClientRect();
    return { id, x: r.x, y: r.y, w: r.width, h: r.height, shown: getComputedStyle(e).visibility !== 'hidden' };
  }));
  const over = (a, b) => a.x < b.x + b.w - 0.5 && b.x < a.x + a.w - 0.5 && a.y < b.y + b.h - 0.5 && b.y < a.y + a.h - 0.5;
  for (const b of boxes) {
    if (b.shown && over(b, shown)) throw new Error(`${b.id} covers the game's windows: ${JSON.stringify([b, shown])}`);
    if (b.shown && (b.x < 0 || b.y < 0 || b.x + b.w > size.width + 0.5 || b.y + b.h > size.height + 0.5))
      throw new Error(`${b.id} is off the screen: ${JSON.stringify(b)}`);
  }
  if (shown.x < -0.5 || shown.x + shown.w > size.width + 0.5 || shown.y < -0.5) {
    throw new Error(`the game's windows run off the screen: ${JSON.stringify(shown)}`);
  }
  const scrolled = await page.evaluate(() => [window.scrollX, window.scrollY, document.documentElement.scrollHeight - window.innerHeight]);
  if (scrolled[0] !== 0 || scrolled[1] !== 0 || scrolled[2] > 0) throw new Error('the page scrolls: ' + scrolled);
  return shown;
}

// The sound question, answered by a tap on Ne (its right button).
async function answerSound(page, from) {
  const seen = () => page.lines.slice(from).some((l) => /DirectSound/.test(l));
  for (let i = 0; i < 300 && !seen(); i++) await sleep(100);
  if (!seen()) throw new Error('no sound question');
  await sleep(500);
  await tap(page, await inShown(page, SoundNo.x, SoundNo.y));
}

const Title = (page) => page.evaluate(() => document.title);
async function waitTitle(page, pattern, what) {
  for (let i = 0; i < 100; i++) {
    if (pattern.test(await Title(page))) return;
    await sleep(100);
  }
  throw new Error(`${what}: the page's title is "${await Title(page)}", not ${pattern}`);
}

// Each line of the key script held as long as it says (see BrowserTest.cjs's playSolution), by
// the pad's buttons or by a swipe held at its end.
async function playByTouch(page, file, scheme) {
  const ways = { left: [-1, 0], up: [0, -1], right: [1, 0], down: [0, 1] };
  for (const raw of fs.readFileSync(file, 'utf8').split('\n')) {
    const line = raw.replace(/#.*/, '').trim();
    if (!line) continue;
    const [count, keys] = line.split(/\s+/);
    const ticks = Number(count);
    const names = keys === '-' ? [] : keys.split('+');
    const hold = Math.max(3, ticks - 5) * TickMs;
    if (names.length === 0) {
      await sleep(hold);
    } else if (scheme === 'pad') {
      const points = [];
      for (const [i, k] of names.entries()) points.push({ ...(await middleOf(page, '#touch-' + (k === 'space' ? 'box' : k))), id: i });
      await touch(page, 'touchStart', points);
      await sleep(hold);
      await touch(page, 'touchEnd', []);
    } else {
      if (names.length !== 1 || !ways[names[0]]) throw new Error('a swipe walks one way only: ' + line);
      const [dx, dy] = ways[names[0]];
      const from = await inShown(page, 0.45, 0.5);
      await touch(page, 'touchStart', [from]);
      for (let step = 1; step <= 3; step++) {
        await touch(page, 'touchMove', [{ x: from.x + dx * 12 * step, y: from.y + dy * 12 * step }]);
      }
      await sleep(hold);
      await touch(page, 'touchEnd', []);
    }
    await sleep(7 * TickMs);
  }
}

// The kept run, played by the native zone tool: a win in the ticks the key script says.
async function keptRunReplays(page, zone, tool) {
  const kept = await page.evaluate((folder) => {
    try { return FS.readdir(folder).filter((n) => /\.keys$/.test(n)); } catch (e) { return []; }
  }, Runs);
  if (kept.length !== 1) throw new Error('kept runs: ' + kept.join(', '));
  const text = await page.evaluate((f) => FS.readFile(f, { encoding: 'utf8' }), Runs + '/' + kept[0]);
  const file = path.join(fs.mkdtempSync('/tmp/quarn-touch-run-'), kept[0]);
  fs.writeFileSync(file, text);
  const report = JSON.parse(execFileSync(tool, ['play', zone, '--keys', file]));
  const said = /čas: (\d+) tiků/.exec(text);
  if (report.wins !== 1 || !said || Number(said[1]) !== report.tick) {
    throw new Error(`the touch run does not replay to its win: ${JSON.stringify(report)} (${said && said[0]})`);
  }
  return report.tick;
}

// A pad of the standard layout, given to the page before it loads in place of the browser's own
// (headless Chromium has none): its buttons are set from the test, each change stamped anew as
// a real pad's state is.
function plugPad(page) {
  return page.evaluateOnNewDocument(() => {
    const button = () => ({ pressed: false, touched: false, value: 0 });
    const pad = { id: 'Quarn test pad', index: 0, connected: true, mapping: 'standard', timestamp: 1,
                  buttons: Array.from({ length: 17 }, button), axes: [0, 0, 0, 0] };
    navigator.getGamepads = () => [pad, null, null, null];
    window.quarnTestPad = (buttons, down) => {
      for (const b of buttons) pad.buttons[b] = { pressed: down, touched: down, value: down ? 1 : 0 };
      pad.timestamp += 1;
    };
  });
}
// The standard layout's buttons.
const PadButton = { a: 0, b: 1, back: 8, start: 9, up: 12, down: 13, left: 14, right: 15 };
async function padPress(page, buttons, ms) {
  await page.evaluate((b) => window.quarnTestPad(b, true), buttons);
  await sleep(ms);
  await page.evaluate((b) => window.quarnTestPad(b, false), buttons);
}

// Each line of the key script held on the pad's D-pad and A, as playByTouch holds the touches.
async function playByPad(page, file) {
  for (const raw of fs.readFileSync(file, 'utf8').split('\n')) {
    const line = raw.replace(/#.*/, '').trim();
    if (!line) continue;
    const [count, keys] = line.split(/\s+/);
    const hold = Math.max(3, Number(count) - 5) * TickMs;
    const names = keys === '-' ? [] : keys.split('+');
    if (names.length === 0) {
      await sleep(hold);
    } else {
      await padPress(page, names.map((k) => PadButton[k === 'space' ? 'a' : k]), hold);
    }
    await sleep(7 * TickMs);
  }
}

// The whole way with the pad alone, on a desktop-sized page without touch.
async function playWithAPad(url, shots) {
  const { browser, close } = await freshBrowser();
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1100, height: 760 });
    page.lines = [];
    page.on('console', (m) => page.lines.push(m.text()));
    page.on('pageerror', (e) => page.lines.push('pageerror: ' + e.message));
    await plugPad(page);
    await page.goto(url, { waitUntil: 'load' });
    const asked = () => page.lines.some((l) => /DirectSound/.test(l));
    for (let i = 0; i < 300 && !asked(); i++) await sleep(100);
    if (!asked()) throw new Error('no sound question');
    await sleep(500);
    await padPress(page, [PadButton.b], 150);  // B: Ne
    await waitTitle(page, /^Quarn$/, 'the sound question answered by B');
    await sleep(500);
    await padPress(page, [PadButton.a], 150);  // A: Hrát, on the first zone
    await waitTitle(page, /První kroky/, 'A on the start screen');
    await sleep(1000);
    let attempt = 1;
    for (;; attempt++) {
      const from = page.lines.length;
      await playByPad(page, args.solution);
      try {
        await waitForLine(page.lines.slice(from), /Vyhrál jsi/, 10000);
        break;
      } catch (e) {
        if (attempt === 3) throw e;
        await padPress(page, [PadButton.back], 150);  // Back: the zone again
        await sleep(1000);
      }
    }
    await sleep(300);
    await page.screenshot({ path: path.join(shots, 'won-pad.png') });
    // B answers the win question (its window's title is the game's name alone): Ne, and the
    // zone's window is the page's again.
    await waitTitle(page, /^Quarn$/, 'the win question');
    await padPress(page, [PadButton.b], 150);
    await waitTitle(page, /První kroky/, 'B on the win question');
    await page.waitForFunction(() => (Module.quarnSynced || 0) > 0, { timeout: 10000 });
    const ticks = await keptRunReplays(page, args.zone, args['quarn-zone']);
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
    console.log(`the Gamepad API's pad: the sound question, Hrát, zone 01 won (walk ${attempt}), the ` +
                `win question; the kept run wins headless in the same ${ticks} ticks`);
  } finally {
    await close();
  }
}

// Geometry of the start screen (511 x 314, alone on the desktop) and of the sound question's Ne,
// in pixels from their shown windows' left top corner.
const SoundNo = { x: 225, y: 72 };
const StartRows = { x: 60, first: 188, height: 15 };
const StartPlay = { x: 227, y: 204 };
// The win question's Ne, from the game screen's left top corner (the question stands in its
// middle).
const WinNo = { x: 455, y: 317 };

async function main() {
  const server = await serve(path.resolve(args.site));
  const url = `http://127.0.0.1:${server.address().port}/index.html`;
  const shots = args.shots || fs.mkdtempSync('/tmp/quarn-touch-shots-');
  fs.mkdirSync(shots, { recursive: true });
  let failed = false;
  try {
    for (const size of Sizes) {
      for (const scheme of ['pad', 'swipe']) {
        const { browser, close } = await freshBrowser();
        try {
          const page = await phonePage(browser, size);
          await page.goto(url, { waitUntil: 'load' });
          await page.waitForSelector('#touch-pad', { timeout: 30000 });
          if (scheme === 'swipe') {
            // Chosen on the page, and still chosen after a reload.
            await tapElement(page, '#touch-swipe-choice');
            await page.reload({ waitUntil: 'load' });
            await page.waitForSelector('#touch-pad', { timeout: 30000 });
            const chosen = await page.$eval('#touch-swipe-choice', (b) => b.classList.contains('chosen'));
            const padHidden = await page.$eval('#touch-pad', (p) => getComputedStyle(p).visibility === 'hidden');
            if (!chosen || !padHidden) throw new Error('the swipes chosen are not remembered after a reload');
          }
          await answerSound(page, 0);
          await sleep(800);
          await checkLayout(page, size);
          await page.screenshot({ path: path.join(shots, `start-${size.name}-${scheme}.png`) });
          if (scheme === 'pad' && size === Sizes[0]) await startScreenByTaps(page, size, shots);
          await tap(page, await inShown(page, StartPlay.x, StartPlay.y));
          await waitTitle(page, /První kroky/, 'Hrát tapped');
          await sleep(1200);
          const shown = await checkLayout(page, size);
          await page.screenshot({ path: path.join(shots, `zone-${size.name}-${scheme}.png`) });
          let attempt = 1;
          for (;; attempt++) {
            const from = page.lines.length;
            await playByTouch(page, args.solution, scheme);
            try {
              await waitForLine(page.lines.slice(from), /Vyhrál jsi/, 10000);
              break;
            } catch (e) {
              if (attempt === 3) throw e;
              // The restart button opens the zone again (Ctrl+R).
              await tapElement(page, '#touch-restart');
              await sleep(1000);
            }
          }
          await page.screenshot({ path: path.join(shots, `won-${size.name}-${scheme}.png`) });
          // The win question, answered by a tap on its Ne: the zone's window is the page's again.
          await waitTitle(page, /^Quarn$/, 'the win question');
          await tap(page, await inShown(page, WinNo.x, WinNo.y));
          await waitTitle(page, /První kroky/, 'Ne tapped on the win question');
          await page.waitForFunction(() => (Module.quarnSynced || 0) > 0, { timeout: 10000 });
          const ticks = await keptRunReplays(page, args.zone, args['quarn-zone']);
          const errors = page.lines.filter((l) => l.startsWith('pageerror'));
          if (errors.length) throw new Error(errors.join('\n'));
          console.log(`${size.width} x ${size.height}, ${scheme === 'pad' ? 'the pad' : 'swipes'}: zone 01 ` +
                      `won (walk ${attempt}), the game's windows ${Math.round(shown.w)} x ${Math.round(shown.h)} ` +
                      `CSS pixels, the kept run wins headless in the same ${ticks} ticks`);
        } finally {
          await close();
        }
      }
    }
    await playWithAPad(url, shots);
  } catch (e) {
    failed = true;
    console.error('FAILED:', e.message);
  } finally {
    server.close();
  }
  process.exit(failed ? 1 : 0);
}

// The start screen by taps only: the second zone of the list played and left by Zavřít, the
// first one chosen again; the records and the help opened and closed by the page's buttons.
async function startScreenByTaps(page, size, shots) {
  const row = (i) => inShown(page, StartRows.x, StartRows.first + (i + 0.5) * StartRows.height);
  await tap(page, await row(2));
  await tap(page, await inShown(page, StartPlay.x, StartPlay.y));
  await waitTitle(page, /Horké brambory/, 'the list\'s second zone tapped, then Hrát');
  await sleep(600);
  await tapElement(page, '#touch-close');
  await waitTitle(page, /^Quarn$/, 'Zavřít on a zone');
  await tapElement(page, '#touch-records');
  await waitTitle(page, /rekordy/, 'Rekordy tapped');
  await page.screenshot({ path: path.join(shots, `records-${size.name}.png`) });
  await tapElement(page, '#touch-close');
  await waitTitle(page, /^Quarn$/, 'Zavřít on the records');
  await tapElement(page, '#touch-help');
  await waitTitle(page, /nápověda/, 'Nápověda tapped');
  await tapElement(page, '#touch-down');  // the pad's arrows scroll it
  await page.screenshot({ path: path.join(shots, `help-${size.name}.png`) });
  await tapElement(page, '#touch-close');
  await waitTitle(page, /^Quarn$/, 'Zavřít on the help');
  await tap(page, await row(1));
  console.log('the start screen by taps: the sound question, the list, Hrát, Zavřít, the records and the help');
}

module.exports = { playWithAPad };

if (require.main === module) main();
