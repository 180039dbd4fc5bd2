#include "plots/teaching.h"

#include "reference/reference_eos.h"
#include "state/number_format.h"

#include <algorithm>
#include <cmath>

namespace plots {
namespace {

constexpr double kZeroCelsius_K = 273.15;
// Envelopes from this reduced temperature: low enough that the domes reach far down the
// log-pressure axis, high enough that every model still has a liquid root.
constexpr double kEnvelopeTrFrom = 0.45;
constexpr int kEnvelopePoints = 48;
// An isotherm on a log volume grid; each loop gets dozens of points.
constexpr int kIsothermSamples = 360;
constexpr int kAreaSamples = 160;
// The liquid branch starts this far above the co-volume; pressures beyond this multiple of
// the window's top are cut (the branch rises without bound).
constexpr double kCoVolumeMargin = 1.001;
constexpr double kPressureReach = 6.0;
// Where a loopless isotherm of a family is labelled: where it crosses this fraction of the
// window's top.
constexpr double kLabelLevel = 0.85;
constexpr double kBarCm3PerJoule = 10.0; // 1 J = 10 bar·cm3

std::string num(double v, int digits = 5) { return state::formatSignificant(v, digits); }
std::string key(state::Row row) { return std::string(state::rowKey(row)); }
std::size_t idx(state::Row row) { return static_cast<std::size_t>(row); }

/// What the axes divide by: a model's own critical point in reduced coordinates, else 1.
struct Scale {
    double t = 1, p = 1, v = 1;
};

Scale scaleOf(const analysis::CriticalPoint& cp, const analysis::Fluid& f, bool reduced)
{
    if (!reduced)
        return {};
    if (cp.found())
        return {cp.t_K, cp.p_bar, cp.v_cm3mol};
    return {f.tc_K, f.pc_bar, f.vc_cm3mol}; // the virial row has no critical point of its own
}

/// The window in the axes' units, and the component's scale that maps it to real units.
struct Window {
    Axis x, y;
};

Axis axis(std::string title, bool log, double lo, double hi)
{
    return {std::move(title), log, lo, hi};
}

Window windowOf(const TeachingOptions& o, const analysis::Fluid& f)
{
    const double vs = o.reduced ? 1 : f.vc_cm3mol;
    const double ps = o.reduced ? 1 : f.pc_bar;
    const double ts = o.reduced ? 1 : f.tc_K;
    const std::string vTitle = o.reduced ? "V/Vc" : "V (cm3/mol)";
    const std::string pTitle = o.reduced ? "P/Pc" : "P (bar)";
    Window w;
    switch (o.view) {
    case TeachingView::VapourPressure:
        w.x = axis(o.reduced ? "T/Tc" : "T (K)", false, 0.4 * ts, 1.05 * ts);
        w.y = o.logP ? axis(pTitle, true, 1e-4 * ps, 2 * ps) : axis(pTitle, false, 0, 1.1 * ps);
        return w;
    case TeachingView::Domes:
        w.x = o.logV ? axis(vTitle, true, 0.25 * vs, 25 * vs) : axis(vTitle, false, 0, 6 * vs);
        w.y = o.logP ? axis(pTitle, true, 1e-3 * ps, 3 * ps) : axis(pTitle, false, 0, 1.4 * ps);
        return w;
    case TeachingView::IsothermFamily:
    case TeachingView::EqualAreas: // refitted to the loop where there is one
        w.x = o.logV && o.view != TeachingView::EqualAreas ? axis(vTitle, true, 0.25 * vs, 25 * vs)
                                                           : axis(vTitle, false, 0, 6 * vs);
        w.y = o.logP && o.view != TeachingView::EqualAreas ? axis(pTitle, true, 1e-2 * ps, 10 * ps)
                                                           : axis(pTitle, false, -1 * ps, 2 * ps);
        return w;
    }
    return w;
}

/// Appends a curve split into runs wherever a point cannot be drawn: not finite, not positive
/// on a log axis, or beyond the reach of the window.
class Builder {
public:
    Builder(TeachingScene& scene, const Window& w) : m_scene(scene), m_w(w) {}

