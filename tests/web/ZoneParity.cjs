// ZoneParity.cjs — the WebAssembly zone tool plays every zone as the native one does: each zone of
// every set with its winning run, and generated zones under random keys, give byte-identical
// reports (with the board), errors and exit statuses. The rules compute with doubles; a difference
// in the last bit of a position shows here as a different report.
// The zones folder is a set (its runs are in --solutions), and each of its subfolders a set of its
// own whose every zone has its author's run beside it (NN-name.keys by NN-name.qrn): a zone there
// without one fails the test.
//   node --no-experimental-fetch ZoneParity.cjs --native BIN --wasm quarn-zone.js
//        --zones DIR --solutions DIR [--generated N] [--seed S] [--work DIR]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

function parseArgs(argv) {
  const o = { generated: 1000, seed: 28 };
  for (let i = 0; i < argv.length; i += 2) {
    const key = argv[i].replace(/^--/, '');
    if (argv[i + 1] === undefined) throw new Error(`${argv[i]} needs a value`);
    o[key] = argv[i + 1];
  }
  for (const k of ['native', 'wasm', 'zones', 'solutions']) {
    if (!o[k]) throw new Error(`--${k} is missing`);
  }
  o.generated = Number(o.generated);
  o.seed = Number(o.seed);
  return o;
}

// A small generator of our own (mulberry32): the same zones on every machine.
function Rng(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const int = (lo, hi) => lo + Math.floor(next() * (hi - lo + 1));
  return { next, int, pick: (list) => list[int(0, list.length - 1)] };
}

// A zone as a hand might write it: every tile, enemies of all kinds at many speeds, odd steps per
// cell (the positions divide by them), laser patterns, CRLF now and then, short and long rows.
function generatedZone(rng) {
  const w = rng.int(3, 48), h = rng.int(3, 36);
  const eol = rng.int(0, 9) < 2 ? '\r\n' : '\n';
  const tiles = '.........WWWWSEO?QRRCDKB+-*abcT';
  const patterns = ['01', '0', '', '"0,1"', '0011', '1', '000111000', '0110100111'];
  let text = rng.pick(['"Zkouška, druhá"', 'Prostý název', 'Pláň']) + eol;
  text += `${w}${eol}${h}${eol}${rng.int(1, 16)}${eol}`;
  for (let k = 0; k < 3; k++) text += `${rng.int(1, 40)}${eol}`;
  for (let g = 0; g < 3; g++) text += rng.pick(patterns) + eol;
  let enemies = 0;
  const walled = rng.int(0, 1) === 0;
  for (let y = 0; y < h; y++) {
    const length = rng.int(0, 99) < 10 ? rng.int(1, w + 4) : w;
    let row = '';
    for (let x = 0; x < length; x++) {
      let c = rng.pick(tiles);
      if (walled && (x === 0 || y === 0 || x === w - 1 || y === h - 1)) c = 'W';
      if ('+-*'.includes(c) && ++enemies > 40) c = '.';
      row += c;
    }
    text += row + eol;
  }
  return text;
}

// Random keys: arrows alone or together, the space bar, now and then Enter or Ctrl+R.
function randomKeys(rng) {
  const lines = ['# generated'];
  const count = rng.int(5, 40);
  for (let i = 0; i < count; i++) {
    const roll = rng.int(0, 99);
    let keys = [];
    if (roll < 3) keys = ['ctrl', 'r'];
    else if (roll < 8) keys = ['enter'];
    else if (roll >= 12) {
      for (const k of ['left', 'up', 'right', 'down']) if (rng.next() < 0.35) keys.push(k);
      if (rng.next() < 0.2) keys.push('space');
    }
    lines.push(`${rng.int(1, 150)} ${keys.length ? keys.join('+') : '-'}`);
  }
  return lines.join('\n') + '\n';
}

// The zones of a folder as the game lists them: files named *.qrn in any letter case, by name.
const byName = (a, b) => Buffer.compare(Buffer.from(a), Buffer.from(b));
function zoneNames(folder) {
  return fs.readdirSync(folder, { withFileTypes: true })
      .filter((e) => /\.qrn$/i.test(e.name) && fs.statSync(path.join(folder, e.name)).isFile())
      .map((e) => e.name).sort(byName);
}
// A folder's sets of its own: its folders (or links to them) whose names do not begin with a dot.
function subfolders(folder) {
  return fs.readdirSync(folder)
      .filter((name) => !name.startsWith('.') && !/\.qrn$/i.test(name) &&
                        fs.statSync(path.join(folder, name), { throwIfNoEntry: false })?.isDirectory())
      .sort(byName);
}
const runName = (zoneName) => zoneName.replace(/\.qrn$/i, '.keys');

function runNative(bin, args) {
  const r = spawnSync(bin, args, { encoding: 'latin1', maxBuffer: 64 << 20 });
  if (r.error) throw r.error;
  return { status: r.status, stdout: r.stdout, stderr: r.stderr };
}

