// PageChecks.cjs — the page in headless Chromium against the desktop game, in one fresh profile:
// the start screen is laid out as the desktop game's (same window size, the same picture and text
// boxes where they are on the desktop), the game's sound comes out of the page (OpenAL's buffers
// started through Web Audio, the right waves at the right moments, a running audio context, and
// more than silence at the output), and every zone of every set opens from the start screen's
// list, which heads each set with its title and count, ticks on its own and goes back with Esc.
//   node PageChecks.cjs --site build/web --puppeteer DIR --native-start start.ppm --sounds DIR
//        --zones DIR [--pictures DIR]
// The native start screen comes from NativeStart.sh; --pictures keeps the two start screens, their
// difference (the worst tile framed in yellow), the game screen after the walk, the start screen
// at the first zone of each set after the first (start-set-2.png, ...) and a screenshot of any
// failed check as PNG files there.
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { args, serve, freshBrowser, newPage, waitForLine, sleep, TickMs, DesktopColour,
        clickDesktop } = require('./BrowserTest.cjs');

// The desktop the page lays its windows on (1024 x 700): the start screen (511 x 314) and the
// game screen (800 x 600) stand in its middle. The band above the start screen is drawn only by
// the game screen.
const Band = { x: 112, y: 50, w: 800, h: 140 };

// --- pictures -----------------------------------------------------------------------------------

function readPpm(file) {
  const data = fs.readFileSync(file);
  const fields = [];
  let at = 0;
  while (fields.length < 4) {
    while (/\s/.test(String.fromCharCode(data[at]))) at++;
    if (data[at] === 0x23) {  // a comment runs to the line's end
      while (data[at] !== 0x0a) at++;
      continue;
    }
    let word = '';
    while (!/\s/.test(String.fromCharCode(data[at]))) word += String.fromCharCode(data[at++]);
    fields.push(word);
  }
  at++;
  const [magic, w, h, max] = fields;
  if (magic !== 'P6' || max !== '255') throw new Error(`${file}: not an 8-bit binary PPM`);
  const width = Number(w), height = Number(h);
  const rgba = new Uint8Array(width * height * 4);
  for (let i = 0; i < width * height; i++) {
    rgba.set(data.subarray(at + 3 * i, at + 3 * i + 3), 4 * i);
    rgba[4 * i + 3] = 255;
  }
  return { width, height, rgba };
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function writePng(file, { width, height, rgba }) {
  const chunk = (type, body) => {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(body.length, 0);
    head.write(type, 4, 'latin1');
    const tail = Buffer.alloc(4);
    tail.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), body])), 0);
    return Buffer.concat([head, body, tail]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8);  // 8-bit RGBA
  const rows = Buffer.alloc(height * (1 + 4 * width));
  for (let y = 0; y < height; y++) {
    rows.set(rgba.subarray(4 * width * y, 4 * width * (y + 1)), y * (1 + 4 * width) + 1);
  }
  fs.writeFileSync(file, Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows)), chunk('IEND', Buffer.alloc(0))]));
}

// Lightness 0..255 of each pixel, averaged over a (2r+1)² box: strokes that differ by a pixel of
// hinting or anti-aliasing blur into the same grey, while a box that moved stays apart.
function blurredLightness({ width, height, rgba }, r) {
  const light = new Float32Array(width * height);
  for (let i = 0; i < width * height; i++) {
    light[i] = 0.299 * rgba[4 * i] + 0.587 * rgba[4 * i + 1] + 0.114 * rgba[4 * i + 2];
  }
  const pass = (from, dx, dy) => {
    const to = new Float32Array(width * height);
    for (let y = 0; y < height; y++) {
      for (let x = 0; x < width; x++) {
        let sum = 0, n = 0;
        for (let k = -r; k <= r; k++) {
          const xx = x + k * dx, yy = y + k * dy;
          if (xx < 0 || yy < 0 || xx >= width || yy >= height) continue;
          sum += from[yy * width + xx];
          n++;
        }
        to[y * width + x] = sum / n;
      }
    }
    return to;
  };
  return pass(pass(light, 1, 0), 0, 1);
}

// The two start screens laid side by side in tiles of Tile²: a tile's score is the mean lightness
// difference of its blurred pixels. Different font hinting spreads thinly over the text's tiles;
// a list, title picture or button that moved or is missing leaves whole tiles apart.
// The key line names the browser's own keys in the page (the browser keeps some for itself), so
// its text may differ: of its box only that text is there at all is asked.
const Tile = 16, BlurRadius = 2, TileLimit = 24;
const KeyLine = { x: 290, y: 252, w: 212, h: 50 };
const inKeyLine = (x, y) => x >= KeyLine.x - BlurRadius && x < KeyLine.x + KeyLine.w + BlurRadius &&
                            y >= KeyLine.y - BlurRadius && y < KeyLine.y + KeyLine.h + BlurRadius;