    void add(const std::string& name, std::optional<state::Row> model, TeachingCurveInfo info,
             const std::vector<double>& x, const std::vector<double>& y)
    {
        Curve c;
        c.name = name;
        c.model = model;
        c.style = styleOf(info.role);
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (drawable(x[i], y[i])) {
                c.x.push_back(x[i]);
                c.y.push_back(y[i]);
                continue;
            }
            flush(c, info);
        }
        flush(c, info);
    }

private:
    static LineStyle styleOf(LineRole role)
    {
        switch (role) {
        case LineRole::Metastable:
        case LineRole::Spinodal:
            return LineStyle::Dashed;
        case LineRole::Unstable:
        case LineRole::Guide:
            return LineStyle::Dotted;
        default:
            return LineStyle::Solid;
        }
    }
    bool drawable(double x, double y) const
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        if ((m_w.x.log && !(x > 0)) || (m_w.y.log && !(y > 0)))
            return false;
        const double top = m_w.y.log ? m_w.y.max * 1e3 : m_w.y.max * kPressureReach;
        const double bottom = m_w.y.min - (m_w.y.max - m_w.y.min) * kPressureReach;
        return y <= top && (m_w.y.log || y >= bottom);
    }
    void flush(Curve& c, TeachingCurveInfo info)
    {
        if (c.x.size() >= 2) {
            m_scene.diagram.curves.push_back(c);
            m_scene.info.push_back(info);
        }
        c.x.clear();
        c.y.clear();
    }

    TeachingScene& m_scene;
    const Window& m_w;
};

std::vector<double> logGrid(double lo, double hi, int n)
{
    std::vector<double> g(static_cast<std::size_t>(n));
    const double step = std::log(hi / lo) / (n - 1);
    for (int i = 0; i < n; ++i)
        g[static_cast<std::size_t>(i)] = lo * std::exp(step * i);
    g.back() = hi;
    return g;
}

/// One model's isotherm at T, split where its role changes: stable outside the dome,
/// metastable between dome and spinodal, unstable between the spinodals.
struct Stretch {
    double from, to;
    LineRole role;
};

std::vector<Stretch> stretches(const analysis::Isotherm& iso, const analysis::Fluid& f,
                               const analysis::CriticalPoint& cp, double vLo, double vHi)
{
    std::vector<Stretch> s;
    const analysis::Spinodals sp = analysis::spinodals(iso);
    if (iso.family == analysis::Family::Virial) {
        // Below its pressure maximum the virial row's P falls with density: no liquid branch.
        s.push_back({vLo, sp.vVapour, LineRole::Unstable});
        s.push_back({sp.vVapour, vHi, LineRole::Stable});
    } else if (!sp.exists) {
        s.push_back({vLo, vHi, LineRole::Stable});
    } else {
        const analysis::Saturation sat = analysis::saturation(iso.model, f, iso.t_K, cp);
        if (sat.converged()) {
            s.push_back({vLo, sat.vLiquid, LineRole::Stable});
            s.push_back({sat.vLiquid, sp.vLiquid, LineRole::Metastable});
            s.push_back({sp.vLiquid, sp.vVapour, LineRole::Unstable});
            s.push_back({sp.vVapour, sat.vVapour, LineRole::Metastable});
            s.push_back({sat.vVapour, vHi, LineRole::Stable});
        } else {
            s.push_back({vLo, sp.vLiquid, LineRole::Stable});
            s.push_back({sp.vLiquid, sp.vVapour, LineRole::Unstable});
            s.push_back({sp.vVapour, vHi, LineRole::Stable});
        }
    }
    std::vector<Stretch> inside;
    for (Stretch st : s) {
        st.from = std::max(st.from, vLo);
        st.to = std::min(st.to, vHi);
        if (st.to > st.from)
            inside.push_back(st);
    }
    return inside;
}

/// The real volumes an isotherm is drawn over: the window widened a little, from just above
/// the model's smallest volume.
std::pair<double, double> volumeSpan(const Window& w, double vMin, const Scale& sc)
{
    const double lo = w.x.log ? w.x.min / 1.2 : w.x.min - 0.1 * (w.x.max - w.x.min);
    const double hi = w.x.log ? w.x.max * 1.2 : w.x.max + 0.1 * (w.x.max - w.x.min);
    const double from = std::max(vMin > 0 ? vMin * kCoVolumeMargin : 0.0, lo * sc.v);
    return {from > 0 ? from : 0.05 * sc.v, hi * sc.v};
}

