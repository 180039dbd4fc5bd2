// The diagrams (P-V, Z-P, P-T) drawn with uPlot from the curves the C++ computes, with zoom
// (wheel, keys, Ctrl- or Shift-drag box), pan (drag, arrow keys), reset (double-click, 0) and
// export as PNG, SVG and CSV. A model's legend entry hides or shows it in every diagram.
import { kRowCaptions } from './engine.js';

/// The window's nine model colours (a colour-blind-safe categorical palette).
export const kModelColors = ['#7f7f7f', '#1f77b4', '#ff7f0e', '#2ca02c', '#d62728', '#9467bd',
  '#8c564b', '#e377c2', '#17becf'];
const kComponentColor = '#000000';
const kDash = [[], [6, 4], [2, 3]]; // solid, dashed, dotted
const kMarkerSize = [8, 9, 13, 9]; // root, state, critical point, model's critical point

/// Ticks of a log axis: the powers of ten in view, with 2 and 5 times them over a short range.
function logSplits(min, max) {
  const out = [];
  const decades = Math.log10(max / min);
  for (let k = Math.floor(Math.log10(min)); k <= Math.ceil(Math.log10(max)); ++k) {
    for (const f of decades < 3 ? [1, 2, 5] : [1]) {
      const v = f * 10 ** k;
      if (v >= min && v <= max) out.push(v);
    }
  }
  return out;
}
const logLabel = (v) => (v == null ? null : v >= 1e6 || v < 1e-3 ? v.toExponential(0) : String(Number(v.toPrecision(3))));

export class DiagramView {
  constructor(host, legend, readout) {
    this.host = host;
    this.legend = legend;
    this.readout = readout;
    this.shown = Array(9).fill(true);
    this.plot = null;
    this.diagram = null;
    this.buildLegend();
    host.addEventListener('keydown', (e) => this.key(e));
    new ResizeObserver(() => this.resize()).observe(host);
  }

  buildLegend() {
    this.legend.replaceChildren(...kRowCaptions.map((caption, i) => {
      const b = document.createElement('button');
      b.type = 'button';
      b.className = 'model';
      b.setAttribute('aria-pressed', 'true');
      b.innerHTML = `<span class="swatch" style="background:${kModelColors[i]}"></span>`;
      b.append(caption);
      b.addEventListener('click', () => {
        this.shown[i] = !this.shown[i];
        b.setAttribute('aria-pressed', String(this.shown[i]));
        this.applyShown();
      });
      return b;
    }));
  }

  /// The component's own lines and marks (state, Antoine, critical point) beside the models.
  showComponentLegend(diagram) {
    this.legend.querySelectorAll('.component').forEach((e) => e.remove());
    const names = [...new Set(diagram.curves.filter((c) => c.model === null).map((c) => `${c.name}|${c.style}`))];
    const items = names.map((key) => {
      const [name, style] = key.split('|');
      const span = document.createElement('span');
      span.className = `component line-${style}`;
      span.textContent = name;
      return span;
    });
    if (diagram.markers.some((m) => m.kind === 2)) {
      const span = document.createElement('span');
      span.className = 'component';
      span.textContent = '✳ Critical point';
      items.push(span);
    }
    this.legend.append(...items);
  }

  /// Bit i set: model row i shown (the CSV export takes the same models).
  shownMask() {
    return this.shown.reduce((mask, on, i) => mask | (on ? 1 << i : 0), 0);
  }

  size() {
    const width = Math.max(280, this.host.clientWidth);
    return { width, height: Math.round(Math.min(520, Math.max(260, width * 0.62))) };
  }

  resize() {
    if (this.plot) this.plot.setSize(this.size());
  }