function inkIn(light, width, box) {
  let n = 0;
  for (let y = box.y; y < box.y + box.h; y++) {
    for (let x = box.x; x < box.x + box.w; x++) if (light[y * width + x] > 100) n++;
  }
  return n;
}
function compareLayout(web, native) {
  if (web.width !== native.width || web.height !== native.height) {
    return { same: false, why: `the page's start screen is ${web.width} x ${web.height}, ` +
                              `the desktop's ${native.width} x ${native.height}` };
  }
  const { width, height } = web;
  const a = blurredLightness(web, BlurRadius), b = blurredLightness(native, BlurRadius);
  const diff = { width, height, rgba: new Uint8Array(width * height * 4) };
  let worst = { score: 0 }, total = 0, counted = 0;
  for (let ty = 0; ty < height; ty += Tile) {
    for (let tx = 0; tx < width; tx += Tile) {
      let sum = 0, n = 0;
      for (let y = ty; y < Math.min(height, ty + Tile); y++) {
        for (let x = tx; x < Math.min(width, tx + Tile); x++) {
          if (inKeyLine(x, y)) {
            diff.rgba.set([0, 0, 96, 255], 4 * (y * width + x));
            continue;
          }
          const d = Math.abs(a[y * width + x] - b[y * width + x]);
          sum += d;
          n++;
          diff.rgba.set([Math.min(255, 4 * d), 0, 0, 255], 4 * (y * width + x));
        }
      }
      total += sum;
      counted += n;
      // A tile mostly under the key line is judged by its few pixels left: not at all.
      if (n >= Tile * Tile / 4 && sum / n > worst.score) worst = { score: sum / n, x: tx, y: ty };
    }
  }
  const keys = [inkIn(a, width, KeyLine), inkIn(b, width, KeyLine)];
  if (keys.some((n) => n < 100)) {
    return { same: false, diff, why: `the key line has ${keys[0]} light pixels in the page, ` +
                                     `${keys[1]} on the desktop (at least 100 pass)` };
  }
  // The worst tile is framed in the difference picture.
  if (worst.x !== undefined) {
    for (let k = 0; k < Tile; k++) {
      for (const [x, y] of [[worst.x + k, worst.y], [worst.x + k, worst.y + Tile - 1],
                            [worst.x, worst.y + k], [worst.x + Tile - 1, worst.y + k]]) {
        if (x < width && y < height) diff.rgba.set([255, 255, 0, 255], 4 * (y * width + x));
      }
    }
  }
  return { same: worst.score <= TileLimit, worst, mean: total / counted, diff,
           why: `the tile at ${worst.x},${worst.y} differs by ${worst.score.toFixed(1)} ` +
                `(at most ${TileLimit} passes)` };
}

// The box of the canvas's drawn pixels (not the desktop's colour) and its RGBA, base64.
async function drawnWindow(page) {
  return page.evaluate((desk) => {
    const canvas = document.getElementById('canvas');
    const d = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let x0 = canvas.width, y0 = canvas.height, x1 = -1, y1 = -1;
    for (let y = 0; y < canvas.height; y++) {
      for (let x = 0; x < canvas.width; x++) {
        const i = 4 * (y * canvas.width + x);
        if (d[i + 3] === 0 || (d[i] === desk[0] && d[i + 1] === desk[1] && d[i + 2] === desk[2])) {
          continue;
        }
        x0 = Math.min(x0, x); x1 = Math.max(x1, x); y0 = Math.min(y0, y); y1 = Math.max(y1, y);
      }
    }
    if (x1 < 0) return null;
    const w = x1 - x0 + 1, h = y1 - y0 + 1;
    const box = canvas.getContext('2d').getImageData(x0, y0, w, h).data;
    let s = '';
    for (let i = 0; i < box.length; i += 0x8000) {
      s += String.fromCharCode.apply(null, box.subarray(i, i + 0x8000));
    }
    return { x: x0, y: y0, width: w, height: h, rgba: btoa(s) };
  }, DesktopColour);
}

async function startLayout(page) {
  const shown = await drawnWindow(page);
  if (!shown) throw new Error('nothing is drawn on the canvas');
  const web = { width: shown.width, height: shown.height, rgba: Buffer.from(shown.rgba, 'base64') };
  const native = readPpm(args['native-start']);
  const result = compareLayout(web, native);
  if (args.pictures) {
    fs.mkdirSync(args.pictures, { recursive: true });
    writePng(path.join(args.pictures, 'start-page.png'), web);
    writePng(path.join(args.pictures, 'start-desktop.png'), native);
    if (result.diff) writePng(path.join(args.pictures, 'start-difference.png'), result.diff);
  }
  if (!result.same) throw new Error('the page\'s start screen is not laid out as the desktop\'s: ' +
                                    result.why);
  console.log(`the start screen (${web.width} x ${web.height} at ${shown.x},${shown.y}) is laid ` +
              `out as the desktop's: worst ${Tile}² tile ${result.worst.score.toFixed(1)} ` +
              `(limit ${TileLimit}), mean ${result.mean.toFixed(2)} of 255`);
}

// --- sound --------------------------------------------------------------------------------------

// Put in the page before the game runs: every buffer that Web Audio starts is written down with
// its length, rate and loudest sample, and what reaches each audio context's output is measured.
function tapAudio() {
  const tap = window.quarnAudioTap = { started: [], contexts: [], output: 0 };
  const start = AudioBufferSourceNode.prototype.start;
  const peaks = new WeakMap();
  AudioBufferSourceNode.prototype.start = function (...rest) {
    const b = this.buffer;
    // Measured once a buffer: the walk restarts at every step, and the game must not wait.
    let peak = b ? peaks.get(b) : 0;
    if (peak === undefined) {
      peak = 0;
      for (let c = 0; c < b.numberOfChannels; c++) {
        for (const v of b.getChannelData(c)) peak = Math.max(peak, Math.abs(v));
      }
      peaks.set(b, peak);
    }
    tap.started.push({ at: performance.now(), length: b ? b.length : 0, rate: b ? b.sampleRate : 0,
                       loop: this.loop, peak });
    return start.apply(this, rest);
  };
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      const ctx = target.context;
      if (!ctx.quarnListener) {
        ctx.quarnListener = ctx.createAnalyser();
        ctx.quarnListener.fftSize = 4096;
        tap.contexts.push(ctx);
      }
      connect.call(this, ctx.quarnListener);
    }
    return connect.call(this, target, ...rest);
  };
  const heard = new Float32Array(4096);
  setInterval(() => {
    for (const ctx of tap.contexts) {
      ctx.quarnListener.getFloatTimeDomainData(heard);
      for (const v of heard) tap.output = Math.max(tap.output, Math.abs(v));
    }
  }, 50);
}

