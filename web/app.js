// The page: binds the controls to the C++ view model (engine.js), paints what it returns, keeps
// the state in the address and draws the diagrams. Rules and texts are the window's own.
import { ComponentCombo } from './combo.js';
import { checkCustom, fromCsv, kCustomFields, loadCustom, mergeCustom, saveCustom, toCsv }
  from './custom.js';
import { DiagramView } from './diagrams.js';
import { hasCell, kColKeys, kRowCaptions, kRowKeys, loadEngine } from './engine.js';

const $ = (id) => document.getElementById(id);
const kDiagramKeys = ['pv', 'zp', 'pt'];
const kTwoPhase = ['temperature', 'pressure'];
/// Constants in the address, in the store's order, then the Antoine set.
const kAddressConstants = ['mw', 'tc', 'pc', 'vc', 'omega', 'k1', 'k2', 'k3'];

const engine = await loadEngine();
const listed = await (await fetch('components.json')).json();
let custom = loadCustom();

const txtTemp = $('txtTemp'), txtPress = $('txtPress');
let rejecting = null; // the box whose rejected entry waits for its message box
let chosen = null; // the component item in use
let diagramTab = 0;
let diagrams = null;

// ---- the sheet ---------------------------------------------------------------------------
const cells = new Map();
$('sheetBody').replaceChildren(...kRowKeys.map((key, r) => {
  const tr = document.createElement('tr');
  const th = document.createElement('th');
  th.scope = 'row';
  th.id = `lblEOS_${r}`;
  th.textContent = kRowCaptions[r];
  tr.append(th);
  kColKeys.forEach((col, c) => {
    const td = document.createElement('td');
    if (hasCell(r, c)) {
      const out = document.createElement('output');
      out.id = `txt${col}${key}`;
      out.setAttribute('aria-labelledby', `lblEOS_${r} ${['Label8', 'lblLiq', 'lblVap', 'lblZ', 'Label10'][c]}`);
      td.append(out);
      cells.set(out.id, out);
    }
    tr.append(td);
  });
  return tr;
}));

/// The platform's blue-green-red integer as a CSS colour.
const cssColor = (bgr) => `rgb(${bgr & 255} ${(bgr >> 8) & 255} ${(bgr >> 16) & 255})`;

function paint() {
  const v = engine.view();
  const msg = $('lblStCond');
  msg.replaceChildren();
  v.message.forEach((line, i) => {
    if (i) msg.append(document.createElement('br'));
    msg.append(line);
  });
  if (txtTemp.value !== v.temp) txtTemp.value = v.temp;
  if (txtPress.value !== v.press) txtPress.value = v.press;
  $('chkStCalc').checked = v.hypothetical;
  $('chkSphMol').checked = v.spherical;
  [0, 1].forEach((i) => {
    const o = $(`optEqState_${i}`);
    o.checked = v.optSelected[i];
    o.disabled = !v.optEnabled[i];
  });
  for (const [id, [text, color]] of Object.entries(v.cells)) {
    const out = cells.get(id);
    out.value = text;
    out.style.backgroundColor = cssColor(color);
  }
  return v;
}

// ---- message box -------------------------------------------------------------------------
const dialog = $('MessageBox');
function showMessage(message, then) {
  $('MessageBoxTitle').textContent = message.title;
  $('MessageBoxPrompt').textContent = message.prompt;
  dialog.addEventListener('close', () => then?.(), { once: true });
  dialog.showModal();
}

/// Focus into a box as the window gives it: its first nine characters selected for overtyping.
function focusBox(box) {
  box.focus();
  box.setSelectionRange(0, Math.min(box.value.length, 9));
}

/// A handler's effects: the message box, then the focus move.
function applyEffects(fx, box) {
  const target = fx.focus === 'txtPress' ? txtPress : fx.focus === 'txtTemp' ? txtTemp : null;
  if (fx.message) {
    rejecting = box ?? target;
    showMessage(fx.message, () => {
      const back = rejecting;
      rejecting = null;
      if (back) focusBox(back);
    });
  } else if (target) {
    focusBox(target);
  }
}

