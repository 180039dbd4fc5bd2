// tavrel1-cli under node against the native program: the same bytes for the same arguments.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { join } from 'node:path';
import { describe, it, before } from 'node:test';

import { batchCsv, haveBuilds, kBuildWeb, native, random, randomState, shippedDatabase, stateArgs }
  from './support.mjs';

const kStates = Number(process.env.TAVREL1_WEB_STATES ?? 20000);
const skip = haveBuilds() ? false : 'needs build-web/ and build/cli/tavrel1-cli';

/// The node program in this process: run(args) -> {status, stdout, stderr}.
let cli = null;
async function loadInProcess() {
  const { loadCli } = await import(join(kBuildWeb, 'tavrel1-cli.mjs'));
  let out = [], err = [];
  const loaded = await loadCli((fd, bytes) => (fd === 1 ? out : err).push(Buffer.from(bytes)));
  return (args) => {
    out = [];
    err = [];
    const status = loaded.run(args);
    return { status, stdout: Buffer.concat(out).toString('utf8'), stderr: Buffer.concat(err).toString('utf8') };
  };
}

describe('tavrel1-cli under node', { skip }, () => {
  before(async () => {
    cli = await loadInProcess();
  });

  it('prints what the native program prints for Benzene at 25 C and 1 bar (own process)', () => {
    const args = ['--component', 'Benzene', '--temp', '25', '--press', '1', '--json'];
    const web = spawnSync('node', [join(kBuildWeb, 'tavrel1-cli.mjs'), ...args]);
    const nat = native(['--db', shippedDatabase(), ...args]);
    assert.equal(web.status, 0);
    assert.equal(web.stdout.toString('utf8'), nat.stdout);
    assert.match(nat.stdout, /"txtLiqPR": "87\.024"/);
  });

  it('gives the same sheet as the native program on random states (JSON)', () => {
    const rng = random(25);
    const states = Array.from({ length: kStates }, () => randomState(rng));
    const batch = native(['--batch', '-', '--format', 'json', '--jobs', '2'], batchCsv(states));
    const lines = batch.stdout.trimEnd().split('\n');
    assert.equal(lines.length, states.length);
    let differences = 0;
    states.forEach((s, i) => {
      const web = cli([...stateArgs(s), '--json']);
      // A batch row carries its line number first; a single run does not.
      const expected = lines[i].replace(/^\{"line": \d+, /, '{');
      const error = expected.match(/^\{"error": (.*)\}$/);
      const ok = error
        ? web.status === 2 && web.stdout === '' && web.stderr.replace(/^tavrel1-cli: /, '') === `${JSON.parse(error[1])}\n`
        : web.status === 0 && web.stdout === `${expected}\n`;
      if (!ok && ++differences <= 3)
        assert.fail(`state ${i}: ${JSON.stringify(stateArgs(s))}\nnative ${expected}\nnode   ${web.stdout}${web.stderr}`);
    });
    assert.equal(differences, 0);
  });

  it('prints the same table and CSV, byte for byte, as separate native runs', () => {
    const rng = random(2025);
    for (let i = 0; i < 150; ++i) {
      const args = [...stateArgs(randomState(rng)), ...(i % 2 ? ['--format', 'csv'] : [])];
      const web = cli(args), nat = native(args);
      assert.deepEqual(web, nat, JSON.stringify(args));
    }
  });

  it('knows every shipped component as the database does', () => {
    const list = native(['--db', shippedDatabase(), '--list']);
    assert.deepEqual(cli(['--list']), list);
    const names = list.stdout.trimEnd().split('\n');
    assert.equal(names.length, 742);
    // Two states a component: a liquid one and one on the saturation line where it has Antoine
    // coefficients, so every constant and every coefficient is read.
    const rows = names.flatMap((n) => [[n, '25', '1', ''], [n, '0', '1', 'temperature']]);
    const csv = `component,temp,press,two_phase\n${rows.map((r) => r.map((f) => (/[",]/.test(f) ? `"${f.replace(/"/g, '""')}"` : f)).join(',')).join('\n')}\n`;
    const batch = native(['--db', shippedDatabase(), '--batch', '-', '--format', 'json'], csv);
    const lines = batch.stdout.trimEnd().split('\n');
    rows.forEach(([name, temp, press, twoPhase], i) => {
      const args = ['--component', name, '--temp', temp, '--press', press, '--json',
        ...(twoPhase ? ['--two-phase', twoPhase] : [])];
      const web = cli(args);
      const expected = lines[i].replace(/^\{"line": \d+, /, '{');
      const error = expected.match(/^\{"error": (.*)\}$/);
      if (error) assert.equal(web.stderr.replace(/^tavrel1-cli: /, ''), `${JSON.parse(error[1])}\n`, name);
      else assert.equal(web.stdout, `${expected}\n`, name);
    });
  });

  it('refuses what the native program refuses, with its words and status', () => {
    const cases = [
      ['a temperature that is no number', ['--tc', '500', '--pc', '40', '--temp', 'abc', '--press', '1']],
      ['a pressure that is no number', ['--tc', '500', '--pc', '40', '--temp', '25', '--press', '1,5']],
      ['an unknown option', ['--tc', '500', '--frobnicate']],
      ['a missing value', ['--tc']],
      ['constants beside a component', ['--component', 'Benzene', '--tc', '500', '--temp', '1', '--press', '1']],
      ['a two-phase click without Antoine coefficients', ['--tc', '500', '--temp', '25', '--press', '1', '--two-phase', 'pressure']],
      ['help', ['--help']],
      ['version', ['--version']],
    ];
    for (const [name, args] of cases) assert.deepEqual(cli(args), native(args), name);
    const unknown = ['--component', 'No such fluid', '--temp', '1', '--press', '1'];
    assert.deepEqual(cli(unknown), native(['--db', shippedDatabase(), ...unknown]));
  });

  it('says what it cannot do instead of doing something else', () => {
    for (const args of [['--db', 'x.mdb', '--list'], ['--batch', '-'], ['--tc', '500', '--temp-range', '0:10:1', '--press', '1']]) {
      const r = cli(args);
      assert.equal(r.status, 2, args.join(' '));
      assert.equal(r.stdout, '');
      assert.match(r.stderr, /^tavrel1-cli: .*(edition|shipped list)/);
    }
  });

  it('gives the analysis of the native program within the maths libraries\' last bits', () => {
    // The two builds' cbrt, acos, exp, log and pow (glibc, musl) may differ in the last bit;
    // the analysis iterates on them, so its doubles agree to 1e-11 relative, not exactly. The
    // sheet in the same output is compared exactly.
    const kTolerance = 1e-11;
    let largest = 0;
    const close = (a, b, path) => {
      if (typeof a === 'number' && typeof b === 'number') {
        if (a !== b) largest = Math.max(largest, Math.abs(a - b) / Math.max(Math.abs(a), Math.abs(b)));
        assert.ok(Math.abs(a - b) <= kTolerance * Math.max(Math.abs(a), Math.abs(b), 1e-300), `${path}: ${a} vs ${b}`);
      } else if (a && typeof a === 'object') {
        assert.deepEqual(Object.keys(a), Object.keys(b), path);
        for (const k of Object.keys(a)) close(a[k], b[k], `${path}.${k}`);
      } else {
        assert.equal(a, b, path);
      }
    };
    const rng = random(7);
    let compared = 0;
    for (let i = 0; i < 300; ++i) {
      const s = randomState(rng);
      s.temp = ((Number(s.tc) - 273.15) * rng.range(0.5, 0.98)).toFixed(2);
      const args = [...stateArgs(s), '--analysis', '--json'];
      const web = cli(args), nat = native(args);
      assert.equal(web.status, nat.status);
      if (nat.status !== 0) continue;
      const w = JSON.parse(web.stdout), n = JSON.parse(nat.stdout);
      assert.deepEqual(w.cells, n.cells);
      close(w.analysis, n.analysis, 'analysis');
      ++compared;
    }
    assert.ok(compared > 200);
    console.log(`# analysis: largest relative difference ${largest.toExponential(2)} in ${compared} states`);
  });
});