// The game's waves by their length in frames and their rate, as OpenAL hands them to Web Audio.
function waveNames(folder) {
  const names = new Map();
  for (const file of fs.readdirSync(folder).filter((f) => /\.wav$/i.test(f))) {
    const data = fs.readFileSync(path.join(folder, file));
    let channels = 0, rate = 0, bits = 0, frames = 0;
    for (let at = 12; at + 8 <= data.length;) {
      const id = data.toString('latin1', at, at + 4), size = data.readUInt32LE(at + 4);
      if (id === 'fmt ') {
        channels = data.readUInt16LE(at + 10);
        rate = data.readUInt32LE(at + 12);
        bits = data.readUInt16LE(at + 22);
      } else if (id === 'data') {
        frames = Math.floor(size / (channels * bits / 8));
      }
      at += 8 + size + (size & 1);
    }
    const key = `${frames}@${rate}`;
    names.set(key, names.has(key) ? `${names.get(key)}|${file}` : file);
  }
  return names;
}

const Quiet = 0.01;  // a sample above this is heard (full scale is 1)

// The first zone walked with sound on, along its walls, so that the page's clock cannot lead the
// player astray: every hold but one runs into a wall. Back (looped) starts with the game screen,
// walk with the first step, HotPotato when the potato is picked up, Target at the delivery; each
// buffer holds more than silence, the audio context runs, and its output is not silent.
//   WWWWWWWWWWWWWWWWWWWW    From S (2,2): down to the floor, right to the wall, up to the passage,
//   W.........W........W    right, and up into the corner (18,1); one cell down, and left along
//   W.S.......W....R...W    row 2 over the potato R to the wall; down to the passage, left, down
//   W.........W........W    to the floor, and right along it past the target C, which takes the
//   W.........W........W    potato. The one short hold may miss by a cell when the page is
//   W....WWWWWW........W    slow: then the zone is opened again and walked again.
//   W..................W
//   W..........WW.WWWWWW
//   W..........W.......W
//   W....C.....W.......E
//   W..........W.......W
//   WWWWWWWWWWWWWWWWWWWW
const WallWalk = [['ArrowDown', 8], ['ArrowRight', 8], ['ArrowUp', 4], ['ArrowRight', 8],
                  ['ArrowUp', 5], ['ArrowDown', 0.5], ['ArrowLeft', 7], ['ArrowDown', 4],
                  ['ArrowLeft', 10], ['ArrowDown', 4], ['ArrowRight', 9]];
const PlayerTicksPerCell = 10;
async function walkAlongWalls(page) {
  for (const [key, cells] of WallWalk) {
    // A long hold outlasts its way to the wall even when the page ticks slower than it should.
    const ticks = (cells < 1 ? cells : cells * 1.5 + 3) * PlayerTicksPerCell;
    await page.keyboard.down(key);
    await sleep(ticks * TickMs);
    await page.keyboard.up(key);
    await sleep(150);
  }
}
async function soundHeard(page) {
  const names = waveNames(args.sounds);
  const before = await page.evaluate(() => quarnAudioTap.started.length);
  const heard = async (name) => (await page.evaluate(() => quarnAudioTap.started)).slice(before)
      .some((s) => names.get(`${s.length}@${s.rate}`) === name);
  let attempts = 0;
  do {
    if (attempts++) {
      await page.keyboard.press('Escape');
      await until('Esc did not close the first zone', async () => !(await gameShown(page)), 5000);
    }
    await page.keyboard.press('Enter');  // the first zone
    await sleep(1500);
    await walkAlongWalls(page);
    await sleep(500);
  } while (attempts < 3 && !(await heard('Target.wav')));
  if (args.pictures) await page.screenshot({ path: path.join(args.pictures, 'sound-played.png') });
  const tap = await page.evaluate(() => ({
    started: quarnAudioTap.started, output: quarnAudioTap.output,
    states: quarnAudioTap.contexts.map((c) => c.state) }));
  const started = tap.started.slice(before).map((s) => ({ ...s,
    name: names.get(`${s.length}@${s.rate}`) || `? ${s.length} frames at ${s.rate} Hz` }));
  const first = (name) => started.findIndex((s) => s.name === name);
  const order = ['Back.wav', 'walk.wav', 'HotPotato.wav', 'Target.wav'].map((n) => [n, first(n)]);
  const summary = [...new Set(started.map((s) => s.name))].map((n) =>
    `${n} ×${started.filter((s) => s.name === n).length}`).join(', ');
  if (!tap.states.length || tap.states.some((s) => s !== 'running')) {
    throw new Error(`the page's audio context is ${tap.states.join(', ') || 'not made'}`);
  }
  for (const [name, at] of order) if (at < 0) throw new Error(`${name} was never started (${summary})`);
  if (order.some(([, at], i) => i > 0 && at < order[i - 1][1])) {
    throw new Error('the sounds started out of order: ' + order.map(([n, at]) => `${n} ${at}`).join(', '));
  }
  const silent = started.filter((s) => s.peak <= Quiet);
  if (silent.length) throw new Error(`silent buffers were started: ${silent.map((s) => s.name).join(', ')}`);
  if (tap.output <= Quiet) {
    throw new Error(`the page's output stayed silent (loudest sample ${tap.output.toFixed(4)})`);
  }
  console.log(`sound heard (${attempts} walk${attempts > 1 ? 's' : ''}): ${started.length} ` +
              `buffers started (${summary}); the audio context ` +
              `runs; loudest output sample ${tap.output.toFixed(3)}`);
}