struct Context {
    const TeachingData& data;
    const TeachingOptions& o;
    const Window& w;
    Builder& out;
    TeachingScene& scene;
};

Scale modelScale(const Context& c, state::Row row)
{
    return scaleOf(c.data.envelopes[idx(row)].critical, c.data.fluid, c.o.reduced);
}

void addIsotherm(const Context& c, state::Row row, double t_K, const std::string& name,
                 bool emphasised)
{
    const analysis::Isotherm iso = analysis::makeIsotherm(row, c.data.fluid, t_K);
    if (!iso.valid)
        return;
    const Scale sc = modelScale(c, row);
    const auto [vLo, vHi] = volumeSpan(c.w, analysis::minVolume(iso), sc);
    const std::vector<double> grid = logGrid(vLo, vHi, kIsothermSamples);
    for (const Stretch& st :
         stretches(iso, c.data.fluid, c.data.envelopes[idx(row)].critical, vLo, vHi)) {
        std::vector<double> x{st.from / sc.v}, y{analysis::pressure(iso, st.from) / sc.p};
        for (double v : grid)
            if (v > st.from && v < st.to) {
                x.push_back(v / sc.v);
                y.push_back(analysis::pressure(iso, v) / sc.p);
            }
        x.push_back(st.to / sc.v);
        y.push_back(analysis::pressure(iso, st.to) / sc.p);
        c.out.add(name, row, {st.role, false, emphasised}, x, y);
    }
}

void addTieLine(const Context& c, state::Row row, double t_K, const std::string& name)
{
    const analysis::CriticalPoint& cp = c.data.envelopes[idx(row)].critical;
    analysis::EnvelopePoint e;
    if (!analysis::envelopePoint(row, c.data.fluid, t_K, cp, e))
        return;
    const Scale sc = modelScale(c, row);
    c.out.add(name, row, {LineRole::TieLine, false, false}, {e.vLiquid / sc.v, e.vVapour / sc.v},
              {e.pSat_bar / sc.p, e.pSat_bar / sc.p});
}

/// A dome (saturated volumes up one side and down the other) and its spinodal, or in the
/// vapour-pressure view the saturation curve.
void addEnvelope(const Context& c, std::optional<state::Row> row, const std::string& prefix,
                 const std::vector<analysis::EnvelopePoint>& pts, const Scale& sc, bool reference)
{
    if (pts.empty())
        return;
    std::vector<double> x, y, sx, sy;
    if (c.o.view == TeachingView::VapourPressure) {
        for (const analysis::EnvelopePoint& e : pts) {
            x.push_back(e.t_K / sc.t);
            y.push_back(e.pSat_bar / sc.p);
        }
        c.out.add(prefix + " vapour pressure", row, {LineRole::Dome, reference, false}, x, y);
        return;
    }
    for (const analysis::EnvelopePoint& e : pts) {
        x.push_back(e.vLiquid / sc.v);
        y.push_back(e.pSat_bar / sc.p);
        sx.push_back(e.vSpinLiquid / sc.v);
        sy.push_back(e.pSpinLiquid / sc.p);
    }
    for (auto e = pts.rbegin() + 1; e != pts.rend(); ++e) {
        x.push_back(e->vVapour / sc.v);
        y.push_back(e->pSat_bar / sc.p);
        sx.push_back(e->vSpinVapour / sc.v);
        sy.push_back(e->pSpinVapour / sc.p);
    }
    c.out.add(prefix + " dome", row, {LineRole::Dome, reference, false}, x, y);
    if (!reference)
        c.out.add(prefix + " spinodal", row, {LineRole::Spinodal, false, false}, sx, sy);
}

void addCritical(const Context& c, std::optional<state::Row> row, const analysis::CriticalPoint& cp,
                 const Scale& sc)
{
    if (!cp.found())
        return;
    const bool pt = c.o.view == TeachingView::VapourPressure;
    c.scene.diagram.markers.push_back({MarkerKind::ModelCritical, row,
                                       (pt ? cp.t_K / sc.t : cp.v_cm3mol / sc.v), cp.p_bar / sc.p,
                                       "critical point"});
}

void addModelEnvelope(const Context& c, state::Row row)
{
    const analysis::PhaseEnvelope& env = c.data.envelopes[idx(row)];
    const Scale sc = modelScale(c, row);
    addEnvelope(c, row, key(row), env.points, sc, false);
    addCritical(c, row, env.critical, sc);
}

