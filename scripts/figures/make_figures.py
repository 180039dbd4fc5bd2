#!/usr/bin/env python3
"""Draw the three figures of the information window and the main window's
background picture as SVG files in assets/.

The phase-diagram curves come from simple physics in reduced units:
  * Fig. 1: Clausius-Clapeyron form ln P = A - B/T for the vaporisation and
    sublimation curves, a steep straight fusion line.
  * Fig. 2: van der Waals isotherms Pr = 8Tr/(3Vr - 1) - 3/Vr^2 with the
    two-phase dome found by Maxwell's equal-area construction.
  * Fig. 3: the same van der Waals vapour-pressure curve in P-T coordinates,
    and van der Waals isochores (straight lines in P-T).

Standard library only.  Usage:  python3 scripts/figures/make_figures.py
"""

import math
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(ROOT, "assets")

FONT = "DejaVu Sans"
SERIF = "Liberation Serif"


# ---------------------------------------------------------------- SVG helpers

class Svg:
    def __init__(self, width, height, background="#ffffff"):
        self.w, self.h = width, height
        self.items = []
        self.rect(0, 0, width, height, fill=background, stroke="none")

    def add(self, s):
        self.items.append(s)

    def rect(self, x, y, w, h, fill="none", stroke="#000000", sw=1.0, extra=""):
        self.add(f'<rect x="{x:.1f}" y="{y:.1f}" width="{w:.1f}" height="{h:.1f}" '
                 f'fill="{fill}" stroke="{stroke}" stroke-width="{sw}"{extra}/>')

    def line(self, x1, y1, x2, y2, stroke="#000000", sw=1.0, dash=None):
        d = f' stroke-dasharray="{dash}"' if dash else ""
        self.add(f'<line x1="{x1:.1f}" y1="{y1:.1f}" x2="{x2:.1f}" y2="{y2:.1f}" '
                 f'stroke="{stroke}" stroke-width="{sw}"{d}/>')

    def polyline(self, pts, stroke="#000000", sw=1.5, dash=None, fill="none"):
        if len(pts) < 2:
            return
        d = f' stroke-dasharray="{dash}"' if dash else ""
        p = " ".join(f"{x:.1f},{y:.1f}" for x, y in pts)
        self.add(f'<polyline points="{p}" fill="{fill}" stroke="{stroke}" '
                 f'stroke-width="{sw}" stroke-linejoin="round"{d}/>')

    def polygon(self, pts, fill="#000000", stroke="none", sw=1.0):
        p = " ".join(f"{x:.1f},{y:.1f}" for x, y in pts)
        self.add(f'<polygon points="{p}" fill="{fill}" stroke="{stroke}" stroke-width="{sw}"/>')

    def circle(self, x, y, r, fill="#000000", stroke="none", sw=1.0):
        self.add(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r}" fill="{fill}" '
                 f'stroke="{stroke}" stroke-width="{sw}"/>')

    def path(self, d, stroke="#000000", sw=1.0, fill="none", dash=None):
        ds = f' stroke-dasharray="{dash}"' if dash else ""
        self.add(f'<path d="{d}" fill="{fill}" stroke="{stroke}" stroke-width="{sw}"{ds}/>')

    def text(self, x, y, s, size=14, anchor="start", fill="#000000", weight="normal",
             style="normal", family=FONT):
        s = s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
        self.add(f'<text x="{x:.1f}" y="{y:.1f}" font-family="{family}" font-size="{size}" '
                 f'font-weight="{weight}" font-style="{style}" text-anchor="{anchor}" '
                 f'fill="{fill}">{s}</text>')

    def sub_text(self, x, y, main, sub, size=15, fill="#000000", style="italic",
                 anchor="start", family=FONT):
        """A symbol with a subscript, e.g. T with c; the subscript is a second,
        smaller text element placed after the main one (no baseline-shift)."""
        wmain = 0.62 * size * len(main)
        wsub = 0.55 * 0.72 * size * len(sub)
        if anchor == "middle":
            x -= (wmain + wsub) / 2
        elif anchor == "end":
            x -= wmain + wsub
        self.text(x, y, main, size, fill=fill, style=style, family=family)
        self.text(x + wmain, y + 0.3 * size, sub, round(0.72 * size), fill=fill,
                  style=style, family=family)

    def arrow_head(self, x, y, angle, size=9, fill="#000000"):
        """A filled triangle with its tip at (x, y) pointing along angle (rad)."""
        a1, a2 = angle + math.radians(155), angle - math.radians(155)
        self.polygon([(x, y), (x + size * math.cos(a1), y + size * math.sin(a1)),
                      (x + size * math.cos(a2), y + size * math.sin(a2))], fill=fill)

    def save(self, name):
        head = (f'<?xml version="1.0" encoding="UTF-8"?>\n'
                f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
                f'width="{self.w}px" height="{self.h}px" viewBox="0 0 {self.w} {self.h}">\n')
        with open(os.path.join(ASSETS, name), "w", encoding="utf-8") as f:
            f.write(head + "\n".join(self.items) + "\n</svg>\n")