  show(diagram) {
    this.diagram = diagram;
    if (this.plot) this.plot.destroy();
    const series = [{}];
    const data = [null];
    const styleOf = (model) => (model === null ? kComponentColor : kModelColors[model]);
    for (const c of diagram.curves) {
      series.push({ label: c.name, stroke: styleOf(c.model), width: c.model === null ? 1.5 : 1.25,
        dash: kDash[c.style], points: { show: false }, model: c.model,
        facets: [{ scale: 'x', auto: true }, { scale: 'y', auto: true }] });
      data.push([c.x, c.y]);
    }
    const scale = (axis) => ({ time: false, auto: false, distr: axis.log ? 3 : 1, log: 10,
      range: () => [axis.min, axis.max] });
    const axisOf = (axis, extra) => ({ label: axis.title, stroke: '#222', grid: { stroke: '#e4e4e4' },
      ...(axis.log ? { splits: (u, i, min, max) => logSplits(min, max), values: (u, splits) => splits.map(logLabel) } : {}),
      ...extra });
    const opts = {
      mode: 2,
      ...this.size(),
      title: diagram.title,
      legend: { show: false },
      scales: { x: scale(diagram.x), y: scale(diagram.y) },
      axes: [axisOf(diagram.x, {}), axisOf(diagram.y, { size: 64 })],
      series,
      cursor: { drag: { x: true, y: true, uni: 30 }, points: { show: false } },
      hooks: { setCursor: [(u) => this.readCursor(u)], ready: [(u) => this.bindPointer(u)],
        draw: [(u) => this.drawMarkers(u)] },
    };
    this.plot = new globalThis.uPlot(opts, data, this.host);
    this.showComponentLegend(diagram);
    this.applyShown();
    this.reset();
    this.host.setAttribute('aria-label', `${diagram.title}. Wheel or + and - to zoom, drag or ` +
      'arrow keys to pan, 0 or double-click to reset.');
  }

  /// The markers on the canvas: the sheet's volumes (hollow circles), the state (filled),
  /// the component's critical point (asterisk) and each model's own (hollow diamond).
  drawMarkers(u) {
    const g = u.ctx;
    const ratio = devicePixelRatio;
    g.save();
    g.beginPath();
    g.rect(u.bbox.left, u.bbox.top, u.bbox.width, u.bbox.height);
    g.clip();
    g.lineWidth = 1.5 * ratio;
    for (const m of this.diagram.markers) {
      if (m.model !== null && !this.shown[m.model]) continue;
      const x = u.valToPos(m.x, 'x', true), y = u.valToPos(m.y, 'y', true);
      if (!Number.isFinite(x) || !Number.isFinite(y)) continue;
      const r = (kMarkerSize[m.kind] / 2) * ratio;
      g.strokeStyle = m.model === null ? kComponentColor : kModelColors[m.model];
      g.fillStyle = m.kind === 1 ? '#000' : '#fff';
      g.beginPath();
      if (m.kind === 2) {
        for (let k = 0; k < 4; ++k) {
          const a = (k * Math.PI) / 4;
          g.moveTo(x - r * Math.cos(a), y - r * Math.sin(a));
          g.lineTo(x + r * Math.cos(a), y + r * Math.sin(a));
        }
        g.stroke();
        continue;
      }
      if (m.kind === 3) {
        g.moveTo(x, y - r);
        g.lineTo(x + r, y);
        g.lineTo(x, y + r);
        g.lineTo(x - r, y);
        g.closePath();
      } else {
        g.arc(x, y, r, 0, 2 * Math.PI);
      }
      g.fill();
      g.stroke();
    }
    g.restore();
  }

  applyShown() {
    if (!this.plot) return;
    this.plot.batch(() => {
      this.plot.series.forEach((s, i) => {
        if (i > 0 && s.model !== null && s.model !== undefined)
          this.plot.setSeries(i, { show: this.shown[s.model] });
      });
    });
    this.plot.redraw(false, false);
  }

  seriesCount() {
    return this.plot ? this.plot.series.length - 1 : 0;
  }

  reset() {
    if (!this.plot || !this.diagram) return;
    this.plot.batch(() => {
      this.plot.setScale('x', { min: this.diagram.x.min, max: this.diagram.x.max });
      this.plot.setScale('y', { min: this.diagram.y.min, max: this.diagram.y.max });
    });
  }

  /// Zooms both axes by `factor` around the point at fractions (fx, fy) of the plot area;
  /// a log axis zooms in its exponent.
  zoom(factor, fx = 0.5, fy = 0.5) {
    const u = this.plot;
    const one = (key, f, distr) => {
      const s = u.scales[key];
      const t = (v) => (distr === 3 ? Math.log10(v) : v);
      const inv = (v) => (distr === 3 ? 10 ** v : v);
      const lo = t(s.min), hi = t(s.max), at = lo + (hi - lo) * f;
      u.setScale(key, { min: inv(at - (at - lo) * factor), max: inv(at + (hi - at) * factor) });
    };
    u.batch(() => {
      one('x', fx, u.scales.x.distr);
      one('y', fy, u.scales.y.distr);
    });
  }