// --- every zone ---------------------------------------------------------------------------------

// A fingerprint of the canvas area and how much of it is drawn.
async function areaLook(page, a) {
  return page.evaluate((a, desk) => {
    const d = document.getElementById('canvas').getContext('2d').getImageData(a.x, a.y, a.w, a.h).data;
    let drawn = 0, hash = 2166136261;
    for (let i = 0; i < d.length; i += 4) {
      if (d[i + 3] !== 0 && (d[i] !== desk[0] || d[i + 1] !== desk[1] || d[i + 2] !== desk[2])) drawn++;
      hash = Math.imul(hash ^ (d[i] | d[i + 1] << 8 | d[i + 2] << 16), 16777619);
    }
    return { drawn, hash: hash >>> 0 };
  }, a, DesktopColour);
}
const gameShown = async (page) => (await areaLook(page, Band)).drawn > Band.w * Band.h * 0.5;
async function until(what, test, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100)) if (await test()) return;
  throw new Error(what);
}

// --- every zone of every set ----------------------------------------------------------------------

// What the page lists, read from its own file system: the shipped folder's zones and title file,
// then each subfolder's by folder name (the sets shipped with the game), then the player's own
// zones. Each zone with its text, each set with its title (its title file's first line, else the
// shipped set's or the player's set's own title, else the folder's name).
function readPageSets() {
  const zoneName = (n) => /\.qrn$/i.test(n);
  const isDir = (p) => {
    try { return FS.isDir(FS.stat(p).mode); } catch (e) { return false; }
  };
  const isFile = (p) => {
    try { return FS.isFile(FS.stat(p).mode); } catch (e) { return false; }
  };
  const bytes = (a, b) => {
    const x = new TextEncoder().encode(a), y = new TextEncoder().encode(b);
    for (let i = 0; i < Math.min(x.length, y.length); i++) if (x[i] !== y[i]) return x[i] - y[i];
    return x.length - y.length;
  };
  const titleOf = (folder) => {
    if (!isFile(folder + '/sada.txt')) return null;
    const line = FS.readFile(folder + '/sada.txt', { encoding: 'utf8' }).replace(/^\uFEFF/, '')
        .split('\n')[0].replace(/^[ \t]+|[ \t\r]+$/g, '');
    return line || null;
  };
  const setOf = (folder, title, within, own = false) => ({
    folder, within, own, titleFile: isFile(folder + '/sada.txt') ? FS.readFile(folder + '/sada.txt', { encoding: 'utf8' }) : null,
    title: titleOf(folder) || title,
    zones: FS.readdir(folder).filter((n) => zoneName(n) && isFile(folder + '/' + n)).sort(bytes)
        .map((n) => ({ name: n, text: FS.readFile(folder + '/' + n, { encoding: 'utf8' }) })),
  });
  const shipped = ['/zones', '/quarn/zones'].find(isDir);
  if (!shipped) return null;
  const sets = [setOf(shipped, 'Základy', '')];
  for (const name of FS.readdir(shipped).filter((n) => !n.startsWith('.') && !zoneName(n)).sort(bytes)) {
    if (isDir(shipped + '/' + name)) sets.push(setOf(shipped + '/' + name, name, name));
  }
  const own = '/home/web_user/.local/share/quarn/zones';
  if (isDir(own)) sets.push(setOf(own, 'Moje zóny', '', true));
  let records = '';
  try {
    records = FS.readFile('/home/web_user/.local/state/quarn/records.txt', { encoding: 'utf8' });
  } catch (e) {}
  return { sets, records };
}

// The zones folder given on the command line, as readPageSets reads the page's: the page must
// ship every set of it, each zone and title file as it is.
function diskSets(folder) {
  const byName = (a, b) => Buffer.compare(Buffer.from(a), Buffer.from(b));
  const isDir = (p) => fs.statSync(p, { throwIfNoEntry: false })?.isDirectory();
  const isFile = (p) => fs.statSync(p, { throwIfNoEntry: false })?.isFile();
  const setOf = (dir, within) => ({
    within,
    titleFile: isFile(path.join(dir, 'sada.txt')) ? fs.readFileSync(path.join(dir, 'sada.txt'), 'utf8') : null,
    zones: fs.readdirSync(dir).filter((n) => /\.qrn$/i.test(n) && isFile(path.join(dir, n))).sort(byName)
        .map((n) => ({ name: n, text: fs.readFileSync(path.join(dir, n), 'utf8') })),
  });
  const sets = [setOf(folder, '')];
  for (const name of fs.readdirSync(folder).filter((n) => !n.startsWith('.') && !/\.qrn$/i.test(n)).sort(byName)) {
    if (isDir(path.join(folder, name))) sets.push(setOf(path.join(folder, name), name));
  }
  return sets;
}

