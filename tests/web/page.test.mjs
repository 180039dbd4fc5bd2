// The page in headless Chromium, used as a person would: keys and clicks, then the cells read
// back and held against the native program.
import assert from 'node:assert/strict';
import { existsSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, it } from 'node:test';

import { launch, serve } from './browser.mjs';
import { haveBuilds, kBuildWeb, kRoot, native, shippedDatabase } from './support.mjs';

const skip = haveBuilds() && existsSync(process.env.CHROMIUM ?? '/usr/bin/chromium')
  ? false : 'needs build-web/, build/cli/tavrel1-cli and chromium';

/// The 39 cells of the page as {name: text}, and the message's lines.
const readSheet = `(() => {
  const cells = {};
  document.querySelectorAll('#sheet output').forEach((o) => { cells[o.id] = o.value; });
  const message = [...document.getElementById('lblStCond').childNodes]
    .filter((n) => n.nodeType === 3).map((n) => n.textContent);
  return { cells, message };
})()`;

/// What the native program shows for the same entries.
function nativeSheet(args) {
  const r = native(['--db', shippedDatabase(), ...args, '--json']);
  assert.equal(r.status, 0, r.stderr);
  const j = JSON.parse(r.stdout);
  return { cells: j.cells, message: j.message.split('\r\n') };
}