  /// Moves the view by fractions of its width and height.
  pan(dx, dy) {
    const u = this.plot;
    const one = (key, d) => {
      const s = u.scales[key];
      if (s.distr === 3) {
        const lo = Math.log10(s.min), hi = Math.log10(s.max), step = (hi - lo) * d;
        u.setScale(key, { min: 10 ** (lo + step), max: 10 ** (hi + step) });
      } else {
        const step = (s.max - s.min) * d;
        u.setScale(key, { min: s.min + step, max: s.max + step });
      }
    };
    u.batch(() => {
      one('x', dx);
      one('y', dy);
    });
  }

  key(e) {
    if (!this.plot) return;
    const actions = { '+': () => this.zoom(0.8), '=': () => this.zoom(0.8), '-': () => this.zoom(1.25),
      0: () => this.reset(), ArrowLeft: () => this.pan(-0.1, 0), ArrowRight: () => this.pan(0.1, 0),
      ArrowUp: () => this.pan(0, 0.1), ArrowDown: () => this.pan(0, -0.1) };
    const act = actions[e.key];
    if (act) {
      e.preventDefault();
      act();
    }
  }

  bindPointer(u) {
    const over = u.over;
    over.addEventListener('wheel', (e) => {
      e.preventDefault();
      const r = over.getBoundingClientRect();
      this.zoom(e.deltaY < 0 ? 0.85 : 1 / 0.85, (e.clientX - r.left) / r.width,
        1 - (e.clientY - r.top) / r.height);
    }, { passive: false });
    over.addEventListener('dblclick', () => this.reset());
    // A plain drag pans; Ctrl- or Shift-drag draws uPlot's zoom box.
    u.root.addEventListener('mousedown', (e) => {
      if (e.button !== 0 || e.ctrlKey || e.shiftKey || !over.contains(e.target)) return;
      e.stopPropagation();
      e.preventDefault();
      let x = e.clientX, y = e.clientY;
      const move = (m) => {
        const r = over.getBoundingClientRect();
        this.pan(-(m.clientX - x) / r.width, (m.clientY - y) / r.height);
        x = m.clientX;
        y = m.clientY;
      };
      const up = () => {
        window.removeEventListener('mousemove', move);
        window.removeEventListener('mouseup', up);
      };
      window.addEventListener('mousemove', move);
      window.addEventListener('mouseup', up);
    }, true);
  }

  readCursor(u) {
    const { left, top } = u.cursor;
    if (left == null || left < 0 || !this.diagram) {
      this.readout.textContent = '';
      return;
    }
    const x = u.posToVal(left, 'x'), y = u.posToVal(top, 'y');
    this.readout.textContent = `${this.diagram.x.title} = ${x.toPrecision(5)}, ` +
      `${this.diagram.y.title} = ${y.toPrecision(5)}`;
  }

  /// The diagram as the screen shows it, on white with its title and the models' legend.
  png() {
    const u = this.plot;
    const src = u.ctx.canvas;
    const ratio = src.width / u.width;
    const legendHeight = Math.round(22 * ratio);
    const titleHeight = Math.round(26 * ratio);
    const c = document.createElement('canvas');
    c.width = src.width;
    c.height = src.height + titleHeight + legendHeight;
    const g = c.getContext('2d');
    g.fillStyle = '#fff';
    g.fillRect(0, 0, c.width, c.height);
    g.fillStyle = '#000';
    g.font = `bold ${Math.round(14 * ratio)}px sans-serif`;
    g.textAlign = 'center';
    g.fillText(this.diagram.title, c.width / 2, titleHeight * 0.75);
    g.drawImage(src, 0, titleHeight);
    g.font = `${Math.round(11 * ratio)}px sans-serif`;
    g.textAlign = 'left';
    let x = 8 * ratio;
    kRowCaptions.forEach((caption, i) => {
      if (!this.shown[i]) return;
      g.fillStyle = kModelColors[i];
      g.fillRect(x, c.height - legendHeight * 0.7, 10 * ratio, 10 * ratio);
      g.fillStyle = '#000';
      g.fillText(caption, x + 13 * ratio, c.height - legendHeight * 0.25);
      x += g.measureText(caption).width + 24 * ratio;
    });
    return new Promise((resolve) => c.toBlob(resolve, 'image/png'));
  }