/// Leaving a box: the window's lost-focus handler. True when the entry was taken.
function leaveBox(box) {
  const fx = box === txtTemp ? engine.tempLostFocus() : engine.pressLostFocus();
  paint();
  if (!fx.message) return true;
  applyEffects(fx, box);
  return false;
}

for (const box of [txtTemp, txtPress]) {
  box.addEventListener('input', () =>
    (box === txtTemp ? engine.setTemp : engine.setPress)(box.value));
  box.addEventListener('focus', () => {
    if (!rejecting) box.setSelectionRange(0, Math.min(box.value.length, 9));
  });
  // A move of the focus inside the page; leaving the browser window is not a move.
  box.addEventListener('blur', () => {
    if (!rejecting && document.hasFocus()) leaveBox(box);
  });
  box.addEventListener('keydown', (e) => {
    if (e.key !== 'Enter') return;
    e.preventDefault();
    if (leaveBox(box)) solve();
  });
}

// ---- controls ----------------------------------------------------------------------------
[0, 1].forEach((i) => $(`optEqState_${i}`).addEventListener('click', (e) => {
  if (rejecting) {
    e.preventDefault();
    return;
  }
  const fx = engine.optClick(i);
  paint();
  applyEffects(fx, null);
}));
for (const id of ['chkStCalc', 'chkSphMol']) {
  $(id).addEventListener('change', () => {
    if (!rejecting) engine.setChecks($('chkStCalc').checked, $('chkSphMol').checked);
    paint();
  });
}

$('frmEOS1Main').addEventListener('submit', (e) => {
  e.preventDefault();
  // A box still holding the focus (a tap does not always move it) is left first.
  if (document.activeElement === txtTemp || document.activeElement === txtPress) {
    if (!leaveBox(document.activeElement)) return;
  }
  solve();
});

function solve() {
  if (rejecting) return;
  const before = engine.view();
  const t0 = performance.now();
  engine.solve();
  const v = paint();
  document.body.dataset.solveMs = (performance.now() - t0).toFixed(2);
  writeAddress(v, before.optSelected.indexOf(true));
  drawDiagrams();
  document.body.dataset.solved = String(Number(document.body.dataset.solved ?? 0) + 1);
}

// ---- components --------------------------------------------------------------------------
const combo = new ComponentCombo($('cmbComp'), $('lstComp'), (item) => choose(item));

function listItems() {
  return [...listed.map((c) => ({ name: c.name, listed: c })),
    ...custom.map((c) => ({ name: c.name, label: `${c.name} (custom)`, custom: c }))];
}

function choose(item) {
  chosen = item;
  if (item.listed) engine.chooseListed(item.listed);
  else engine.chooseTyped(item.name, item.custom.values);
  paint();
  drawDiagrams();
}

// ---- the address -------------------------------------------------------------------------
function writeAddress(v, twoPhase) {
  const p = new URLSearchParams();
  if (chosen?.listed) {
    p.set('component', chosen.name);
  } else if (chosen?.custom) {
    p.set('name', chosen.name);
    const values = chosen.custom.values;
    kAddressConstants.forEach((k, i) => { if (values[i] !== '') p.set(k, values[i]); });
    if (values[8] !== '') p.set('antoine', values.slice(8).join(','));
  }
  p.set('temp', v.temp);
  p.set('press', v.press);
  if (v.hypothetical) p.set('hypothetical', '1');
  if (v.spherical) p.set('spherical', '1');
  if (twoPhase >= 0) p.set('twophase', kTwoPhase[twoPhase]);
  history.replaceState(null, '', `${location.pathname}?${p}`);
}