void addReference(const Context& c, double t_K, bool isotherm)
{
    if (!c.data.reference)
        return;
    const ReferenceEnvelope& r = *c.data.reference;
    const Scale sc = scaleOf(r.critical, c.data.fluid, c.o.reduced);
    addEnvelope(c, std::nullopt, r.name, r.dome, sc, true);
    addCritical(c, std::nullopt, r.critical, sc);
    if (!isotherm || !r.pressure_bar || c.o.view == TeachingView::VapourPressure)
        return;
    const auto [vLo, vHi] = volumeSpan(c.w, 0, sc);
    std::vector<double> x, y;
    for (double v : logGrid(vLo, vHi, kIsothermSamples)) {
        x.push_back(v / sc.v);
        y.push_back(r.pressure_bar(t_K, v) / sc.p);
    }
    c.out.add(r.name + " isotherm", std::nullopt, {LineRole::Stable, true, false}, x, y);
}

/// The state pressure as a line, and each drawn model's roots at (slider T, P).
void addState(const Context& c, double t_K, const std::vector<state::Row>& models)
{
    if (!c.o.statePressure_bar)
        return;
    const double p = *c.o.statePressure_bar;
    const Scale comp = scaleOf({}, c.data.fluid, c.o.reduced);
    if (c.o.view == TeachingView::VapourPressure) {
        c.scene.diagram.markers.push_back(
            {MarkerKind::State, std::nullopt, t_K / comp.t, p / comp.p, "state"});
        return;
    }
    c.out.add("state P", std::nullopt, {LineRole::Guide, false, false}, {c.w.x.min, c.w.x.max},
              {p / comp.p, p / comp.p});
    for (state::Row row : models) {
        const analysis::StateRoots r = analysis::volumeRoots(row, c.data.fluid, t_K, p);
        const Scale sc = modelScale(c, row);
        for (int i = 0; i < r.count; ++i)
            c.scene.diagram.markers.push_back({MarkerKind::Root, row,
                                               r.roots[static_cast<std::size_t>(i)].v_cm3mol / sc.v,
                                               p / sc.p, "root"});
    }
}

/// The temperature written beside a family's isotherm: at the top of its loop, or where a
/// loopless isotherm leaves the upper part of the window on its way up the liquid side.
void addFamilyLabel(const Context& c, state::Row row, double t_K, double tr)
{
    const analysis::Isotherm iso = analysis::makeIsotherm(row, c.data.fluid, t_K);
    if (!iso.valid)
        return;
    const Scale sc = modelScale(c, row);
    const analysis::Spinodals sp = analysis::spinodals(iso);
    double v = 0;
    if (sp.exists) {
        v = sp.vVapour;
    } else {
        const double level =
            (c.w.y.log ? std::sqrt(c.w.y.min * c.w.y.max) : c.w.y.max) * kLabelLevel * sc.p;
        const auto [vLo, vHi] = volumeSpan(c.w, analysis::minVolume(iso), sc);
        const std::vector<double> grid = logGrid(vLo, vHi, kIsothermSamples);
        for (auto it = grid.rbegin(); it != grid.rend() && v == 0; ++it)
            if (analysis::pressure(iso, *it) >= level)
                v = *it;
    }
    const double x = v / sc.v, y = analysis::pressure(iso, v) / sc.p;
    if (v > 0 && x > c.w.x.min && x < c.w.x.max && y > c.w.y.min && y < c.w.y.max)
        c.scene.labels.push_back({x, y, num(tr, 3) + " Tc"});
}

std::vector<state::Row> shownModels(const TeachingOptions& o)
{
    std::vector<state::Row> rows;
    for (state::Row row : analysis::kModels)
        if (o.shown[idx(row)])
            rows.push_back(row);
    return rows;
}

std::string trText(double tr) { return "T/Tc " + num(tr, 3); }

