// RunLinks.cjs — a zone with a run to beat, in a link. Shift+O on the start screen of the tab that
// won zone 01 makes a link with its best kept run after "&beh="; opened in a fresh profile it
// plays the zone with that run as the ghost and says "Překonej čas …"; a damaged run, one that
// unpacks to more than the page takes, and one that is no key script are told, and the zone
// plays without a ghost. Called by BrowserTest.cjs with its page and helpers.
'use strict';
const zlib = require('zlib');

async function runLinks(page, zoneText, { freshBrowser, newPage, sleep }) {
  const noticeText = (p) => p.$eval('#notice-text', (e) => (e.offsetParent === null ? '' : e.textContent));
  const until = async (what, test, ms) => {
    for (const end = Date.now() + ms; Date.now() < end;) {
      if (await test()) return;
      await sleep(100);
    }
    throw new Error(what);
  };
  // The page just opened: its sound question first.
  await until('the page asked no sound question', async () => page.lines.some((l) => /DirectSound/.test(l)), 30000);
  await sleep(300);
  await page.keyboard.press('KeyN');
  await sleep(800);
  // Shift+O on zone 01, the first of the list (Home steps over its set's heading).
  await page.keyboard.press('Home');
  await page.keyboard.down('Shift');
  await page.keyboard.press('KeyO');
  await page.keyboard.up('Shift');
  await page.waitForSelector('#notice-link', { visible: true, timeout: 10000 });
  const made = await page.$eval('#notice-link', (a) => a.href);
  const told = await noticeText(page);
  const [zonePart, runPart] = made.split('#zona=')[1].split('&beh=');
  if (!runPart || zlib.inflateRawSync(Buffer.from(zonePart, 'base64url')).toString('utf8') !== zoneText) {
    throw new Error('Shift+O made no link with the zone and a run: ' + made.slice(0, 200));
  }
  const runText = zlib.inflateRawSync(Buffer.from(runPart, 'base64url')).toString('utf8');
  if (!/s během \(\d+,\d s\)/.test(told) || !/^# /.test(runText)) {
    throw new Error(`the link with a run: "${told}", run ${runText.slice(0, 80)}`);
  }
  console.log(`Shift+O makes a link with the zone and its best run (${made.length} characters): ${told.split(':')[0]}`);

  const base = made.split('#')[0];
  const packed = (text) => Buffer.from(zlib.deflateRawSync(text)).toString('base64url');
  const opened = async (link, pattern) => {
    const { browser, close } = await freshBrowser();
    try {
      const p = await newPage(browser);
      await p.goto(link, { waitUntil: 'load' });
      await until(`the link's zone did not open (${link.slice(-40)})`, async () =>
        /Hraješ zónu z odkazu/.test(await noticeText(p)), 30000);
      const said = await noticeText(p);
      if (!pattern.test(said)) throw new Error(`the page told "${said}", not ${pattern}`);
      const errors = p.lines.filter((l) => l.startsWith('pageerror'));
      if (errors.length) throw new Error(errors.join('\n'));
      return said;
    } finally {
      await close();
    }
  };
  const beat = await opened(made, /^Hraješ zónu z odkazu\. Překonej čas \d+,\d s\./);
  console.log(`the link plays the zone with its run as the ghost: "${beat}"`);
  const zoneLink = base + '#zona=' + zonePart;
  await opened(zoneLink + '&beh=tohle*neni', /Běh v odkazu je poškozený, zóna se hraje bez něj\./);
  await opened(zoneLink + '&beh=' + packed(Buffer.alloc(3 << 20, 'A')),
               /Běh v odkazu je větší než 1 MB, zóna se hraje bez něj\./);
  await opened(zoneLink + '&beh=' + packed('tohle není průchod\n'),
               /Běh z odkazu nejde přehrát \(.+\), zóna se hraje bez něj\./);
  console.log('a damaged, oversized or unreadable run in a link is told; the zone plays without it');
}

module.exports = { runLinks };