  /// The diagram in the current view as SVG: frame, ticks from the axes on screen, curves
  /// clipped to the plot area, markers, title and legend.
  svg() {
    const u = this.plot;
    const d = this.diagram;
    const esc = (t) => String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
    const left = 80, top = 40, w = u.bbox.width / devicePixelRatio, h = u.bbox.height / devicePixelRatio;
    const width = left + w + 20, height = top + h + 90;
    const px = (v) => left + u.valToPos(v, 'x');
    const py = (v) => top + u.valToPos(v, 'y');
    const inView = (v, key) => Number.isFinite(v) && (u.scales[key].distr !== 3 || v > 0);
    const parts = [`<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" ` +
      `viewBox="0 0 ${width} ${height}" font-family="sans-serif" font-size="12">`,
    `<rect width="100%" height="100%" fill="#fff"/>`,
    `<defs><clipPath id="area"><rect x="${left}" y="${top}" width="${w}" height="${h}"/></clipPath></defs>`,
    `<text x="${width / 2}" y="22" text-anchor="middle" font-weight="bold" font-size="14">${esc(d.title)}</text>`];
    u.axes.forEach((axis, i) => {
      const splits = axis._splits ?? [];
      const labels = axis._values ?? splits;
      splits.forEach((v, k) => {
        if (i === 0) {
          parts.push(`<line x1="${px(v)}" y1="${top}" x2="${px(v)}" y2="${top + h}" stroke="#e4e4e4"/>`,
            `<text x="${px(v)}" y="${top + h + 16}" text-anchor="middle">${esc(labels[k])}</text>`);
        } else {
          parts.push(`<line x1="${left}" y1="${py(v)}" x2="${left + w}" y2="${py(v)}" stroke="#e4e4e4"/>`,
            `<text x="${left - 6}" y="${py(v) + 4}" text-anchor="end">${esc(labels[k])}</text>`);
        }
      });
    });
    parts.push(`<rect x="${left}" y="${top}" width="${w}" height="${h}" fill="none" stroke="#222"/>`,
      `<text x="${left + w / 2}" y="${top + h + 36}" text-anchor="middle">${esc(d.x.title)}</text>`,
      `<text transform="translate(18 ${top + h / 2}) rotate(-90)" text-anchor="middle">${esc(d.y.title)}</text>`,
      '<g clip-path="url(#area)" fill="none">');
    const colorOf = (model) => (model === null ? kComponentColor : kModelColors[model]);
    for (const c of d.curves) {
      if (c.model !== null && !this.shown[c.model]) continue;
      const pts = [];
      c.x.forEach((x, k) => {
        if (inView(x, 'x') && inView(c.y[k], 'y')) pts.push(`${px(x).toFixed(2)},${py(c.y[k]).toFixed(2)}`);
      });
      if (pts.length > 1) {
        const dash = kDash[c.style].length ? ` stroke-dasharray="${kDash[c.style].join(' ')}"` : '';
        parts.push(`<polyline points="${pts.join(' ')}" stroke="${colorOf(c.model)}" stroke-width="1.25"${dash}/>`);
      }
    }
    for (const m of d.markers) {
      if ((m.model !== null && !this.shown[m.model]) || !inView(m.x, 'x') || !inView(m.y, 'y')) continue;
      parts.push(`<circle cx="${px(m.x).toFixed(2)}" cy="${py(m.y).toFixed(2)}" r="${kMarkerSize[m.kind] / 2}" ` +
        `stroke="${colorOf(m.model)}" fill="${m.kind === 1 ? '#000' : '#fff'}"><title>${esc(m.label)}</title></circle>`);
    }
    parts.push('</g>');
    let x = 10;
    kRowCaptions.forEach((caption, i) => {
      if (!this.shown[i]) return;
      parts.push(`<rect x="${x}" y="${height - 22}" width="10" height="10" fill="${kModelColors[i]}"/>`,
        `<text x="${x + 13}" y="${height - 13}">${esc(caption)}</text>`);
      x += 13 + caption.length * 6.5 + 12;
    });
    parts.push('</svg>');
    return new Blob([parts.join('\n')], { type: 'image/svg+xml' });
  }
}