/// The isotherm between the two cuts with the tie-line, closed along the tie-line.
TeachingFill areaPolygon(const analysis::Isotherm& iso, const analysis::EqualAreas& a,
                         const Scale& sc, bool liquid)
{
    TeachingFill fill;
    fill.liquidSide = liquid;
    const double from = liquid ? a.vLiquid : a.vMiddle;
    const double to = liquid ? a.vMiddle : a.vVapour;
    for (int i = 0; i <= kAreaSamples; ++i) {
        const double v = from * std::pow(to / from, static_cast<double>(i) / kAreaSamples);
        fill.x.push_back(v / sc.v);
        fill.y.push_back((i == 0 || i == kAreaSamples ? a.pSat_bar : analysis::pressure(iso, v)) /
                         sc.p);
    }
    const double area = liquid ? a.areaLiquid : a.areaVapour;
    fill.name = std::string(liquid ? "area below the tie-line " : "area above the tie-line ") +
                num(area, 7) + " bar·cm3/mol";
    return fill;
}

/// The equal-area window: the loop at this temperature with some room around it.
void fitLoop(TeachingScene& s, const analysis::EqualAreas& a, const analysis::Spinodals& sp,
             const Scale& sc)
{
    const double lo = std::min({0.0, sp.pLiquid, a.pSat_bar}) / sc.p;
    const double hi = std::max(sp.pVapour, a.pSat_bar) / sc.p;
    const double span = hi - lo;
    s.diagram.x.min = 0;
    s.diagram.x.max = 1.15 * a.vVapour / sc.v;
    s.diagram.y.min = lo - 0.08 * span;
    s.diagram.y.max = hi + 0.35 * span;
}

void equalAreaScene(const Context& c, double t_K)
{
    const state::Row row = c.o.model;
    const analysis::CriticalPoint& cp = c.data.envelopes[idx(row)].critical;
    const Scale sc = modelScale(c, row);
    const std::string name = key(row) + " " + trText(c.o.tr);
    const analysis::EqualAreas a = analysis::equalAreas(row, c.data.fluid, t_K, cp);
    if (a.found) {
        const analysis::Isotherm iso = analysis::makeIsotherm(row, c.data.fluid, t_K);
        fitLoop(c.scene, a, analysis::spinodals(iso), sc);
        c.scene.fills.push_back(areaPolygon(iso, a, sc, true));
        c.scene.fills.push_back(areaPolygon(iso, a, sc, false));
        c.scene.areas = a;
    }
    // The curves are cut against the window the loop was fitted to.
    const Window fitted{c.scene.diagram.x, c.scene.diagram.y};
    Builder b(c.scene, fitted);
    const Context inner{c.data, c.o, fitted, b, c.scene};
    addModelEnvelope(inner, row);
    addIsotherm(inner, row, t_K, name, true);
    addTieLine(inner, row, t_K, name + " tie-line");
    addState(inner, t_K, {row});
}

std::string areasText(const analysis::EqualAreas& a)
{
    const double rel =
        std::fabs(a.areaLiquid - a.areaVapour) / std::max(a.areaLiquid, a.areaVapour);
    return "   Psat " + num(a.pSat_bar, 6) + " bar   area below the tie-line " +
           num(a.areaLiquid, 7) + " bar·cm3/mol (" + num(a.areaLiquid / kBarCm3PerJoule, 7) +
           " J/mol), above " + num(a.areaVapour, 7) + " bar·cm3/mol: they differ by " +
           num(rel, 2) + " of their size";
}

} // namespace

std::optional<ReferenceEnvelope> referenceEnvelope(std::string_view component)
{
    const reference::Fluid* f = reference::Library::shipped().find(component);
    if (f == nullptr || !f->eosCritical().found)
        return std::nullopt;
    constexpr double kCm3PerM3 = 1e6, kPaPerBar = 1e5;
    const reference::CriticalPoint& c = f->eosCritical();
    ReferenceEnvelope r;
    r.name = "reference EOS";
    r.critical.status = analysis::CriticalStatus::Found;
    r.critical.t_K = c.t_K;
    r.critical.p_bar = c.p_Pa / kPaPerBar;
    r.critical.v_cm3mol = kCm3PerM3 / c.rho;
    const double from = std::max(f->tTriple, kEnvelopeTrFrom * c.t_K);
    for (int i = 0; i + 1 < kEnvelopePoints; ++i) {
        const double u = 1 - static_cast<double>(i) / (kEnvelopePoints - 1);
        const reference::Saturation s = reference::saturation(*f, c.t_K - (c.t_K - from) * u * u);
        if (!s.ok())
            continue;
        analysis::EnvelopePoint e;
        e.t_K = s.t_K;
        e.pSat_bar = s.p_Pa / kPaPerBar;
        e.vLiquid = kCm3PerM3 / s.rhoLiquid;
        e.vVapour = kCm3PerM3 / s.rhoVapour;
        r.dome.push_back(e);
    }
    analysis::EnvelopePoint top;
    top.t_K = c.t_K;
    top.pSat_bar = r.critical.p_bar;
    top.vLiquid = top.vVapour = r.critical.v_cm3mol;
    r.dome.push_back(top);
    r.pressure_bar = [f](double t_K, double v) {
        return reference::properties(*f, t_K, kCm3PerM3 / v).p_Pa / kPaPerBar;
    };
    return r;
}