/// Opens the state a link names, solved: the component, the two boxes left in turn, the
/// two-phase click, the check boxes, then Solve, as the command line replays a state.
function readAddress() {
  const p = new URLSearchParams(location.search);
  if (![...p.keys()].length) return;
  const name = p.get('component');
  let item = null;
  if (name !== null) {
    item = listItems().find((it) => it.listed && it.name === name) ?? null;
    if (!item) {
      showMessage({ title: 'Component', prompt: `No component named "${name}" in the list.` });
      return;
    }
  } else if (kAddressConstants.some((k) => p.has(k)) || p.has('antoine')) {
    const antoine = (p.get('antoine') ?? '').split(',');
    const values = [...kAddressConstants.map((k) => p.get(k) ?? ''),
      ...(antoine.length === 3 ? antoine : ['', '', ''])];
    const custName = p.get('name') ?? 'custom';
    const why = checkCustom(custName, values, engine.isNumeric);
    if (why) {
      showMessage({ title: 'Component', prompt: why });
      return;
    }
    item = { name: custName, custom: { name: custName, values }, address: true };
  }
  if (item) {
    combo.show(item);
    choose(item);
  }
  const steps = [
    () => { txtTemp.value = p.get('temp') ?? ''; engine.setTemp(txtTemp.value); return leaveBox(txtTemp); },
    () => { txtPress.value = p.get('press') ?? ''; engine.setPress(txtPress.value); return leaveBox(txtPress); },
    () => {
      const i = kTwoPhase.indexOf(p.get('twophase'));
      if (i < 0 || $(`optEqState_${i}`).disabled) return true;
      const fx = engine.optClick(i);
      paint();
      applyEffects(fx, null);
      return !fx.message;
    },
    () => {
      engine.setChecks(p.get('hypothetical') === '1', p.get('spherical') === '1');
      paint();
      return true;
    },
  ];
  for (const step of steps) {
    if (!step()) return;
  }
  solve();
}

// ---- diagrams ----------------------------------------------------------------------------
const view = new DiagramView($('plot'), $('modelLegend'), $('lblReadout'));
const tabs = ['tabPV', 'tabZP', 'tabPT', 'tabTable', 'tabDetails'].map($);
const kTableTab = 3, kDetailsTab = 4;
const kUnitsKey = 'tavrel1.diagramUnits', kDetailsKey = 'tavrel1.detailsModel';
const unitBoxes = ['cboTempUnit', 'cboPressUnit', 'cboVolumeUnit'].map($);

function stored(key, fallback) {
  try {
    return JSON.parse(localStorage.getItem(key)) ?? fallback;
  } catch {
    return fallback;
  }
}
function store(key, value) {
  try {
    localStorage.setItem(key, JSON.stringify(value));
  } catch { /* kept for this visit only */ }
}

/// The units lists as the diagrams window offers them, the stored choice selected.
function setUpUnits() {
  const kept = stored(kUnitsKey, []);
  engine.unitChoices().forEach((q, i) => {
    const box = unitBoxes[i];
    box.replaceChildren(...q.units.map((u) => new Option(u.label, u.symbol)));
    box.value = typeof kept[i] === 'string' ? kept[i] : '';
    if (box.selectedIndex < 0) box.selectedIndex = 0;
    box.addEventListener('change', () => {
      store(kUnitsKey, unitBoxes.map((b) => b.value));
      const shown = engine.setUnits(unitBoxes.map((b) => b.value));
      if (!diagrams) return;
      diagrams = shown;
      $('lblNote').textContent = diagrams.note;
      showTab(diagramTab);
    });
  });
  engine.setUnits(unitBoxes.map((b) => b.value));
}

function drawDiagrams() {
  if (!chosen) return;
  const t0 = performance.now();
  diagrams = engine.diagrams();
  document.body.dataset.diagramsMs = (performance.now() - t0).toFixed(1);
  $('lblNote').textContent = diagrams.note;
  showTab(diagramTab);
}