// One compiled module, a fresh instance for every run: no state leaks from one play to the next.
// The module writes to the real descriptors 1 and 2 (NODERAWFS): those writes are taken here, as
// bytes, while it runs.
async function wasmRunner(jsPath) {
  const factory = require(path.resolve(jsPath));
  const wasmPath = path.resolve(jsPath).replace(/\.js$/, '.wasm');
  const compiled = await WebAssembly.compile(fs.readFileSync(wasmPath));
  const realWriteSync = fs.writeSync;
  return async (args) => {
    const out = { 1: [], 2: [] };
    let status = null;
    const module = await factory({
      instantiateWasm(imports, done) {
        WebAssembly.instantiate(compiled, imports).then((instance) => done(instance, compiled),
          (e) => { console.error('the module could not be instantiated:', e); process.exit(1); });
        return {};
      },
      quit: (code, toThrow) => { status = code; throw toThrow; },
    });
    // Each instance hooks the process's error events for itself; those of the last one go.
    process.removeAllListeners('uncaughtException');
    process.removeAllListeners('unhandledRejection');
    fs.writeSync = function (fd, buffer, offset, length, ...rest) {
      if (fd !== 1 && fd !== 2) return realWriteSync.call(fs, fd, buffer, offset, length, ...rest);
      const bytes = Buffer.from(buffer.buffer ? buffer : Buffer.from(buffer));
      const from = offset || 0;
      const count = length === undefined ? bytes.length - from : length;
      out[fd].push(Buffer.from(bytes.subarray(from, from + count)));
      return count;
    };
    try {
      const returned = module.callMain(args);
      if (status === null) status = returned;
    } catch (e) {
      if (!(e && e.name === 'ExitStatus')) throw e;
      status = e.status;
    } finally {
      module._fflush(0);
      fs.writeSync = realWriteSync;
    }
    return {
      status,
      stdout: Buffer.concat(out[1]).toString('latin1'),
      stderr: Buffer.concat(out[2]).toString('latin1'),
    };
  };
}

async function main() {
  const o = parseArgs(process.argv.slice(2));
  const work = o.work || fs.mkdtempSync(path.join(os.tmpdir(), 'quarn-parity-'));
  fs.mkdirSync(work, { recursive: true });
  const runWasm = await wasmRunner(o.wasm);

  const cases = [];
  const played = (zone, keys, label) => {
    cases.push({ label, args: ['play', zone, '--keys', keys, '--board'] });
    cases.push({ label: label + ' (yes)', args: ['play', zone, '--keys', keys, '--answer', 'yes'] });
  };
  let solutions = 0;
  for (const name of zoneNames(o.zones)) {
    const keys = path.join(o.solutions, runName(name));
    if (!fs.existsSync(keys)) continue;
    played(path.join(o.zones, name), keys, name);
    solutions++;
  }
  // The subfolder sets: every zone with the run beside it.
  const sets = [];
  const runless = [];
  for (const folder of subfolders(o.zones)) {
    const names = zoneNames(path.join(o.zones, folder));
    for (const name of names) {
      const zone = path.join(o.zones, folder, name);
      const keys = path.join(o.zones, folder, runName(name));
      if (!fs.statSync(keys, { throwIfNoEntry: false })?.isFile()) {
        runless.push(`${folder}/${name}`);
        continue;
      }
      played(zone, keys, `${folder}/${name}`);
    }
    sets.push(`${folder} ${names.length}`);
  }
  const setZones = cases.length / 2 - solutions;
  const rng = Rng(o.seed);
  for (let i = 0; i < o.generated; i++) {
    const zone = path.join(work, `g${i}.qrn`);
    const keys = path.join(work, `g${i}.keys`);
    fs.writeFileSync(zone, generatedZone(rng), 'utf8');
    fs.writeFileSync(keys, randomKeys(rng));
    cases.push({ label: `generated ${i} (${zone})`, args: ['play', zone, '--keys', keys, '--board'] });
  }

  let failed = 0, ran = 0, wins = 0;
  for (const [index, c] of cases.entries()) {
    // Each instance reserves a large address range; the collector is asked now and then to give
    // back those of finished runs (run with --expose-gc), before the reservations run out.
    if (global.gc && index % 20 === 0) global.gc();
    const native = runNative(o.native, c.args);
    // A run that never comes back (no instance could be made) fails the test instead of hanging.
    let timer;
    const wasm = await Promise.race([
      runWasm(c.args),
      new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error(`no answer from the wasm run of ${c.label}`)), 120000);
      }),
    ]);
    clearTimeout(timer);
    if (native.status === 0) ran++;
    if (/"wins": [1-9]/.test(native.stdout)) wins++;
    for (const field of ['status', 'stdout', 'stderr']) {
      if (native[field] !== wasm[field]) {
        failed++;
        console.error(`DIFFERENT ${field}: ${c.label}\n  native: ${String(native[field]).slice(0, 400)}\n` +
                      `  wasm:   ${String(wasm[field]).slice(0, 400)}`);
        break;
      }
    }
  }
  console.log(`${cases.length} plays (${solutions} zones of ${o.zones}/ and ${setZones} of its ` +
              `subfolder sets [${sets.join(', ') || 'none'}] twice, ${o.generated} generated); ` +
              `${ran} ran, ${wins} won; ${failed} different`);
  let bad = failed > 0;
  if (solutions < 20) {
    console.error('fewer than 20 shipped zones with solutions');
    bad = true;
  }
  for (const zone of runless) {
    console.error(`${path.join(o.zones, zone)} has no run beside it (${runName(path.basename(zone))})`);
    bad = true;
  }
  if (!o.work) fs.rmSync(work, { recursive: true, force: true });
  process.exit(bad ? 1 : 0);
}

main().catch((e) => { console.error(e); process.exit(1); });