TeachingData prepareTeaching(const analysis::Fluid& fluid)
{
    TeachingData d;
    d.fluid = fluid;
    for (state::Row row : analysis::kModels)
        d.envelopes[idx(row)] =
            analysis::phaseEnvelope(row, fluid, kEnvelopeTrFrom, kEnvelopePoints);
    return d;
}

TeachingScene teachingScene(const TeachingData& data, const TeachingOptions& o)
{
    TeachingScene scene;
    const Window w = windowOf(o, data.fluid);
    scene.diagram.x = w.x;
    scene.diagram.y = w.y;
    scene.t_K = o.tr * data.fluid.tc_K;
    Builder b(scene, w);
    const Context c{data, o, w, b, scene};
    const std::vector<state::Row> models = shownModels(o);
    scene.caption = "T = " + num(scene.t_K, 6) + " K = " + num(scene.t_K - kZeroCelsius_K, 6) +
                    " °C (" + trText(o.tr) + " of the component)";
    switch (o.view) {
    case TeachingView::Domes:
        scene.diagram.title = "Domes and spinodals";
        for (state::Row row : models) {
            addModelEnvelope(c, row);
            if (o.isotherms)
                addIsotherm(c, row, scene.t_K, key(row) + " " + trText(o.tr), false);
        }
        addReference(c, scene.t_K, o.isotherms);
        if (o.isotherms)
            addState(c, scene.t_K, models);
        break;
    case TeachingView::VapourPressure:
        scene.diagram.title = "Vapour pressure";
        for (state::Row row : models)
            addModelEnvelope(c, row);
        addReference(c, scene.t_K, false);
        b.add("slider T", std::nullopt, {LineRole::Guide, false, false},
              {scene.t_K / scaleOf({}, data.fluid, o.reduced).t,
               scene.t_K / scaleOf({}, data.fluid, o.reduced).t},
              {w.y.min, w.y.max});
        addState(c, scene.t_K, models);
        break;
    case TeachingView::IsothermFamily:
        scene.diagram.title = "Isotherms";
        if (o.familyAllModels) {
            for (state::Row row : models) {
                addIsotherm(c, row, scene.t_K, key(row) + " " + trText(o.tr), false);
                addTieLine(c, row, scene.t_K, key(row) + " tie-line");
                const analysis::PhaseEnvelope& env = data.envelopes[idx(row)];
                addCritical(c, row, env.critical, modelScale(c, row));
            }
            addReference(c, scene.t_K, true);
            addState(c, scene.t_K, models);
            break;
        }
        addModelEnvelope(c, o.model);
        for (double tr : kFamilyTr) {
            const double t = tr * data.fluid.tc_K;
            addIsotherm(c, o.model, t, key(o.model) + " " + trText(tr), false);
            addTieLine(c, o.model, t, key(o.model) + " " + trText(tr) + " tie-line");
            addFamilyLabel(c, o.model, t, tr);
        }
        addIsotherm(c, o.model, scene.t_K, key(o.model) + " " + trText(o.tr), true);
        addTieLine(c, o.model, scene.t_K, key(o.model) + " " + trText(o.tr) + " tie-line");
        addState(c, scene.t_K, {o.model});
        break;
    case TeachingView::EqualAreas:
        scene.diagram.title = "Equal areas";
        equalAreaScene(c, scene.t_K);
        if (scene.areas)
            scene.caption += areasText(*scene.areas);
        else
            scene.caption += "   no loop: the model is above its critical temperature here";
        break;
    }
    return scene;
}

} // namespace plots