function compareShipped(page, disk) {
  const problems = [];
  const pageByName = new Map(page.filter((s) => !s.own).map((s) => [s.within, s]));
  for (const set of disk) {
    const shown = pageByName.get(set.within);
    if (!shown) {
      problems.push(`the set ${where(set)} (${set.zones.length} zones) is not in the page's data`);
      continue;
    }
    if (shown.titleFile !== set.titleFile) problems.push(`${where(set)}/sada.txt differs or is missing`);
    const names = new Map(shown.zones.map((z) => [z.name, z.text]));
    for (const z of set.zones) {
      if (!names.has(z.name)) problems.push(`${where(set)}/${z.name} is missing`);
      else if (names.get(z.name) !== z.text) problems.push(`${where(set)}/${z.name} differs`);
      names.delete(z.name);
    }
    for (const name of names.keys()) problems.push(`${where(set)}/${name} is in the page only`);
  }
  for (const set of page) {
    if (!set.own && !disk.some((d) => d.within === set.within)) {
      problems.push(`the page has a set ${where(set)} that ${args.zones} has not`);
    }
  }
  return problems;
}

// A zone's title: its first field, quoted or up to a comma or the line's end.
function zoneTitle(text) {
  const line = text.split(/\r?\n/)[0];
  const quoted = line.match(/^\s*"([^"]*)"/);
  return quoted ? quoted[1] : line.split(',')[0].trim();
}

// How many zones of a set folder the records say are won (the records name each zone's file).
function wonIn(records, folder) {
  let won = 0;
  for (const line of records.split('\n').slice(1)) {
    const f = line.split('\t');
    if (f.length < 6 || f[1] !== '1') continue;
    const file = path.posix.resolve('/', f[5].replace(/\\(.)/g, '$1'));
    if (path.posix.dirname(file) === path.posix.normalize(folder)) won++;
  }
  return won;
}

// The list's text column on the start screen (its scroll bar right of it left out), and one row of
// it: its red and blue values. The selected row is the one filled with the selection's colour; the
// others lie whole rows above and below it.
const ListText = { x: 12, y: 189, w: 128, h: 112 };
const SelectedBack = [0, 255, 255];
async function listRows(page, origin) {
  const shot = await page.evaluate((a, sel) => {
    const d = document.getElementById('canvas').getContext('2d').getImageData(a.x, a.y, a.w, a.h).data;
    let top = -1, bottom = -1;
    for (let y = 0; y < a.h; y++) {
      for (let x = 0; x < a.w; x++) {
        const i = 4 * (y * a.w + x);
        if (d[i] === sel[0] && d[i + 1] === sel[1] && d[i + 2] === sel[2]) {
          if (top < 0) top = y;
          bottom = y;
          break;
        }
      }
    }
    const red = [], blue = [];
    for (let i = 0; i < d.length; i += 4) {
      red.push(d[i]);
      blue.push(d[i + 2]);
    }
    return { top, bottom, red, blue };
  }, { x: origin.x + ListText.x, y: origin.y + ListText.y, w: ListText.w, h: ListText.h }, SelectedBack);
  if (shot.top < 0) throw new Error('no entry of the list is selected');
  const height = shot.bottom - shot.top + 1;
  // Row k from the selected one (-1 the one above it); null when it is not shown whole.
  const row = (k) => {
    const y = shot.top + k * height;
    if (y < 0 || y + height > ListText.h) return null;
    const from = y * ListText.w, to = (y + height) * ListText.w;
    return { red: shot.red.slice(from, to), blue: shot.blue.slice(from, to), height };
  };
  return { row, height };
}
// How a row's text is drawn: "heading" when its ink is yellow, "entry" when white, "none" when the
// row holds no text. Yellow and white on the list's navy share the red of every pixel; blue
// tells them apart.
function inkOf(row) {
  let yellow = 0, white = 0;
  for (let i = 0; i < row.red.length; i++) {
    if (row.red[i] < 160) continue;
    if (row.blue[i] < 64) yellow++;
    else if (row.blue[i] > 192) white++;
  }
  if (yellow + white < 20) return 'none';
  return yellow > 10 * white ? 'heading' : white > 10 * yellow ? 'entry' : 'mixed';
}
// Two rows show the same text when their red values are the same: the game draws a heading and a
// zone's title with the same font and the same blending, only in another colour.
function sameText(a, b) {
  if (!a || !b || a.red.length !== b.red.length) return false;
  let worst = 0;
  for (let i = 0; i < a.red.length; i++) worst = Math.max(worst, Math.abs(a.red[i] - b.red[i]));
  return worst <= 3;
}

// A small zone of the player's, titled as a heading should read; each index moves a wall, so that
// no two share a record.
function HeadingZone(title, index) {
  const rows = ['WWWWWWWWWWWW', 'W..........W', 'W.S.....R..W', 'W..........W', 'W.....C....W',
                'W..........E', 'WWWWWWWWWWWW'];
  rows[1] = rows[1].slice(0, 1 + index) + 'W' + rows[1].slice(2 + index);
  return [`"${title}"`, '12', '7', '10', '16', '12', '6', '01', '01', '01', ...rows, ''].join('\n');
}
const where = (set) => (set.own ? 'the player\'s zones' : set.within || '.');