def axes(svg, x0, y0, x1, y1, xlabel, ylabel):
    """Axes with arrowheads: origin (x0, y0) bottom left, (x1, y1) top right."""
    svg.line(x0, y0, x1, y0, sw=1.6)
    svg.line(x0, y0, x0, y1, sw=1.6)
    svg.arrow_head(x1 + 8, y0, 0, 11)
    svg.arrow_head(x0, y1 - 8, -math.pi / 2, 11)
    svg.text(x1 + 2, y0 + 26, xlabel, 18, anchor="middle", style="italic")
    svg.text(x0 - 24, y1 + 2, ylabel, 18, anchor="middle", style="italic")


def bisect(f, a, b, n=200):
    fa = f(a)
    for _ in range(n):
        m = 0.5 * (a + b)
        fm = f(m)
        if (fm > 0) == (fa > 0):
            a, fa = m, fm
        else:
            b = m
    return 0.5 * (a + b)


# ------------------------------------------------- van der Waals, reduced units

def vdw_p(tr, vr):
    return 8 * tr / (3 * vr - 1) - 3 / vr ** 2


def vdw_spinodal(tr):
    """Volumes of the pressure minimum and maximum of a subcritical isotherm."""
    g = lambda v: 4 * tr * v ** 3 - (3 * v - 1) ** 2
    return bisect(g, 0.34, 1.0), bisect(g, 1.0, 50.0)


def vdw_roots(tr, pr):
    vmin, vmax = vdw_spinodal(tr)
    f = lambda v: vdw_p(tr, v) - pr
    return bisect(f, 1 / 3 + 1e-9, vmin), bisect(f, vmax, 1e4)


def vdw_saturation(tr):
    """Maxwell equal-area construction: (Pr_sat, Vr_liquid, Vr_vapour)."""
    vmin, vmax = vdw_spinodal(tr)
    lo, hi = max(vdw_p(tr, vmin), 1e-9), vdw_p(tr, vmax)

    def area(pr):
        vl, vg = vdw_roots(tr, pr)
        integral = 8 * tr / 3 * math.log((3 * vg - 1) / (3 * vl - 1)) + 3 / vg - 3 / vl
        return integral - pr * (vg - vl)

    pr = bisect(area, lo, hi, 80)
    vl, vg = vdw_roots(tr, pr)
    return pr, vl, vg


def clip_top(pts, ytop):
    """Cut a polyline (screen coordinates) where it rises above ytop."""
    out = []
    for i, (x, y) in enumerate(pts):
        if y >= ytop:
            if out == [] and i > 0 and pts[i - 1][1] < ytop:
                xp, yp = pts[i - 1]
                t = (ytop - yp) / (y - yp)
                out.append((xp + t * (x - xp), ytop))
            out.append((x, y))
        elif out and out[-1][1] > ytop:
            xp, yp = out[-1]
            t = (ytop - yp) / (y - yp)
            out.append((xp + t * (x - xp), ytop))
            break
    return out


# ---------------------------------------------------------------- Figure 1

