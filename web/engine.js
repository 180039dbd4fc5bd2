// The calculator's C++ core (tavrel1.wasm) behind plain functions. Every rule, message and
// number the page shows comes from here; the page only paints.
import createTavrel1 from './tavrel1.mjs';

export const kRowKeys = ['Vir', 'VDW', 'RK', 'SRK', 'PR', 'PRSV1', 'PRSV2', 'ESD', 'DEOS'];
export const kRowCaptions = ['Virial Eq.', 'Van der Waals', 'Redlich-Kwong',
  'Soave-Redlich-Kwong', 'Peng-Robinson', 'PR-Stryjek-Vera 1', 'PR-Stryjek-Vera 2',
  'Elliott-Suresh-Donohue', 'Dieterici EOS'];
export const kColKeys = ['SG', 'Liq', 'Vap', 'Z', 'VD'];
/// The virial, ESD and Dieterici rows have no liquid cells.
export function hasCell(row, col) {
  const liquidCells = row !== 0 && row !== 7 && row !== 8;
  return liquidCells || (col !== 0 && col !== 1);
}

export async function loadEngine() {
  const m = await createTavrel1();
  const json = (fn, types = [], args = []) => JSON.parse(m.ccall(fn, 'string', types, args));
  return {
    version: () => m.ccall('t1_version', 'string', [], []),
    chooseListed(c) {
      const values = [...c.constants, ...(c.antoine ?? [null, null, null])]
        .map((v) => (v === null ? NaN : v));
      const ptr = m._malloc(8 * values.length);
      m.HEAPF64.set(values, ptr >> 3);
      try {
        m.ccall('t1_choose_listed', null, ['string', 'number', 'number', 'number', 'number'],
          [c.name, ptr, c.antoine ? 1 : 0, c.range ? c.range[0] : NaN, c.range ? c.range[1] : NaN]);
      } finally {
        m._free(ptr);
      }
    },
    /// texts: the eleven constants' texts ('' when not given); 0 or the position refused.
    chooseTyped: (name, texts) =>
      m.ccall('t1_choose_typed', 'number', ['string', 'string'], [name, texts.join('\n')]),
    isNumeric: (text) => m.ccall('t1_is_numeric', 'number', ['string'], [text]) === 1,
    csvRow: (fields) => m.ccall('t1_csv_row', 'string', ['string'], [fields.join('\x1f')]),
    setTemp: (text) => m.ccall('t1_set_temp', null, ['string'], [text]),
    setPress: (text) => m.ccall('t1_set_press', null, ['string'], [text]),
    setChecks: (hyp, sph) => m.ccall('t1_set_checks', null, ['number', 'number'], [hyp ? 1 : 0, sph ? 1 : 0]),
    tempLostFocus: () => json('t1_temp_lost_focus'),
    pressLostFocus: () => json('t1_press_lost_focus'),
    optClick: (index) => json('t1_opt_click', ['number'], [index]),
    solve: () => m.ccall('t1_solve', null, [], []),
    view: () => json('t1_view'),
    diagrams: () => json('t1_diagrams'),
    /// The units offered by quantity, each list led by the diagrams' own (symbol '').
    unitChoices: () => json('t1_unit_choices'),
    /// Three unit symbols (temperature, pressure, molar volume); the last diagrams in them.
    setUnits: (symbols) => json('t1_set_units', ['string'], [symbols.join('\n')]),
    /// One model (a sheet row) at the diagrams' state; null before any diagram.
    details: (row) => json('t1_details', ['number'], [row]),
    diagramCsv: (which, shownMask) =>
      m.ccall('t1_diagram_csv', 'string', ['number', 'number'], [which, shownMask]),
  };
}