function showTab(i) {
  diagramTab = i;
  tabs.forEach((t, k) => {
    t.setAttribute('aria-selected', String(k === i));
    t.tabIndex = k === i ? 0 : -1;
  });
  const plot = i < kTableTab;
  $('panelPlot').hidden = !plot;
  for (const id of ['cmdSavePng', 'cmdSaveSvg', 'cmdResetView']) $(id).disabled = !plot;
  $('panelTable').hidden = i !== kTableTab;
  $('panelDetails').hidden = i !== kDetailsTab;
  $('panelPlot').setAttribute('aria-labelledby', tabs[Math.min(i, 2)].id);
  if (!diagrams) return;
  if (plot) view.show(diagrams[kDiagramKeys[i]]);
  else if (i === kTableTab) fillTable();
  else fillDetails();
  document.body.dataset.series = String(view.seriesCount());
  document.body.dataset.models = plot
    ? String(new Set(diagrams[kDiagramKeys[i]].curves.map((c) => c.model).filter((m) => m !== null)).size)
    : '';
}

/// A table with a caption, a header row and body rows; a row's first cell is its header.
function fillGrid(table, caption, head, rows, rowClass = () => '') {
  const cap = document.createElement('caption');
  cap.textContent = caption;
  const tr = document.createElement('tr');
  tr.append(...head.map((c) => {
    const th = document.createElement('th');
    th.scope = 'col';
    th.textContent = c;
    return th;
  }));
  const thead = document.createElement('thead');
  thead.append(tr);
  const tbody = document.createElement('tbody');
  tbody.append(...rows.map((cells, r) => {
    const row = document.createElement('tr');
    const cls = rowClass(r);
    if (cls) row.className = cls;
    cells.forEach((text, k) => {
      const td = document.createElement(k === 0 ? 'th' : 'td');
      if (k === 0) td.scope = 'row';
      td.textContent = text;
      row.append(td);
    });
    return row;
  }));
  table.replaceChildren(...(caption ? [cap] : []), thead, tbody);
}

function fillTable() {
  fillGrid($('grdAnalysis'), '', ['Model', ...diagrams.columns.slice(1)], diagrams.table);
}

/// One model at the diagrams' state, as the desktop's details show it: parameters, roots with
/// tag and reason, the stable root's properties, the explanation, and the reference equation
/// of state where the component has one. In K, bar and cm3/mol whatever the units chosen.
function fillDetails() {
  const d = engine.details($('cboDetailsModel').selectedIndex);
  if (!d) return;
  $('lblDetailsState').textContent = d.heading;
  $('lblDetailsNote').textContent = d.note;
  fillGrid($('grdRoots'), 'Real roots', ['V (cm3/mol)', 'Z', 'ln φ', 'Tag', 'Reason'], d.roots,
    (i) => (d.roots[i][3] === 'stable' ? 'stable' : ''));
  fillGrid($('grdParams'), 'Parameters at T', ['Parameter', 'Value', 'Unit'], d.parameters);
  fillGrid($('grdProps'), d.stable, ['Property', 'Value', 'Unit'], d.properties);
  $('lstSteps').replaceChildren(...d.steps.map((s) => {
    const li = document.createElement('li');
    li.textContent = s;
    return li;
  }));
  const ref = d.reference;
  $('secReference').hidden = !ref;
  if (ref) {
    $('lblReferenceState').textContent = ref.status ? `The reference gives no value here: ${ref.status}.`
      : `The reference equation of state gives ${ref.phase} here. ${ref.citation}`;
    fillGrid($('grdReference'), '', ['Quantity', 'Reference', 'Unit', `${kRowCaptions[$('cboDetailsModel').selectedIndex]} deviation (%)`],
      ref.status ? [] : ref.rows);
  }
}

$('cboDetailsModel').replaceChildren(...kRowCaptions.map((c, i) => new Option(c, String(i))));
$('cboDetailsModel').selectedIndex = Math.min(Math.max(Number(stored(kDetailsKey, 4)) || 0, 0), 8);
$('cboDetailsModel').addEventListener('change', () => {
  store(kDetailsKey, $('cboDetailsModel').selectedIndex);
  if (diagrams) fillDetails();
});
setUpUnits();

tabs.forEach((t, i) => {
  t.addEventListener('click', () => showTab(i));
  t.addEventListener('keydown', (e) => {
    const step = { ArrowRight: 1, ArrowLeft: -1 }[e.key];
    if (!step) return;
    const next = (i + step + tabs.length) % tabs.length;
    tabs[next].focus();
    showTab(next);
  });
});