def figure1():
    W, H = 653, 543
    s = Svg(W, H)
    x0, y0, x1, y1 = 75, 480, 615, 40          # plot box in pixels
    tmax, pmax = 1.45, 1.55                    # reduced T and P at the box edges
    X = lambda t: x0 + (x1 - x0) * t / tmax
    Y = lambda p: y0 - (y0 - y1) * p / pmax

    tt, pt = 0.55, 0.15                        # triple point (reduced)
    bv = math.log(1 / pt) / (1 / tt - 1)       # ln(P/Pc) = bv (1 - 1/Tr)
    bs = 2.2 * bv                              # larger heat of sublimation

    vap = [(X(t), Y(math.exp(bv * (1 - 1 / t))))
           for t in [tt + i * (1 - tt) / 80 for i in range(81)]]
    sub = [(X(t), Y(pt * math.exp(bs * (1 / tt - 1 / t))))
           for t in [0.22 + i * (tt - 0.22) / 60 for i in range(61)]]
    fus = [(X(tt + 0.075 * (p - pt)), Y(p)) for p in (pt, pmax - 0.02)]

    # critical point, Tc and Pc guides, boundaries of the fluid region
    cx, cy = X(1), Y(1)
    s.line(cx, cy, cx, y0, stroke="#555555", dash="6,4")
    s.line(cx, cy, x0, cy, stroke="#555555", dash="6,4")
    s.line(cx, cy, cx, y1 + 10, stroke="#888888", sw=1.0, dash="2,4")
    s.line(cx, cy, x1 - 10, cy, stroke="#888888", sw=1.0, dash="2,4")

    # path A -> B around the critical point
    ta, pa, tb, pb, ptop, tright = 0.80, 0.80, 0.90, 0.28, 1.30, 1.30
    path = [(X(ta), Y(pa)), (X(ta), Y(ptop)), (X(tright), Y(ptop)),
            (X(tright), Y(pb)), (X(tb), Y(pb))]
    blue = "#1f4e9c"
    s.polyline(path, stroke=blue, sw=1.8, dash="9,5")
    for (xa, ya), (xb, yb) in zip(path, path[1:]):
        xm, ym = (xa + xb) / 2, (ya + yb) / 2
        s.arrow_head(xm, ym, math.atan2(yb - ya, xb - xa), 12, fill=blue)
    s.circle(*path[0], 4.5, fill=blue)
    s.circle(*path[-1], 4.5, fill=blue)
    s.text(path[0][0] + 10, path[0][1] + 6, "A", 17, weight="bold", fill=blue)
    s.text(path[-1][0] + 6, path[-1][1] + 22, "B", 17, weight="bold", fill=blue)

    s.polyline(sub, sw=2.2)
    s.polyline(vap, sw=2.2)
    s.polyline(fus, sw=2.2)
    s.circle(X(tt), Y(pt), 5)
    s.circle(cx, cy, 5.5)

    axes(s, x0, y0, x1, y1, "T", "P")
    s.sub_text(cx, y0 + 24, "T", "c", 17, anchor="middle")
    s.sub_text(x0 - 10, cy + 6, "P", "c", 17, anchor="end")
    s.text(cx + 10, cy - 8, "C", 18, weight="bold")
    s.text(cx + 10, cy + 14, "critical point", 13)

    # curve names and the triple point
    s.text(X(0.31), Y(0.14), "sublimation", 14, anchor="middle", style="italic")
    s.text(X(0.31), Y(0.14) + 17, "curve", 14, anchor="middle", style="italic")
    s.text(X(0.60) - 12, Y(1.22), "fusion", 14, anchor="end", style="italic")
    s.text(X(0.60) - 12, Y(1.22) + 17, "curve", 14, anchor="end", style="italic")
    s.text(X(0.84), Y(0.50), "vaporisation", 14, style="italic")
    s.text(X(0.84), Y(0.50) + 17, "curve", 14, style="italic")
    s.text(X(tt) + 12, Y(pt) + 20, "triple point", 13)

    # regions
    s.text(X(0.30), Y(0.85), "SOLID", 18, anchor="middle", weight="bold", fill="#444444")
    s.text(X(0.70), Y(0.62), "LIQUID", 16, anchor="middle", weight="bold", fill="#444444")
    s.text(X(0.74), Y(0.17), "VAPOUR", 18, anchor="middle", weight="bold", fill="#444444")
    s.text(X(1.20), Y(0.12), "GAS", 18, anchor="middle", weight="bold", fill="#444444")
    s.text(X(1.20), Y(1.42), "FLUID", 18, anchor="middle", weight="bold", fill="#444444")
    s.save("fig1.svg")