// Every zone of every set in turn, as the start screen lists them: Home selects the first zone
// (over the heading above it); Enter opens the selected one, the page is titled with that zone's
// title, the game screen is drawn and changes by itself within a second (the potatoes blink, the
// clock runs), Esc goes back to the start screen, and Down selects the next zone, stepping over
// the next set's heading. The player's own set is given a zone for each heading first, titled as
// that heading should read ("Základy · 0/20", ..., "Moje zóny · 0/3"); each heading row is drawn
// in yellow and shows what the game draws for that zone's title, pixel for pixel. The page's data
// holds the zones folder given, every set of it.
async function everyZone(page) {
  const game = { x: 112, y: 50, w: 800, h: 600 };
  const origin = await drawnWindow(page);
  if (!origin || origin.width !== 511 || origin.height !== 314) throw new Error('the start screen is not shown');
  let listed = await page.evaluate(readPageSets);
  if (!listed) throw new Error('the page has no zones folder');
  const problems = compareShipped(listed.sets, diskSets(args.zones));
  if (problems.length) {
    throw new Error(`the page's data is not ${args.zones} as it is now (changed since the page was built?): ` +
                    problems.slice(0, 8).join('; ') + (problems.length > 8 ? '; …' : ''));
  }
  const own = listed.sets.at(-1);
  if (!own.own) throw new Error('the page has no folder for the player\'s zones');
  if (listed.sets.length < 3) throw new Error(`${args.zones} has no subfolder set`);
  if (own.zones.length) throw new Error('the player has zones of their own already: ' + own.zones.map((z) => z.name));
  // The headings as they should read once the player has one zone for each of them.
  const headingOf = (set, won) => `${set.title} · ${won}/${set.zones.length}`;
  const wanted = listed.sets.slice(0, -1).filter((s) => s.zones.length)
      .map((s) => headingOf(s, wonIn(listed.records, s.folder)));
  wanted.push(`${own.title} · 0/${wanted.length + 1}`);
  await page.evaluate((folder, texts) => {
    texts.forEach((t, i) => FS.writeFile(`${folder}/nadpis-${i + 1}.qrn`, t));
  }, own.folder, wanted.map((title, i) => HeadingZone(title, i)));
  await sleep(2500);  // the list is read again every second
  listed = await page.evaluate(readPageSets);

  const entries = [];
  for (const set of listed.sets.filter((s) => s.zones.length)) {
    entries.push({ heading: true, set });
    for (const z of set.zones) entries.push({ title: zoneTitle(z.text), set, file: z.name });
  }
  const zones = entries.filter((e) => !e.heading).length;
  const rows = new Array(entries.length).fill(null);
  const began = Date.now();
  await page.keyboard.press('Home');
  await sleep(150);
  let n = 0;
  for (const [i, entry] of entries.entries()) {
    if (entry.heading) continue;
    const what = `zone ${++n} of the list (${where(entry.set)}/${entry.file})`;
    rows[i - 1] = (await listRows(page, origin)).row(-1);
    // A set's first zone selected, its heading above it: the start screen is kept as a picture.
    if (args.pictures && entries[i - 1].heading && i > 1) {
      const shown = await drawnWindow(page);
      writePng(path.join(args.pictures, `start-set-${entries.slice(0, i).filter((e) => e.heading).length}.png`),
               { width: shown.width, height: shown.height, rgba: Buffer.from(shown.rgba, 'base64') });
    }
    await page.keyboard.press('Enter');
    await until(`${what} did not open its game screen`, () => gameShown(page), 10000);
    const shown = await page.title();
    if (shown !== `Quarn – ${entry.title}`) throw new Error(`${what}, "${entry.title}", opened as "${shown}"`);
    await sleep(300);
    const opened = await areaLook(page, game);
    await sleep(1000);
    const later = await areaLook(page, game);
    if (later.hash === opened.hash) throw new Error(`${what} (${entry.title}) stood still for 1 s`);
    await closeGame(page);
    if (await gameShown(page)) throw new Error(`Esc did not close ${what} (${entry.title})`);
    await page.keyboard.press('ArrowDown');
    await sleep(150);
  }
  // The last zone is seen from the one above it.
  await page.keyboard.press('ArrowUp');
  await sleep(150);
  rows[entries.length - 1] = (await listRows(page, origin)).row(1);
  const errors = page.lines.filter((l) => l.startsWith('pageerror'));
  if (errors.length) throw new Error(errors.join('\n'));

  for (const [i, entry] of entries.entries()) {
    if (!entry.heading) continue;
    const row = rows[i];
    const name = `the heading of ${where(entry.set)} (row ${i + 1} of the list)`;
    if (!row) throw new Error(`${name} was never seen above the set's first zone`);
    const ink = inkOf(row);
    if (ink !== 'heading') throw new Error(`${name} is drawn as ${ink === 'entry' ? 'a zone (white)' : ink}, not as a yellow heading`);
    const heading = wanted[entries.slice(0, i).filter((e) => e.heading).length];
    const reference = entries.findIndex((e) => e.set.own && e.title === heading);
    if (reference < 0 || !rows[reference]) throw new Error(`the zone titled "${heading}" was not seen in the list`);
    if (inkOf(rows[reference]) !== 'entry') throw new Error(`the zone "${heading}" is not drawn as a zone`);
    if (!sameText(row, rows[reference])) throw new Error(`${name} does not read "${heading}"`);
  }
  console.log(`all ${zones} zones of ${entries.length - zones} sets opened from the list, ticked and closed ` +
              `in ${((Date.now() - began) / 1000).toFixed(1)} s; the headings read ` +
              wanted.map((h) => `"${h}"`).join(', '));
}