describe('the page', { skip }, () => {
  let server, browser, page;
  before(async () => {
    server = await serve(kBuildWeb);
    browser = await launch();
    page = browser.page;
  });
  after(async () => {
    await browser?.close();
    await server?.close();
  });

  const open = async (query = '') => {
    await page.goto(`${server.url}index.html${query}`);
    await page.waitFor('document.body.dataset.ready');
  };
  const focus = (id) => page.eval(`document.getElementById('${id}').focus()`);

  it('solves Benzene at 25 C and 1 bar typed by hand, cell for cell as the native program', async () => {
    await open();
    await page.click('#cmbComp');
    await page.type('benzene');
    await page.press('Tab'); // a name typed in full, any case, is taken
    assert.equal(await page.eval("document.getElementById('cmbComp').value"), 'Benzene');
    assert.equal(await page.eval('document.activeElement.id'), 'cmdSolve');
    await page.click('#txtTemp');
    await page.type('25');
    await page.press('Tab');
    await page.type('1');
    await page.click('#cmdSolve');
    await page.waitFor('document.body.dataset.solved');
    const sheet = await page.eval(readSheet);
    assert.equal(Object.keys(sheet.cells).length, 39);
    assert.deepEqual(sheet, nativeSheet(['--component', 'Benzene', '--temp', '25', '--press', '1']));
    assert.equal(await page.eval('location.search'), '?component=Benzene&temp=25&press=1');
    const ms = Number(await page.eval('document.body.dataset.solveMs'));
    console.log(`# solve in the page: ${ms} ms`);
  });

  it('takes the only name that matches a part, and keeps the component in use for any other text', async () => {
    const cases = [
      ['the only match of a part', 'krypt', 'Krypton'],
      ['no match: the component in use stays', 'zzzz', 'Benzene'],
      ['several matches: the component in use stays', 'ethyl', 'Benzene'],
    ];
    for (const [name, typed, expected] of cases) {
      await open('?component=Benzene&temp=25&press=1');
      await page.click('#cmbComp'); // selects the whole name for overtyping
      await page.type(typed);
      await page.press('Tab');
      assert.equal(await page.eval("document.getElementById('cmbComp').value"), expected, name);
    }
  });

  it('rejects a bad temperature with the window\'s message, empties the box and returns to it', async () => {
    const texts = [['letters', 'abc'], ['a decimal comma', '12,5'], ['beyond a float', '1e39'],
      ['empty', '']];
    for (const [name, text] of texts) {
      await open('?component=Benzene&temp=25&press=1');
      await focus('txtTemp');
      await page.eval("document.getElementById('txtTemp').select()");
      if (text) await page.type(text);
      else await page.press('Backspace');
      await page.click('#cmdSolve'); // the click leaves the box first
      await page.waitFor("document.getElementById('MessageBox').open").catch(() => assert.fail(name));
      assert.deepEqual(await page.eval(`[document.getElementById('MessageBoxTitle').textContent,
        document.getElementById('MessageBoxPrompt').textContent, document.getElementById('txtTemp').value,
        document.body.dataset.solved]`), ['Temperature ERROR', 'Invalid or Incorrect Temperature', '', '1'], name);
      await page.press('Enter'); // OK
      await page.waitFor("!document.getElementById('MessageBox').open");
      await page.waitFor("document.activeElement.id === 'txtTemp'");
    }
  });

  it('opens the state a link names, solved, as the command line computes it', async () => {
    const cases = [
      ['PR liquid of the acceptance check', '?component=Benzene&temp=25&press=1', ['--component', 'Benzene', '--temp', '25', '--press', '1']],
      ['a two-phase click on temperature', '?component=Propane&temp=25&press=1&twophase=temperature',
        ['--component', 'Propane', '--temp', '25', '--press', '1', '--two-phase', 'temperature']],
      ['a two-phase click on pressure', '?component=Water&temp=50&press=2&twophase=pressure',
        ['--component', 'Water', '--temp', '50', '--press', '2', '--two-phase', 'pressure']],
      ['hypothetical and spherical', '?component=Methane&temp=-100&press=20&hypothetical=1&spherical=1',
        ['--component', 'Methane', '--temp', '-100', '--press', '20', '--hypothetical', '--spherical']],
      ['custom constants', '?name=Mine&tc=369.8&pc=42.48&omega=0.152&temp=26.85&press=5&hypothetical=1',
        ['--name', 'Mine', '--tc', '369.8', '--pc', '42.48', '--omega', '0.152', '--temp', '26.85', '--press', '5', '--hypothetical']],
      ['custom with Antoine coefficients', '?tc=562&pc=49&vc=256&omega=0.21&antoine=13.78,2726.8,217.57&temp=80&press=1',
        ['--tc', '562', '--pc', '49', '--vc', '256', '--omega', '0.21', '--antoine', '13.78,2726.8,217.57', '--temp', '80', '--press', '1']],
    ];
    for (const [name, query, args] of cases) {
      await open(query);
      assert.deepEqual(await page.eval(readSheet), nativeSheet(args), name);
    }
    await open('?component=Benzene&temp=25&press=1');
    assert.equal(await page.eval("document.getElementById('txtLiqPR').value"), '87.024');
    // Measured, never asserted: the machine is shared.
    console.log(`# opened solved, diagrams drawn: ${await page.eval('document.body.dataset.ready')} ms ` +
      `after navigation; diagrams ${await page.eval('document.body.dataset.diagramsMs')} ms`);
  });

  it('draws each diagram with the nine models, and the table', async () => {
    await open('?component=Benzene&temp=25&press=1');
    // The virial equation has no phase split, so no vapour-pressure curve of its own.
    for (const [tab, models] of [['tabPV', '9'], ['tabZP', '9'], ['tabPT', '8']]) {
      await page.click(`#${tab}`);
      assert.equal(await page.eval("!!document.querySelector('#plot canvas')"), true, tab);
      assert.equal(await page.eval('document.body.dataset.models'), models, tab);
    }
    await page.click('#tabTable');
    assert.equal(await page.eval("document.querySelectorAll('#grdAnalysis tbody tr').length"), 9);
  });

  it('converts the table into the chosen units, through a reload, and back', async () => {
    const cellOf = (column) => `(() => {
      const heads = [...document.querySelectorAll('#grdAnalysis thead th')].map((h) => h.textContent);
      const at = heads.findIndex((h) => h.startsWith(${JSON.stringify(column)}));
      const pr = document.querySelectorAll('#grdAnalysis tbody tr')[4];
      return [heads[at], pr.children[at].textContent];
    })()`;
    const choose = (box, symbol) => page.eval(`(() => { const s = document.getElementById('${box}');
      s.value = '${symbol}'; s.dispatchEvent(new Event('change')); })()`);
    const cases = [
      // [what, list, unit, column, heading in that unit, from the own unit's number]
      ['pressure in psia', 'cboPressUnit', 'psia', 'Model Psat', 'Model Psat (psia)', (bar) => bar * 64.516 / 4.4482216152605],
      ['volume in L/mol', 'cboVolumeUnit', 'L/mol', 'Stable V', 'Stable V (L/mol)', (cm3) => cm3 / 1000],
      ['temperature in °F', 'cboTempUnit', 'F', 'Model critical point', 'Model critical point (T, P, V)', (k) => k * 1.8 - 459.67],
    ];
    await open();
    await page.eval("localStorage.removeItem('tavrel1.diagramUnits')");
    for (const [name, box, symbol, column, heading, convert] of cases) {
      await open('?component=Benzene&temp=25&press=1');
      await page.click('#tabTable');
      const [, own] = await page.eval(cellOf(column));
      await choose(box, symbol);
      for (const when of ['chosen', 'after a reload']) {
        const [head, shown] = await page.eval(cellOf(column));
        assert.equal(head, heading, `${name}, ${when}`);
        const expected = convert(parseFloat(own));
        assert.ok(Math.abs(parseFloat(shown) - expected) <= 1e-5 * Math.abs(expected),
          `${name}, ${when}: ${shown} for ${own} (expected ${expected})`);
        await open('?component=Benzene&temp=25&press=1');
        await page.click('#tabTable');
      }
      await choose(box, ''); // the diagrams' own unit again
      assert.equal((await page.eval(cellOf(column)))[1], own, `${name}, back`);
    }
  });

  it('explains a model at the state: its roots tagged, the stable one\'s properties', async () => {
    // Hypothetical volumes: the sheet then shows the virial and Dieterici vapour too.
    await open('?component=Benzene&temp=25&press=1&hypothetical=1');
    await page.click('#tabDetails');
    const read = `(() => {
      const rows = [...document.querySelectorAll('#grdRoots tbody tr')];
      const ref = [...document.querySelectorAll('#grdReference tbody tr')][0];
      return { tags: rows.map((r) => r.children[3].textContent),
        stable: rows.findIndex((r) => r.classList.contains('stable')),
        stableV: rows.filter((r) => r.classList.contains('stable')).map((r) => r.children[0].textContent)[0],
        units: [...document.querySelectorAll('#grdProps tbody td:nth-child(3)')].map((c) => c.textContent),
        references: document.getElementById('panelDetails').textContent.split('ideal gas at the same T and P').length - 1,
        steps: document.querySelectorAll('#lstSteps li').length,
        reference: document.getElementById('secReference').hidden ? null
          : [document.getElementById('lblReferenceState').textContent, ref.children[1].textContent, ref.children[3].textContent] };
    })()`;
    const cases = [
      // [model row, tags ascending in V, the stable root's sheet cell]
      ['Peng-Robinson', 4, ['stable', 'unstable', 'metastable'], 'txtLiqPR'],
      ['Virial Eq.', 0, ['unphysical', 'unstable', 'stable'], 'txtVapVir'],
      ['Dieterici EOS', 8, ['stable'], 'txtVapDEOS'],
    ];
    for (const [name, row, tags, cell] of cases) {
      await page.eval(`(() => { const s = document.getElementById('cboDetailsModel');
        s.selectedIndex = ${row}; s.dispatchEvent(new Event('change')); })()`);
      const d = await page.eval(read);
      assert.deepEqual(d.tags, tags, name);
      assert.equal(d.stable, tags.indexOf('stable'), name);
      const sheetV = parseFloat(await page.eval(`document.getElementById('${cell}').value`));
      assert.ok(Math.abs(parseFloat(d.stableV) - sheetV) < 1e-4 * sheetV, `${name}: ${d.stableV} vs ${sheetV}`);
      for (const unit of ['J/mol', 'J/(mol·K)', '1/K', '1/bar']) assert.ok(d.units.includes(unit), `${name}: ${unit}`);
      assert.equal(d.references, 1, `${name}: the reference state said once`);
      assert.ok(d.steps > 4, name);
      // The reference's liquid, and this model's deviation from it, not another model's.
      const [phase, refV, deviation] = d.reference;
      assert.match(phase, /gives liquid/, name);
      const expected = ((parseFloat(d.stableV) - parseFloat(refV)) / parseFloat(refV)) * 100;
      assert.ok(Math.abs(parseFloat(deviation) - expected) < 1e-3 * Math.max(1, Math.abs(expected)),
        `${name}: ${deviation} % for ${d.stableV} against ${refV}`);
    }
    await page.viewport(390, 844, true);
    assert.ok(await page.eval('document.documentElement.scrollWidth <= 390'), 'no sideways scroll on a phone');
    await page.viewport(1280, 800);
  });

  it('keeps custom components in the browser and reads back its own CSV', async () => {
    await open();
    await page.eval("localStorage.clear()");
    await open();
    const fields = { txtCustomName: 'My, "fluid"', txtCustom_tc: '500', txtCustom_pc: '40', txtCustom_omega: '0.2' };
    for (const [id, text] of Object.entries(fields)) {
      await focus(id);
      await page.type(text);
    }
    await page.click('#cmdCustomSave');
    assert.equal(await page.eval("document.getElementById('cmbComp').value"), 'My, "fluid"');
    await open(); // a new visit keeps it
    const stored = await page.eval("JSON.parse(localStorage.getItem('tavrel1.customComponents'))");
    assert.deepEqual(stored.map((c) => c.name), ['My, "fluid"']);
    const roundTrip = await page.eval(`(async () => {
      const c = await import('./custom.js');
      const rows = c.loadCustom();
      const csv = c.toCsv(rows, (f) => f.map((x) => /[",\\n]/.test(x) ? '"' + x.replace(/"/g, '""') + '"' : x).join(',') + '\\n');
      return JSON.stringify(c.fromCsv(csv, (t) => !isNaN(Number(t))).rows) === JSON.stringify(rows);
    })()`);
    assert.equal(roundTrip, true);
  });

  it('works offline once loaded', async () => {
    await open('?component=Benzene&temp=25&press=1');
    await page.waitFor("!document.getElementById('lblOffline').hidden");
    await page.waitFor('navigator.serviceWorker.controller !== null || (location.reload(), false)', 15000);
    await server.close();
    await page.goto(`${server.url}index.html?component=Propane&temp=0&press=10`);
    await page.waitFor('document.body.dataset.ready');
    assert.notEqual(await page.eval("document.getElementById('txtLiqPR').value"), '');
    server = await serve(kBuildWeb);
  });

  it('takes screenshots at desktop and phone size', { skip: !process.env.TAVREL1_WEB_SHOTS }, async () => {
    for (const [w, h, file] of [[1280, 800, 'web-desktop.png'], [390, 844, 'web-phone.png']]) {
      await page.viewport(w, h, w < 600);
      await open('?component=Benzene&temp=25&press=1&hypothetical=1');
      await new Promise((r) => setTimeout(r, 300));
      writeFileSync(join(kRoot, 'docs/screenshots', file), await page.screenshot());
    }
    // The diagrams area in °F and psia, then the model details.
    await page.eval("localStorage.setItem('tavrel1.diagramUnits', JSON.stringify(['F', 'psia', '']))");
    for (const [w, h, kind] of [[1280, 800, 'desktop'], [390, 844, 'phone']]) {
      await page.viewport(w, h, w < 600);
      await open('?component=Benzene&temp=25&press=1&hypothetical=1');
      for (const [tab, file] of [['tabPV', `web-units-${kind}.png`], ['tabDetails', `web-details-${kind}.png`]]) {
        await page.click(`#${tab}`);
        await page.eval("document.getElementById('hdrDiagrams').scrollIntoView()");
        await new Promise((r) => setTimeout(r, 300));
        writeFileSync(join(kRoot, 'docs/screenshots', file), await page.screenshot());
      }
    }
    await page.eval("localStorage.removeItem('tavrel1.diagramUnits')");
    await page.viewport(1280, 800);
  });

  it('reported no script error', () => {
    assert.deepEqual(page.errors, []);
  });
});