# ---------------------------------------------------------------- Figure 2

FIG2_T = {"T1": 0.85, "T2": 0.95, "Tc": 1.0, "T3": 1.1, "T4": 1.25}
TR_N, TR_P = 0.93, 0.89      # saturated liquid N, saturated vapour P (sealed tubes)


def figure2():
    W, H = 643, 458
    s = Svg(W, H)
    x0, y0, x1, y1 = 70, 400, 580, 35
    vlo, vhi, pmax = 0.42, 9.0, 1.55
    X = lambda v: x0 + (x1 - x0) * math.log(v / vlo) / math.log(vhi / vlo)
    Y = lambda p: y0 - (y0 - y1) * p / pmax
    blue = "#1f4e9c"

    # two-phase dome from the Maxwell construction (shaded)
    sat = [vdw_saturation(0.70 + i * (0.999 - 0.70) / 60) for i in range(61)]
    left = [(X(vl), Y(p)) for p, vl, vg in sat]
    right = [(X(vg), Y(p)) for p, vl, vg in sat]
    dome = left + [(X(1), Y(1))] + right[::-1]
    s.polygon(dome, fill="#e6edf8")

    # isotherms: van der Waals outside the dome, horizontal tie line inside
    vs = [vlo * (vhi / vlo) ** (i / 400) for i in range(401)]
    ends = []
    for name, tr in FIG2_T.items():
        if tr < 1:
            ps, vl, vg = vdw_saturation(tr)
            pts = [(X(v), Y(vdw_p(tr, v))) for v in vs if v <= vl]
            pts += [(X(vl), Y(ps)), (X(vg), Y(ps))]
            pts += [(X(v), Y(vdw_p(tr, v))) for v in vs if v >= vg]
        else:
            pts = [(X(v), Y(vdw_p(tr, v))) for v in vs]
        pts = clip_top(pts, y1)
        s.polyline(pts, sw=2.0 if name == "Tc" else 1.6,
                   stroke="#000000" if name == "Tc" else blue)
        ends.append((name, pts[-1]))

    # isotherm names in a column right of the plot, fanned out, with leaders
    ys = sorted(e[1][1] for e in ends)
    mid = sum(ys) / len(ys)
    gap = 19
    for i, (name, (xe, ye)) in enumerate(sorted(ends, key=lambda e: e[1][1])):
        yl = mid + (i - (len(ends) - 1) / 2) * gap
        s.line(xe + 2, ye, x1 + 18, yl - 5, stroke="#777777", sw=0.8)
        s.sub_text(x1 + 21, yl, "T", name[1], 15)

    s.polyline(left + [(X(1), Y(1))] + right[::-1], sw=2.2)   # the dome itself

    # sealed tubes heated at constant volume from the T1 tie line to N and P
    ps1, vl1, vg1 = vdw_saturation(FIG2_T["T1"])
    pn, vn, _ = vdw_saturation(TR_N)
    pp, _, vp = vdw_saturation(TR_P)
    for v, p in ((vn, pn), (vp, pp)):
        s.line(X(v), Y(ps1), X(v), Y(p), stroke="#555555", sw=1.2, dash="3,3")
        s.arrow_head(X(v), Y(p) + 7, -math.pi / 2, 8, fill="#555555")

    # critical point with Vc and Pc
    cx, cy = X(1), Y(1)
    s.line(cx, cy, cx, y0, stroke="#555555", dash="6,4")
    s.line(cx, cy, x0, cy, stroke="#555555", dash="6,4")
    s.circle(cx, cy, 5)
    s.text(cx - 4, cy - 10, "C", 17, anchor="end", weight="bold")
    axes(s, x0, y0, x1 + 45, y1, "V", "P")
    s.sub_text(cx, y0 + 22, "V", "c", 16, anchor="middle")
    s.sub_text(x0 - 8, cy + 6, "P", "c", 16, anchor="end")

    # path of an isothermal compression on T1: A -> K -> J -> B
    t1 = FIG2_T["T1"]
    va, vb = 4.8, 0.52
    pts = {"A": (X(va), Y(vdw_p(t1, va))),
           "K": (X(vg1), Y(ps1)), "J": (X(vl1), Y(ps1)),
           "B": (X(vb), Y(vdw_p(t1, vb))),
           "N": (X(vn), Y(pn)), "P": (X(vp), Y(pp))}
    va_k = math.sqrt(va * vg1)
    s.arrow_head(X(va_k) - 5, Y(vdw_p(t1, va_k)), math.atan2(
        Y(vdw_p(t1, va_k * 0.97)) - Y(vdw_p(t1, va_k)), X(va_k * 0.97) - X(va_k)), 11, fill=blue)
    s.arrow_head(X(1.1), Y(ps1), math.pi, 11, fill=blue)
    vjb = 0.537
    s.arrow_head(X(vjb), Y(vdw_p(t1, vjb)) - 4, math.atan2(
        Y(vdw_p(t1, vjb - 0.003)) - Y(vdw_p(t1, vjb)), X(vjb - 0.003) - X(vjb)), 11, fill=blue)
    offs = {"A": (0, 58, "middle"), "K": (6, 20, "start"), "J": (-9, 16, "end"),
            "B": (-9, 5, "end"), "N": (-9, -3, "end"), "P": (-9, -5, "end")}
    s.line(pts["A"][0], pts["A"][1] + 5, pts["A"][0], pts["A"][1] + 42, stroke="#777777", sw=0.8)
    for k, (x, y) in pts.items():
        s.circle(x, y, 4.5)
        dx, dy, anc = offs[k]
        s.text(x + dx, y + dy, k, 16, anchor=anc, weight="bold")

    # regions
    s.text(x0 + 8, Y(0.05), "liquid", 16, style="italic")
    s.line(x0 + 28, Y(0.05) - 15, X(0.445), Y(0.30), stroke="#777777", sw=0.8)
    s.text(X(1.5), Y(0.32), "liquid and vapour", 15, anchor="middle", style="italic")
    s.text(X(7.0), Y(0.04), "vapour", 16, anchor="middle", style="italic")
    s.text(X(4.0), Y(1.10), "gas", 16, anchor="middle", style="italic")
    s.save("fig2.svg")