// --- the page around the game ---------------------------------------------------------------------

// Put in the page before it runs: every line the loading text shows, with the bar's value.
function watchLoading() {
  const seen = window.quarnLoading = [];
  new MutationObserver(() => {
    const text = document.getElementById('status-text');
    const bar = document.getElementById('progress');
    if (!text) return;
    const line = { text: text.textContent, bar: bar && !bar.hidden ? bar.value : null };
    const last = seen[seen.length - 1];
    if (!last || last.text !== line.text || last.bar !== line.bar) seen.push(line);
  }).observe(document, { subtree: true, childList: true, characterData: true, attributes: true });
}

// Where the canvas is on the page and at what scale, and how it is drawn.
const canvasOnPage = (page) => page.$eval('#canvas', (c) => {
  const r = c.getBoundingClientRect();
  return { x: r.x, y: r.y, scale: r.width / c.width, width: c.width, height: c.height,
           rendering: getComputedStyle(c).imageRendering, view: [innerWidth, innerHeight] };
});
// The window shown (the start screen) as the page shows it: its box on the page.
async function startOnPage(page) {
  const c = await canvasOnPage(page);
  const w = await drawnWindow(page);
  return { ...c, left: c.x + w.x * c.scale, top: c.y + w.y * c.scale,
           right: c.x + (w.x + w.width) * c.scale, bottom: c.y + (w.y + w.height) * c.scale };
}
// (The canvas is placed on whole CSS pixels: the box may stand out by less than one.)
const startInView = (s) => s.left > -1 && s.top > -1 && s.right < s.view[0] + 1 && s.bottom < s.view[1] + 1;

