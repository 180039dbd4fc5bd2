// Custom components: typed constants kept in this browser's local storage, exported and imported
// as CSV with the columns of tavrel1-cli --batch (name, mw, tc, pc, vc, omega, k1, k2, k3,
// antoine_a, antoine_b, antoine_c).
export const kCustomFields = ['mw', 'tc', 'pc', 'vc', 'omega', 'k1', 'k2', 'k3',
  'antoine_a', 'antoine_b', 'antoine_c'];
export const kFieldCaptions = ['MolWt', 'CritTemp', 'CritPress', 'CritVol', 'AcentricF', 'K1',
  'K2', 'K3', 'AntA', 'AntB', 'AntC'];
const kStorageKey = 'tavrel1.customComponents';

/// The stored components: [{name, values: [eleven texts]}]; nothing when storage is unusable.
export function loadCustom() {
  try {
    const rows = JSON.parse(localStorage.getItem(kStorageKey) ?? '[]');
    return Array.isArray(rows)
      ? rows.filter((r) => typeof r?.name === 'string' && Array.isArray(r.values) && r.values.length === 11)
        .map((r) => ({ name: r.name, values: r.values.map((v) => String(v ?? '')) }))
      : [];
  } catch {
    return [];
  }
}

/// Stores the list; false when the browser refuses (private mode, quota).
export function saveCustom(rows) {
  try {
    localStorage.setItem(kStorageKey, JSON.stringify(rows));
    return true;
  } catch {
    return false;
  }
}

/// Why the constants cannot be taken, or '' when they can: a field that is not a number, or an
/// Antoine set that is not complete. `isNumeric` is the entry boxes' own test.
export function checkCustom(name, values, isNumeric) {
  if (name.trim() === '') return 'A custom component needs a name.';
  for (let i = 0; i < values.length; ++i) {
    if (values[i] !== '' && !isNumeric(values[i])) return `${kFieldCaptions[i]} is not a number.`;
  }
  const antoine = values.slice(8).filter((v) => v !== '').length;
  if (antoine !== 0 && antoine !== 3) return 'Give all three Antoine coefficients or none.';
  return '';
}

export function toCsv(rows, csvRow) {
  return csvRow(['name', ...kCustomFields]) + rows.map((r) => csvRow([r.name, ...r.values])).join('');
}

/// Records of a CSV text: fields separated by commas, quoted fields with doubled quotes and line
/// ends inside, LF or CRLF, a byte order mark skipped, blank lines skipped.
export function parseCsv(text) {
  const records = [];
  let fields = [], field = '', quoted = false, i = text.charCodeAt(0) === 0xfeff ? 1 : 0;
  const endRecord = () => {
    fields.push(field);
    if (fields.length > 1 || fields[0] !== '') records.push(fields);
    fields = [];
    field = '';
  };
  for (; i < text.length; ++i) {
    const ch = text[i];
    if (quoted) {
      if (ch === '"' && text[i + 1] === '"') { field += '"'; ++i; }
      else if (ch === '"') quoted = false;
      else field += ch;
    } else if (ch === '"') quoted = true;
    else if (ch === ',') { fields.push(field); field = ''; }
    else if (ch === '\n') endRecord();
    else if (ch !== '\r' || text[i + 1] !== '\n') field += ch;
  }
  if (quoted) throw new Error('The file ends inside a quoted field.');
  if (field !== '' || fields.length) endRecord();
  return records;
}

/// Rows of an imported file: {rows, faults}; a row that cannot be taken is named in faults.
export function fromCsv(text, isNumeric) {
  const records = parseCsv(text);
  if (records.length === 0) return { rows: [], faults: ['The file is empty.'] };
  const header = records[0].map((h) => h.trim().toLowerCase());
  const nameAt = header.indexOf('name');
  if (nameAt < 0) return { rows: [], faults: ['The header has no "name" column.'] };
  const at = kCustomFields.map((f) => header.indexOf(f));
  const rows = [], faults = [];
  records.slice(1).forEach((rec, k) => {
    const name = (rec[nameAt] ?? '').trim();
    const values = at.map((j) => (j < 0 ? '' : (rec[j] ?? '').trim()));
    const why = checkCustom(name, values, isNumeric);
    if (why) faults.push(`Row ${k + 2}: ${why}`);
    else rows.push({ name, values });
  });
  return { rows, faults };
}

/// Adds or replaces by name, keeping the order of first appearance.
export function mergeCustom(rows, added) {
  const out = rows.slice();
  for (const r of added) {
    const i = out.findIndex((o) => o.name === r.name);
    if (i >= 0) out[i] = r;
    else out.push(r);
  }
  return out;
}