# ---------------------------------------------------------------- Figure 3

def figure3():
    W, H = 498, 468
    s = Svg(W, H)
    x0, y0, x1, y1 = 62, 410, 460, 35
    tlo, thi, pmax = 0.6, 1.25, 1.95
    X = lambda t: x0 + (x1 - x0) * (t - tlo) / (thi - tlo)
    Y = lambda p: y0 - (y0 - y1) * p / pmax

    curve = [(tr,) + vdw_saturation(tr) for tr in
             [0.63 + i * (0.9995 - 0.63) / 80 for i in range(81)]]
    curve.append((1.0, 1.0, 1.0, 1.0))

    def sat(tr):
        return vdw_saturation(tr) if tr < 1 else (1.0, 1.0, 1.0)

    def isochore(v, t_from, dash=None, sw=1.5, stroke="#1f4e9c"):
        ts = [t_from + i * (thi - t_from) / 60 for i in range(61)]
        pts = clip_top([(X(t), Y(vdw_p(t, v))) for t in ts], y1)
        s.polyline(pts, sw=sw, dash=dash, stroke=stroke)
        return pts[-1]

    # the five constant-volume lines, starting on the vapour-pressure curve
    t_v1, t_v1p, t_jk = 0.72, 0.76, FIG2_T["T1"]
    v1, v2 = sat(t_v1)[1], sat(TR_N)[1]
    v2p, v1p = sat(TR_P)[2], sat(t_v1p)[2]
    e1 = isochore(v1, t_v1)
    e2 = isochore(v2, TR_N)
    ec = isochore(1.0, 1.0, dash="7,4", stroke="#000000")
    e2p = isochore(v2p, TR_P)
    e1p = isochore(v1p, t_v1p)
    for e, k in ((e1, "1"), (e2, "2"), (ec, "c")):
        s.sub_text(e[0] + 5, e[1] + 13, "V", k, 15)
    for e, k in ((e2p, "2"), (e1p, "1")):
        s.sub_text(e[0] + 6, e[1] + 5, "V", k, 15)
        s.text(e[0] + 22, e[1] + 2, "\u2032", 18)

    s.polyline([(X(t), Y(p)) for t, p, _, _ in curve], sw=2.4)
    cx, cy = X(1), Y(1)
    s.circle(cx, cy, 5.5)
    s.text(cx - 8, cy - 6, "C", 17, anchor="end", weight="bold")
    s.text(X(0.80), Y(0.17), "vapour-pressure", 13, style="italic")
    s.text(X(0.80), Y(0.17) + 16, "curve", 13, style="italic")
    s.line(X(0.80) - 3, Y(0.17) - 6, X(0.705), Y(vdw_saturation(0.705)[0]) + 3,
           stroke="#777777", sw=0.8)
    axes(s, x0, y0, x1, y1, "T", "P")

    # lettered points
    def on(v, t):
        return X(t), Y(vdw_p(t, v))
    pts = {"(J, K)": (X(t_jk), Y(sat(t_jk)[0])),
           "N": (X(TR_N), Y(sat(TR_N)[0])), "P": (X(TR_P), Y(sat(TR_P)[0])),
           "D": on(v1, 0.735), "E": on(v1, 0.775),
           "F": on(v1p, 1.0), "G": on(v1p, 1.17)}
    offs = {"(J, K)": (-9, -4, "end"), "N": (-9, -3, "end"), "P": (9, 15, "start"),
            "D": (-8, 4, "end"), "E": (-8, 4, "end"),
            "F": (0, 22, "middle"), "G": (0, 22, "middle")}
    for k, (x, y) in pts.items():
        s.circle(x, y, 4.5)
        dx, dy, anc = offs[k]
        s.text(x + dx, y + dy, k, 16, anchor=anc, weight="bold")

    s.text(X(0.70), Y(1.45), "liquid", 17, anchor="middle", style="italic")
    s.text(X(1.12), Y(0.72), "vapour", 17, anchor="middle", style="italic")
    s.save("fig3.svg")