// The page around the game, in a page of its own:
// - loading: the data's download is told in Czech with a bar ("Stahuji data hry… 1,2 z 3,6 MB"),
//   no English line of the loader is ever shown;
// - its icon is our own PNG, and nothing it asks for is missing (no favicon.ico);
// - in a large window (1920 x 1080) the start screen is enlarged by whole steps (3x), drawn
//   pixel for pixel, and wholly in view; F1's help may make the desktop grow, and once it is
//   closed the desktop is 1024 x 700 again and the start screen as large as before; in a window
//   too small for it the start screen is shrunk smoothly, never by dropping pixels;
// - Alt+Enter toggles the page's full screen;
// - × on the start screen ends the game: the page says "Hra skončila" and its button starts
//   a new one.
async function pageAround(browser, url) {
  // A profile of its own: nothing of the page comes from the cache of the checks before.
  const context = await browser.createIncognitoBrowserContext();
  const page = await newPage(context);
  const missing = [];
  page.on('response', (r) => { if (r.status() >= 400) missing.push(`${r.status()} ${r.url()}`); });
  try {
    await page.setViewport({ width: 1920, height: 1080 });
    await page.evaluateOnNewDocument(watchLoading);
    // A slower line, so that the download is seen under way.
    const cdp = await page.target().createCDPSession();
    await cdp.send('Network.emulateNetworkConditions',
                   { offline: false, latency: 5, downloadThroughput: 3 << 20, uploadThroughput: 1 << 20 });
    await page.goto(url, { waitUntil: 'load' });
    await waitForLine(page.lines, /DirectSound/, 60000);
    await cdp.send('Network.emulateNetworkConditions',
                   { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
    const loading = await page.evaluate(() => window.quarnLoading);
    const english = loading.filter((l) => /[A-Za-z]{4,}\.\.\.|Downloading|Running|Preparing/.test(l.text));
    if (english.length) throw new Error('the loading text was English: ' + english.map((l) => l.text).join(' | '));
    const steps = loading.filter((l) => /^Stahuji data hry… \d+,\d z \d+,\d MB$/.test(l.text));
    if (!steps.some((l) => l.bar > 0 && l.bar < 1)) {
      throw new Error('no download under way was shown with its bar: ' + loading.map((l) => `${l.text} [${l.bar}]`).join(' | '));
    }
    console.log(`loading told in Czech with a bar: ${steps.length} steps, e.g. "${steps[Math.floor(steps.length / 2)].text}"`);

    const icon = await page.evaluate(async () => {
      const link = document.querySelector('link[rel~="icon"]');
      if (!link) return null;
      const r = await fetch(link.href);
      return { status: r.status, type: r.headers.get('content-type'),
               head: Array.from(new Uint8Array(await r.arrayBuffer()).subarray(0, 8)) };
    });
    if (!icon || icon.status !== 200 || icon.head.join() !== '137,80,78,71,13,10,26,10') {
      throw new Error('the page has no icon of its own: ' + JSON.stringify(icon));
    }
    if (missing.length) throw new Error('the page asked for what is not there: ' + missing.join(', '));
    console.log('the page\'s icon is our PNG; nothing it asks for is missing');

    await sleep(300);
    await page.keyboard.press('Enter');  // sound on
    await until('the start screen is not shown', async () => {
      const w = await drawnWindow(page);
      return w && w.width === 511;
    }, 10000);
    await sleep(300);
    const big = await startOnPage(page);
    if (big.scale !== 3 || big.rendering !== 'pixelated' || !startInView(big)) {
      throw new Error(`at 1920 x 1080 the start screen is shown at ${big.scale}x (${big.rendering}), ` +
                      `${Math.round(big.left)},${Math.round(big.top)} to ${Math.round(big.right)},${Math.round(big.bottom)}; ` +
                      'not at 3x, pixel for pixel, in view');
    }
    await page.keyboard.press('F1');
    await until('F1 showed no help', async () => (await drawnWindow(page)).width !== 511, 5000);
    await sleep(300);
    const help = await canvasOnPage(page);
    if (help.scale < 1 && help.rendering !== 'auto') {
      throw new Error(`the help is shrunk to ${help.scale.toFixed(2)} by dropping pixels (${help.rendering})`);
    }
    await page.keyboard.press('Escape');
    await until('Esc did not close the help', async () => (await drawnWindow(page)).width === 511, 5000);
    await sleep(300);
    const after = await startOnPage(page);
    if (after.width !== 1024 || after.height !== 700 || after.scale !== big.scale) {
      throw new Error(`after the help the desktop is ${after.width} x ${after.height} at ${after.scale}x, ` +
                      `not 1024 x 700 at ${big.scale}x as before`);
    }
    await page.setViewport({ width: 480, height: 360 });
    await sleep(300);
    const small = await startOnPage(page);
    if (!(small.scale < 1) || small.rendering !== 'auto' || !startInView(small)) {
      throw new Error(`at 480 x 360 the start screen is at ${small.scale.toFixed(2)}x (${small.rendering}), ` +
                      'not shrunk smoothly into view');
    }
    console.log(`the start screen is 3x at 1920 x 1080, pixel for pixel; the help (desktop ` +
                `${help.width} x ${help.height}, ${help.scale.toFixed(2)}x, ${help.rendering}) gives the ` +
                `desktop back to 1024 x 700 when closed; at 480 x 360 it is ${small.scale.toFixed(2)}x, smooth`);
    await page.setViewport({ width: 1100, height: 760 });
    await sleep(300);

    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
    await until('Alt+Enter did not put the page in full screen',
                () => page.evaluate(() => document.fullscreenElement !== null), 3000);
    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
    await until('Alt+Enter again did not leave full screen',
                () => page.evaluate(() => document.fullscreenElement === null), 3000);
    console.log('Alt+Enter toggles the page\'s full screen');

    await sleep(500);
    await clickDesktop(page, 257 + 466 + 18, 193 + 8 + 15);  // × on the start screen
    await until('× on the start screen did not end the game with a word on the page', () =>
      page.evaluate(() => {
        const e = document.getElementById('ended');
        return e && getComputedStyle(e).display !== 'none' && /Hra skončila/.test(e.textContent);
      }), 5000);
    if (args.pictures) await page.screenshot({ path: path.join(args.pictures, 'game-ended.png') });
    const before = page.lines.length;
    await page.click('#again');
    await until('"Hrát znovu" did not start the game again',
                async () => page.lines.slice(before).some((l) => /DirectSound/.test(l)), 30000);
    const errors = page.lines.filter((l) => l.startsWith('pageerror'));
    if (errors.length) throw new Error(errors.join('\n'));
    console.log('× on the start screen says "Hra skončila"; "Hrát znovu" starts the game again');
  } finally {
    await context.close();
  }
}

// Esc until the start screen is back (No to any question on the way).
async function closeGame(page) {
  for (let k = 0; k < 5 && await gameShown(page); k++) {
    await page.keyboard.press('Escape');
    for (let t = 0; t < 10 && await gameShown(page); t++) await sleep(100);
  }
}

// The three checks run one after another in one page, then the page around the game in a page of
// its own; each is told, and a failed one does not keep the next from running. --checks names
// some of them (layout,sound,zones,page).
async function main() {
  const server = await serve(path.resolve(args.site));
  const url = `http://127.0.0.1:${server.address().port}/index.html`;
  const { browser, close } = await freshBrowser();
  let failed = 0, page;
  const chosen = (args.checks || 'layout,sound,zones,page').split(',');
  const check = async (what, run) => {
    if (!chosen.includes(what)) return;
    try {
      await run();
    } catch (e) {
      failed++;
      console.error(`FAILED (${what}):`, e.message);
      if (args.pictures) await page.screenshot({ path: path.join(args.pictures, `failed-${what}.png`) });
    }
    await closeGame(page);
  };
  try {
    page = await newPage(browser);
    await page.evaluateOnNewDocument(tapAudio);
    await page.goto(url, { waitUntil: 'load' });
    await waitForLine(page.lines, /DirectSound/, 30000);
    await sleep(300);
    await page.keyboard.press('Enter');  // "Ano": sound on
    await until('the start screen is not shown', async () => {
      const w = await drawnWindow(page);
      return w && w.width > 100 && !(await gameShown(page));
    }, 10000);
    await sleep(1000);  // the list is filled and the hover looks settle, as on the desktop
    await check('layout', () => startLayout(page));
    await check('sound', () => soundHeard(page));
    await check('zones', () => everyZone(page));
    await check('page', () => pageAround(browser, url));
  } catch (e) {
    failed++;
    console.error('FAILED:', e.message);
  } finally {
    await close().catch(() => {});
    server.close();
  }
  process.exit(failed ? 1 : 0);
}

if (require.main === module) main();
module.exports = { compareLayout, readPpm };