function download(blob, name) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(blob);
  a.download = name;
  a.click();
  setTimeout(() => URL.revokeObjectURL(a.href), 1000);
}
const fileStem = () => `tavrel1-${(chosen?.name ?? 'diagram').replace(/[^\w.-]+/g, '_')}`;
$('cmdResetView').addEventListener('click', () => view.reset());
$('cmdSavePng').addEventListener('click', async () => {
  if (diagrams && diagramTab < kTableTab) download(await view.png(), `${fileStem()}-${kDiagramKeys[diagramTab]}.png`);
});
$('cmdSaveSvg').addEventListener('click', () => {
  if (diagrams && diagramTab < kTableTab) download(view.svg(), `${fileStem()}-${kDiagramKeys[diagramTab]}.svg`);
});
$('cmdSaveCsv').addEventListener('click', () => {
  if (!diagrams) return;
  const text = engine.diagramCsv(diagramTab, view.shownMask());
  download(new Blob([text], { type: 'text/csv' }),
    `${fileStem()}-${['pv', 'zp', 'pt', 'table', 'details'][diagramTab]}.csv`);
});

// ---- custom components -------------------------------------------------------------------
const customInputs = ['mw', 'tc', 'pc', 'vc', 'omega', 'k1', 'k2', 'k3', 'antA', 'antB', 'antC']
  .map((k) => $(`txtCustom_${k}`));
function customStatus(text) {
  $('lblCustomStatus').textContent = text;
}
function refreshCustom() {
  combo.setItems(listItems());
  $('lstCustom').replaceChildren(...custom.map((c) => {
    const li = document.createElement('li');
    const use = document.createElement('button');
    use.type = 'button';
    use.textContent = `Choose ${c.name}`;
    use.addEventListener('click', () => {
      const item = listItems().find((it) => it.custom === c);
      combo.show(item);
      choose(item);
    });
    const del = document.createElement('button');
    del.type = 'button';
    del.textContent = `Delete ${c.name}`;
    del.addEventListener('click', () => {
      custom = custom.filter((o) => o !== c);
      saveCustom(custom);
      refreshCustom();
    });
    li.append(use, ' ', del);
    return li;
  }));
}
$('frmCustom').addEventListener('submit', (e) => {
  e.preventDefault();
  const name = $('txtCustomName').value.trim();
  const values = customInputs.map((i) => i.value.trim());
  const why = checkCustom(name, values, engine.isNumeric);
  if (why) {
    customStatus(why);
    return;
  }
  custom = mergeCustom(custom, [{ name, values }]);
  customStatus(saveCustom(custom) ? `${name} saved.` : `${name} is used now but could not be stored in this browser.`);
  refreshCustom();
  const item = listItems().find((it) => it.custom?.name === name);
  combo.show(item);
  choose(item);
});
$('cmdCustomExport').addEventListener('click', () =>
  download(new Blob([toCsv(custom, engine.csvRow)], { type: 'text/csv' }), 'tavrel1-custom-components.csv'));
$('fileCustomImport').addEventListener('change', async (e) => {
  const file = e.target.files[0];
  if (!file) return;
  try {
    const { rows, faults } = fromCsv(await file.text(), engine.isNumeric);
    custom = mergeCustom(custom, rows);
    saveCustom(custom);
    refreshCustom();
    customStatus(`${rows.length} imported.${faults.length ? ` ${faults.join(' ')}` : ''}`);
  } catch (err) {
    customStatus(err.message);
  }
  e.target.value = '';
});

// ---- start -------------------------------------------------------------------------------
$('lblVersion').textContent = engine.version();
refreshCustom();
readAddress();
document.body.dataset.ready = String(Math.round(performance.now()));

if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').then(() => navigator.serviceWorker.ready)
    .then(() => { $('lblOffline').hidden = false; })
    .catch(() => { /* online only; the page works the same */ });
}
