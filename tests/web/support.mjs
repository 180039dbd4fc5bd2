// What the web tests share: paths, the native program, a shipped database made from the seed,
// and a seeded generator of random states.
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

export const kRoot = resolve(new URL('../..', import.meta.url).pathname);
export const kBuildWeb = process.env.TAVREL1_BUILD_WEB ?? join(kRoot, 'build-web');
export const kNativeCli = process.env.TAVREL1_NATIVE_CLI ?? join(kRoot, 'build/cli/tavrel1-cli');

let database = null;
/// A fresh database made from the shipped seed, as the native program creates it on first start.
export function shippedDatabase() {
  if (database === null) {
    const dir = mkdtempSync(join(tmpdir(), 'tavrel1-web-test-'));
    database = join(dir, 'Components.mdb');
    // One transaction: statement by statement, each insert would wait for the disk.
    const seed = readFileSync(join(kRoot, 'assets/components_seed.sql'), 'utf8');
    execFileSync('sqlite3', [database], { input: `BEGIN;\n${seed}COMMIT;\n` });
  }
  return database;
}

/// Runs the native program; {status, stdout, stderr} as bytes decoded to text.
export function native(args, input) {
  const r = spawnSync(kNativeCli, args, { input, maxBuffer: 1 << 30, env: { ...process.env, HOME: tmpdir() } });
  return { status: r.status, stdout: r.stdout.toString('utf8'), stderr: r.stderr.toString('utf8') };
}

export function haveBuilds() {
  return existsSync(join(kBuildWeb, 'tavrel1-cli.mjs')) && existsSync(kNativeCli);
}

/// A small seeded generator (mulberry32), so a failing state can be run again.
export function random(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    next,
    range: (lo, hi) => lo + (hi - lo) * next(),
    pick: (list) => list[Math.floor(next() * list.length)],
  };
}

/// A random state as entries the user could type: constants of a plausible fluid (some left
/// out), sometimes an Antoine set, the two boxes' texts (also odd ones), a two-phase click and
/// the check boxes.
export function randomState(rng) {
  const fixed = (x, d) => x.toFixed(d);
  const tc = rng.range(120, 750);
  const s = {
    name: rng.pick(['custom', 'Fluid X', 'a "quoted", name']),
    mw: rng.next() < 0.9 ? fixed(rng.range(2, 400), 3) : '',
    tc: fixed(tc, 2),
    pc: fixed(rng.range(5, 120), 3),
    vc: rng.next() < 0.9 ? fixed(rng.range(50, 900), 1) : '',
    omega: rng.next() < 0.85 ? fixed(rng.range(-0.3, 1.0), 4) : '',
    k1: rng.next() < 0.6 ? fixed(rng.range(-0.1, 0.1), 5) : '',
    k2: rng.next() < 0.4 ? fixed(rng.range(-1, 1), 4) : '',
    k3: rng.next() < 0.4 ? fixed(rng.range(0, 1), 4) : '',
    antoine: null,
    temp: '',
    press: '',
    twoPhase: '',
    hypothetical: rng.next() < 0.3,
    spherical: rng.next() < 0.2,
  };
  if (rng.next() < 0.7) {
    const b = tc * rng.range(4, 7);
    s.antoine = [fixed(rng.range(12, 17), 4), fixed(b, 3), fixed(rng.range(180, 270), 3)];
  }
  const t = (tc - 273.15) * rng.range(0.2, 1.3);
  s.temp = rng.pick([fixed(t, 2), fixed(t, 0), String(t.toExponential(3)), ` ${fixed(t, 1)} `,
    fixed(-300 + rng.range(0, 40), 1)]);
  s.press = rng.pick([fixed(rng.range(0.01, 300), 3), fixed(rng.range(0.5, 50), 1), '0', '1e-2']);
  if (rng.next() < 0.1) s.temp = rng.pick(['abc', '', '1e39', '12,5']);
  if (rng.next() < 0.05) s.press = rng.pick(['x', '']);
  if (s.antoine && rng.next() < 0.2) s.twoPhase = rng.pick(['temperature', 'pressure']);
  return s;
}

const kConstants = ['mw', 'tc', 'pc', 'vc', 'omega', 'k1', 'k2', 'k3'];

/// The state as command-line arguments.
export function stateArgs(s) {
  const args = ['--name', s.name];
  for (const k of kConstants) if (s[k] !== '') args.push(`--${k}`, s[k]);
  if (s.antoine) args.push('--antoine', s.antoine.join(','));
  args.push('--temp', s.temp, '--press', s.press);
  if (s.twoPhase) args.push('--two-phase', s.twoPhase);
  if (s.hypothetical) args.push('--hypothetical');
  if (s.spherical) args.push('--spherical');
  return args;
}

const csvField = (t) => (/[",\r\n]/.test(t) ? `"${t.replace(/"/g, '""')}"` : t);

/// The states as a batch file for the native program.
export function batchCsv(states) {
  const head = ['name', ...kConstants, 'antoine_a', 'antoine_b', 'antoine_c', 'temp', 'press',
    'two_phase', 'hypothetical', 'spherical'];
  const rows = states.map((s) => [s.name, ...kConstants.map((k) => s[k]),
    ...(s.antoine ?? ['', '', '']), s.temp, s.press, s.twoPhase, s.hypothetical ? '1' : '0',
    s.spherical ? '1' : '0'].map(csvField).join(','));
  return `${head.join(',')}\n${rows.join('\n')}\n`;
}