# ------------------------------------------------------------- background

def background():
    W, H = 800, 600
    s = Svg(W, H, background="#f1faf1")
    ln, tx, fl = "#b4dcb4", "#a8d4a8", "#e6f4e6"

    def vessel(x, y, w, h):                       # vertical drum with dished heads
        r, hh = w / 2, w / 4                      # head: half-ellipse, depth w/4
        s.path(f"M{x},{y + hh} A{r},{hh} 0 0,1 {x + w},{y + hh} L{x + w},{y + h - hh} "
               f"A{r},{hh} 0 0,1 {x},{y + h - hh} Z", stroke=ln, sw=2, fill=fl)

    def column(x, y, w, h, trays):
        vessel(x, y, w, h)
        for i in range(1, trays + 1):
            yy = y + w / 4 + i * (h - w / 2) / (trays + 1)
            xa, xb = (x + 3, x + w * 0.7) if i % 2 else (x + w * 0.3, x + w - 3)
            s.line(xa, yy, xb, yy, stroke=ln, sw=1.2)

    def exchanger(x, y, r):                       # circle with a zig-zag coil
        s.circle(x, y, r, fill=fl, stroke=ln, sw=2)
        s.polyline([(x - r, y), (x - r / 2, y - r / 2), (x, y + r / 2),
                    (x + r / 2, y - r / 2), (x + r, y)], stroke=ln, sw=1.5)

    def shell_tube(x, y, w, h):
        s.rect(x, y, w, h, fill=fl, stroke=ln, sw=2, extra=f' rx="{h / 2}" ry="{h / 2}"')
        for i in (1, 2, 3):
            s.line(x + h / 2, y + i * h / 4, x + w - h / 2, y + i * h / 4, stroke=ln, sw=1)

    def pump(x, y, r):                            # circle with a discharge triangle
        s.circle(x, y, r, fill=fl, stroke=ln, sw=2)
        s.polygon([(x - r * 0.55, y - r * 0.6), (x - r * 0.55, y + r * 0.6),
                   (x + r * 0.7, y)], fill=ln)
        s.line(x - r, y + r + 4, x + r, y + r + 4, stroke=ln, sw=2)

    def pipe(pts, arrow=True):
        s.polyline(pts, stroke=ln, sw=2)
        if arrow:
            (xa, ya), (xb, yb) = pts[-2], pts[-1]
            s.arrow_head(xb, yb, math.atan2(yb - ya, xb - xa), 9, fill=ln)

    # ---- flow sheet: feed pump, preheater, reactor, flash drum, distillation column
    #      with condenser, reflux drum and reboiler. Every caption of the window stands on
    #      plain ground: the pipes run in the margins and between the rows of the sheet.
    pump(40, 520, 16)
    pipe([(10, 520), (24, 520)])
    pipe([(56, 520), (90, 520), (90, 470), (108, 470)])
    shell_tube(108, 456, 110, 28)                         # feed preheater
    pipe([(218, 470), (234, 470), (234, 450)])
    vessel(212, 300, 44, 150)                             # reactor
    s.line(212, 350, 256, 350, stroke=ln, sw=1)
    s.line(212, 400, 256, 400, stroke=ln, sw=1)
    pipe([(256, 390), (452, 390)])
    vessel(452, 330, 64, 110)                             # flash drum
    pipe([(484, 330), (484, 272), (620, 272), (620, 95)])          # vapour
    pipe([(484, 440), (484, 510), (560, 510)])                     # liquid
    pump(576, 510, 16)
    pipe([(592, 510), (640, 510), (640, 400), (652, 400)])
    column(652, 140, 58, 380, 12)                         # distillation column
    pipe([(681, 140), (681, 80), (730, 80)])
    exchanger(750, 80, 18)                                # condenser
    pipe([(768, 80), (782, 80), (782, 140)])
    s.rect(752, 140, 44, 30, fill=fl, stroke=ln, sw=2, extra=' rx="12" ry="12"')
    pipe([(752, 160), (728, 160), (728, 200), (710, 200)])           # reflux
    pipe([(796, 155), (800, 155)], arrow=False)
    pipe([(681, 520), (681, 555), (740, 555)])
    exchanger(758, 555, 16)                               # reboiler
    pipe([(758, 539), (758, 480), (710, 480)])
    pipe([(774, 555), (800, 555)], arrow=False)
    pipe([(620, 95), (560, 95), (560, 60), (520, 60)])    # recycle to a compressor
    s.polygon([(470, 45), (520, 52), (520, 68), (470, 75)], fill=fl, stroke=ln, sw=2)
    pipe([(470, 60), (430, 60), (430, 12), (12, 12), (12, 520)], arrow=False)

    # ---- four thermodynamic relations
    def eq(x, y, t, size=17):
        s.text(x, y, t, size, fill=tx, style="italic", family=SERIF)

    eq(330, 150, "PV = ZRT", 22)
    eq(100, 585, "(P + a/V\u00b2)(V \u2212 b) = RT", 19)
    eq(360, 590, "dG = V dP \u2212 S dT", 19)
    eq(236, 181, "d ln P / d(1/T) = \u2212\u0394H / R", 16)

    # ---- a small chart: P-V isotherms
    def frame(x, y, w, h, xl, yl):
        s.line(x, y + h, x + w, y + h, stroke=ln, sw=1.5)
        s.line(x, y + h, x, y, stroke=ln, sw=1.5)
        s.arrow_head(x + w + 6, y + h, 0, 7, fill=ln)
        s.arrow_head(x, y - 6, -math.pi / 2, 7, fill=ln)
        s.text(x + w - 4, y + h + 16, xl, 13, fill=tx, style="italic")
        s.text(x - 16, y + 8, yl, 13, fill=tx, style="italic")

    cx, cy, cw, ch = 340, 30, 150, 95                     # P-V chart
    frame(cx, cy, cw, ch, "V", "P")
    for tr in (0.9, 1.0, 1.15):
        pts = []
        for i in range(80):
            v = 0.45 * (9 / 0.45) ** (i / 79)
            if tr < 1:
                ps, vl, vg = vdw_saturation(tr)
                p = ps if vl < v < vg else vdw_p(tr, v)
            else:
                p = vdw_p(tr, v)
            pts.append((cx + cw * math.log(v / 0.45) / math.log(20), cy + ch - ch * p / 1.8))
        s.polyline(clip_top(pts, cy), stroke=tx, sw=1.3)

    # ---- a few reaction equations
    s.text(560, 585, "N\u2082 + 3 H\u2082 \u21cc 2 NH\u2083", 17, fill=tx, family=SERIF)
    s.save("background.svg")


if __name__ == "__main__":
    os.makedirs(ASSETS, exist_ok=True)
    figure1()
    figure2()
    figure3()
    background()
