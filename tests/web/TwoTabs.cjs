// TwoTabs.cjs — two tabs of one browser profile never wipe each other's files. The tab that holds
// the game (zone 01 won there, its record and run kept, a zone picked into the player's zones) is
// asked for the game by a second tab, which waits and says so while the first stores another
// zone; "Hrát tady" there ends the first
// tab's game in order and moves it; the second tab stores a zone of its own; the first asks for
// the game back and stores another. A fresh tab then finds every record, run and zone of both,
// whichever wrote last. Called by BrowserTest.cjs with its browser and page.
'use strict';

const OwnZones = '/home/web_user/.local/share/quarn/zones';
const Records = '/home/web_user/.local/state/quarn/records.txt';
const Runs = '/home/web_user/.local/share/quarn/runs';

async function twoTabs(browser, url, first, zoneText, { newPage, sleep }) {
  // What a shown element says ('' while it is hidden).
  const text = (page, id) => page.$eval(id, (e) => (e.offsetParent === null ? '' : e.textContent));
  const until = async (what, test, ms) => {
    for (const end = Date.now() + ms; Date.now() < end;) {
      if (await test()) return;
      await sleep(100);
    }
    throw new Error(what);
  };
  const started = (page) => page.evaluate(() => typeof FS !== 'undefined' && !!Module.calledRun);
  const startScreen = async (page, from) => {
    await until('the game did not start in the tab that took it', async () =>
      page.lines.slice(from).some((l) => /DirectSound/.test(l)), 30000);
    await sleep(300);
    await page.keyboard.press('KeyN');  // no sound
    await sleep(500);
  };
  const pick = async (page, name, title) => {
    const fs = require('fs'), os = require('os'), path = require('path');
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-tabs-'));
    const file = path.join(folder, name);
    fs.writeFileSync(file, zoneText.replace(/^"[^"\n]*"/, `"${title}"`));
    const synced = await page.evaluate(() => Module.quarnSynced || 0);
    await (await page.$('#pick-zone-file')).uploadFile(file);
    await until(`${name} was not kept in the tab holding the game`, async () =>
      /je v tvých zónách/.test(await text(page, '#notice-text')), 10000);
    await page.waitForFunction((n) => (Module.quarnSynced || 0) > n, { timeout: 10000 }, synced);
    fs.rmSync(folder, { recursive: true, force: true });
  };
  const held = async (page) => page.evaluate((z, r, runs) => {
    const read = (f) => { try { return FS.readFile(f, { encoding: 'utf8' }); } catch (e) { return ''; } };
    const list = (f) => { try { return FS.readdir(f); } catch (e) { return []; } };
    return { records: read(r), runs: list(runs).filter((n) => n.endsWith('.keys')), zones: list(z) };
  }, OwnZones, Records, Runs);
  const everything = (files, zones) => /prvni-kroky|První kroky/.test(files.records) &&
      files.runs.length >= 1 && zones.every((z) => files.zones.includes(z));

  // The first tab holds the game: a second one waits, says why, and does not start it.
  const second = await newPage(browser);
  await second.goto(url, { waitUntil: 'load' });
  await until('the second tab does not say the game is open elsewhere', async () =>
    /už otevřený v jiné kartě/.test(await text(second, '#elsewhere-text')), 10000);
  await sleep(1000);
  if (await started(second)) throw new Error('the second tab started the game beside the first');
  console.log('a second tab says the game is open in another tab, and waits');
  // What the first tab stores meanwhile is the second one's when it takes the game.
  await pick(first, 'behem-cekani.qrn', 'Během čekání');

  // "Hrát tady": the first tab ends its game and says where it went; the second plays.
  let from = second.lines.length;
  await second.click('#take-over');
  await until('the first tab does not say the game moved', async () =>
    /přesunula do jiné karty/.test(await text(first, '#elsewhere-text')), 15000);
  await startScreen(second, from);
  const taken = await held(second);
  if (!everything(taken, ['moje-nahrana.qrn', 'behem-cekani.qrn'])) {
    throw new Error('the tab that took the game misses the first one\'s files: ' + JSON.stringify(taken));
  }
  await pick(second, 'druha-karta.qrn', 'Z druhé karty');
  console.log('"Hrát tady" moves the game with every file of the first tab; the second stores a zone');

  // And back: the first tab asks for it again and stores a zone of its own.
  from = first.lines.length;
  // Clicked in the page: the button loads the page again, which a pointer click does not outlive.
  await first.evaluate(() => document.getElementById('take-over').click()).catch(() => {});
  await until('the second tab does not give the game back', async () =>
    /přesunula do jiné karty/.test(await text(second, '#elsewhere-text')), 20000);
  await startScreen(first, from);
  await pick(first, 'prvni-karta.qrn', 'Z první karty');
  console.log('the first tab takes the game back and stores a zone');

  // A fresh tab, the others closed: nothing of either is lost.
  await second.close();
  await first.close();
  const fresh = await newPage(browser);
  await fresh.goto(url, { waitUntil: 'load' });
  await fresh.waitForFunction(() => typeof FS !== 'undefined' && Module.calledRun, { timeout: 30000 });
  const kept = await held(fresh);
  if (!everything(kept, ['moje-nahrana.qrn', 'behem-cekani.qrn', 'druha-karta.qrn', 'prvni-karta.qrn'])) {
    throw new Error('a fresh tab misses files of the two tabs: ' + JSON.stringify(kept));
  }
  const errors = [first, second, fresh].flatMap((p) => p.lines.filter((l) => l.startsWith('pageerror')));
  if (errors.length) throw new Error(errors.join('\n'));
  console.log(`a fresh tab finds the record, ${kept.runs.length} kept run(s) and every zone of both tabs`);
  return fresh;
}

module.exports = { twoTabs };
