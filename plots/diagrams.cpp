#include "plots/diagrams.h"

#include "analysis/phase_analysis.h"
#include "core/antoine.h"
#include "plots/curve_sampling.h"
#include "state/calc_state.h"
#include "state/number_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plots {
namespace {

// The vapour-pressure curve on a grid that is cheap for the two models without a closed-form
// root; the isotherms are sampled adaptively (curve_sampling.h).
constexpr int kTempSamples = 90;
// The isotherm starts this far above the smallest co-volume and ends this far past the
// ideal-gas volume of the state.
constexpr double kCoVolumeMargin = 1.002;
constexpr double kIdealGasReach = 20.0;
// The vapour-pressure curve from this reduced temperature, where every model still has a
// liquid root, to a little past the highest critical temperature.
constexpr double kLowestReducedTemp = 0.4;
constexpr double kBeyondCritical = 1.05;
// Z-P: the curves are kept up to this multiple of the initial pressure window, so a zoom out
// shows more without the liquid branch's steep end ruling the autoscale.
constexpr double kZpReach = 3.0;
constexpr int kTableDigits = 6;
// P-T: the state marker this far inside the left edge, as a fraction of the temperature span.
constexpr double kEdgeMargin = 0.04;

/// The state the diagrams are drawn at: T and P as the calculation holds them (single
/// precision), and as the window writes them.
struct StatePoint {
    double t_K = 0;
    double p_bar = 0;
    double pTyped = 0;     // p_bar as its shortest decimal text reads: 1.01325, not 1.0132500171…
    std::string tempText;  // °C
    std::string pressText; // bar
};

/// A single-precision input as the double its shortest round-trip text reads as (298.15f ->
/// 298.15): what was typed, not the float's binary expansion 298.149993896484375.
double asTyped(float f)
{
    for (int digits = 1; digits < 10; ++digits) {
        const std::string text = state::formatSignificant(f, digits);
        if (const auto back = state::toFloat(text); back && *back == f)
            return state::toDouble(text).value_or(f);
    }
    return f;
}

std::string number(double v) { return state::formatSignificant(v, kTableDigits); }

std::string abbrev(state::Row row) { return std::string(state::rowKey(row)); }

bool finite(double v) { return std::isfinite(v); }

std::vector<double> linearGrid(double lo, double hi, int n)
{
    std::vector<double> g(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        g[static_cast<std::size_t>(i)] = lo + (hi - lo) * i / (n - 1);
    return g;
}

/// The volumes the sheet shows for a model, liquid first; markers and "NC" give nothing.
std::vector<double> sheetVolumes(const state::ResultSheet& sheet, state::Row row)
{
    std::vector<double> v;
    for (state::Col col : {state::Col::Liq, state::Col::Vap}) {
        if (!state::hasCell(row, col))
            continue;
        if (const auto value = state::toDouble(sheet.text(row, col)); value && *value > 0)
            v.push_back(*value);
    }
    return v;
}

/// A curve; `part` says which part of a model's curves it is ("stable liquid"), "" for the
/// model's one curve; a component curve's name is its label.
Curve line(std::string name, std::optional<state::Row> model, LineStyle style,
           const std::string& part = "")
{
    Curve c;
    c.name = std::move(name);
    c.model = model;
    c.style = style;
    c.label = !model         ? c.name
              : part.empty() ? std::string(state::rowCaption(*model))
                             : std::string(state::rowCaption(*model)) + ", " + part;
    return c;
}

void push(Curve& c, double x, double y)
{
    c.x.push_back(x);
    c.y.push_back(y);
}

// Each model formed once at the state temperature, with its saturation and critical point.
struct Models {
    analysis::Fluid fluid;
    std::array<analysis::Isotherm, kModelCount> iso{};
    std::array<analysis::CriticalPoint, kModelCount> crit{};
    std::array<std::optional<analysis::Saturation>, kModelCount> sat{};
    analysis::StateAnalysis state;
};

Models formModels(const state::CalcState& s, const StatePoint& st)
{
    Models m;
    m.fluid = analysis::fluidOf(s.constants, s.chkSphMol);
    m.state = analysis::analyseState(m.fluid, st.t_K, st.p_bar);
    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::ModelAnalysis& a = m.state.models[i];
        m.iso[i] = analysis::makeIsotherm(a.model, m.fluid, st.t_K);
        m.crit[i] = a.critical;
        if (a.saturation.converged())
            m.sat[i] = a.saturation;
    }
    return m;
}

/// The top of the pressure window: above the state and the critical pressure.
double pressureTop(const state::ComponentConstants& cc, const StatePoint& st)
{
    return std::max(1.5 * static_cast<double>(cc.CritPress), 1.3 * st.p_bar);
}

/// The isotherm's lowest drawn volume: just above the co-volume. The truncated virial
/// equation describes the gas only; below the volume of its pressure maximum P would fall
/// with rising density, so its curve starts there.
double firstVolume(const analysis::Isotherm& iso)
{
    const double first = std::max(analysis::minVolume(iso), 0.0) * kCoVolumeMargin;
    if (iso.family != analysis::Family::Virial)
        return first;
    return std::max(first, analysis::spinodals(iso).vVapour);
}

std::optional<double> antoinePressure(const state::CalcState& s, double t_K)
{
    if (!s.flags.AntoineAvailable || t_K > s.constants.CritTemp)
        return std::nullopt;
    return core::SaturationPressure(s.antoine, static_cast<float>(t_K - state::kCelsiusToKelvin));
}

// ---- P-V ------------------------------------------------------------------------------------

void setPoints(Curve& c, const std::vector<Point>& points)
{
    c.x.clear();
    c.y.clear();
    for (const Point& p : points)
        if (c.x.empty() || p.x >= c.x.back()) // keyed by x: a rounding step back is dropped
            push(c, p.x, p.y);
}

/// A model's P-V isotherm up to `vMax`, sampled along ln V.
Curve pvIsotherm(const analysis::Isotherm& iso, double vMax, double reach, const Resolution& res)
{
    const state::Row row = iso.model;
    Curve c = line(abbrev(row) + " P", row, LineStyle::Solid);
    // Along ln V; next to the co-volume the pressure runs to infinity, so the curve
    // starts where it comes down to the reach of a zoom out.
    // From the densest state: the pressure maximum of the virial row, else just above the
    // smallest volume (Dieterici's pressure is still modest at 1.002 times its co-volume).
    double s0 = iso.family == analysis::Family::Virial ? std::log(firstVolume(iso))
                                                       : std::log(analysis::minVolume(iso)) + 1e-12;
    const double s1 = std::log(vMax);
    const auto at = [&](double lnV) {
        const double v = lnV == s1 ? vMax : std::exp(lnV);
        return Point{v, analysis::pressure(iso, v)};
    };
    const auto inReach = [&](double lnV) {
        return analysis::pressure(iso, std::exp(lnV)) <= reach;
    };
    if (!inReach(s0) && inReach(s1))
        s0 = runEnd(inReach, s1, s0);
    if (s0 < s1)
        setPoints(c, sampleCurve(at, s0, s1, res));
    return c;
}

Diagram pvDiagram(const DiagramInput& in, const Models& m, const StatePoint& st)
{
    const state::ComponentConstants& cc = in.state.constants;
    Diagram d;
    d.title = "P-V isotherms at " + st.tempText + " °C";
    double vMin = std::numeric_limits<double>::infinity();
    for (const analysis::Isotherm& iso : m.iso)
        if (const double v = firstVolume(iso); iso.valid && v > 0)
            vMin = std::min(vMin, v);
    if (!finite(vMin))
        vMin = 0.1 * static_cast<double>(cc.CritVol);
    const double rt = static_cast<double>(state::R) * st.t_K;
    const double vIdeal = rt / (st.p_bar > 0 ? st.p_bar : static_cast<double>(cc.CritPress));
    const double vMax = std::max(kIdealGasReach * vIdeal, 100.0 * static_cast<double>(cc.CritVol));
    const double pTop = pressureTop(cc, st);
    const double pBottom = -0.5 * static_cast<double>(cc.CritPress);
    const double reach = kZpReach * pTop;
    const Resolution res{std::log10(vMax / vMin), pTop - pBottom, true, false};

    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::Isotherm& iso = m.iso[i];
        const state::Row row = iso.model;
        if (!iso.valid)
            continue;
        Curve c = pvIsotherm(iso, vMax, reach, res);
        if (c.x.size() > 1)
            d.curves.push_back(std::move(c));
        if (const auto& sat = m.sat[i]) {
            Curve tie = line(abbrev(row) + " tie-line P", row, LineStyle::Dashed, "tie-line");
            push(tie, sat->vLiquid, sat->p_bar);
            push(tie, sat->vVapour, sat->p_bar);
            d.curves.push_back(std::move(tie));
        }
        if (in.sheet)
            for (double v : sheetVolumes(*in.sheet, row))
                d.markers.push_back({MarkerKind::Root, row, v, st.p_bar, "sheet volume"});
    }
    Curve stateLine = line("State pressure", std::nullopt, LineStyle::Dotted);
    push(stateLine, vMin, st.pTyped);
    push(stateLine, vMax, st.pTyped);
    d.curves.push_back(std::move(stateLine));
    double pLow = st.p_bar > 0 ? st.p_bar : pTop;
    if (const auto ps = antoinePressure(in.state, st.t_K)) {
        Curve ant = line("Antoine pressure", std::nullopt, LineStyle::Dashed);
        push(ant, vMin, *ps);
        push(ant, vMax, *ps);
        d.curves.push_back(std::move(ant));
        if (*ps > 0)
            pLow = std::min(pLow, *ps);
    }
    for (const auto& sat : m.sat)
        if (sat && sat->p_bar > 0)
            pLow = std::min(pLow, sat->p_bar);
    d.markers.push_back(
        {MarkerKind::CriticalPoint, std::nullopt, cc.CritVol, cc.CritPress, "Critical point"});
    d.keys.push_back({LineStyle::Dashed, "model dashed: its tie-line"});

    d.x = {"V (cm3/mol)", true, vMin, vMax, 0};
    // Around the state and the critical pressure, reaching below zero so that the loops of
    // the models below their critical temperature show both turns.
    d.y = {"P (bar)", false, pBottom, pTop};
    // Logarithmic: from below the lowest of the state, Antoine and model vapour pressures,
    // which a linear axis draws on top of each other near zero.
    d.yLog = Axis{"P (bar)", true, 0.3 * pLow, pTop, 0};
    return d;
}

// ---- Z-P ------------------------------------------------------------------------------------

/// One part of a model's Z-P isotherm, over the reduced density η = b/V: along a mechanically
/// stable part P rises with η, so the points come in rising pressure.
struct Branch {
    const char* part; // "stable vapour"; "" for a model without a phase split
    LineStyle style;
    double eta0;
    double eta1;
};

/// The parts of a model's Z-P isotherm, densest end at `etaEnd`.
std::vector<Branch> zpBranches(const std::optional<analysis::Saturation>& sat,
                               const analysis::Spinodals& sp, double b, double etaEnd)
{
    std::vector<Branch> branches;
    if (sat) {
        const double etaV = b / sat->vVapour;
        const double etaL = b / sat->vLiquid;
        branches.push_back({"stable vapour", LineStyle::Solid, 0, etaV});
        // The metastable parts run from the saturation volumes to the spinodals.
        if (sp.exists && etaV <= b / sp.vVapour && b / sp.vLiquid <= etaL) {
            branches.push_back({"metastable vapour", LineStyle::Dashed, etaV, b / sp.vVapour});
            branches.push_back({"metastable liquid", LineStyle::Dashed, b / sp.vLiquid, etaL});
        }
        branches.push_back({"stable liquid", LineStyle::Solid, etaL, etaEnd});
    } else if (sp.exists) {
        // A loop without a converged saturation: both mechanically stable parts.
        branches.push_back({"", LineStyle::Solid, 0, b / sp.vVapour});
        branches.push_back({"liquid side", LineStyle::Solid, b / sp.vLiquid, etaEnd});
    } else {
        branches.push_back({"", LineStyle::Solid, 0, etaEnd});
    }
    return branches;
}

struct ZpWindow {
    double pTop;  // the axis top, bar
    double reach; // the highest pressure a curve is drawn to, bar
    double rt;    // R T, bar cm3/mol
};

/// Adds a model's Z-P curves to `d`; returns the Z axis top their stable parts need.
double zpModelCurves(Diagram& d, const analysis::Isotherm& iso,
                     const std::optional<analysis::Saturation>& sat, const ZpWindow& w,
                     const Resolution& res)
{
    const state::Row row = iso.model;
    const double pTop = w.pTop, reach = w.reach, rt = w.rt;
    double zTop = 0;
    const std::string a = abbrev(row);
    const analysis::Spinodals sp = analysis::spinodals(iso);
    const double b = iso.b;
    // The densest state: the pressure maximum of the virial row, else the model's
    // smallest volume, where P is infinite.
    const double etaEnd = iso.family == analysis::Family::Virial
                              ? (sp.vVapour > 0 ? b / sp.vVapour : 0)
                              : b / analysis::minVolume(iso);
    const auto at = [&](double eta) {
        if (!(eta > 0))
            return Point{0, 1}; // the ideal-gas limit
        const double v = b / eta;
        const double p = analysis::pressure(iso, v);
        return Point{p, p * v / rt};
    };
    const auto onBranch = [&](double eta) {
        if (!(eta > 0))
            return true;
        const double v = b / eta;
        const double p = analysis::pressure(iso, v);
        return p >= 0 && p <= reach && analysis::pressureSlope(iso, v) < 0;
    };
    for (const Branch& br : zpBranches(sat, sp, b, etaEnd)) {
        double e0 = br.eta0;
        double e1 = br.eta1;
        const bool in0 = onBranch(e0);
        const bool in1 = onBranch(e1);
        if (!in0 && !in1)
            continue;
        if (!in1)
            e1 = runEnd(onBranch, e0, e1);
        else if (!in0)
            e0 = runEnd(onBranch, e1, e0);
        std::string name = a + " Z" + (*br.part ? " " : "") + br.part;
        Curve c = line(std::move(name), row, br.style, br.part);
        std::vector<Point> points = sampleCurve(at, e0, e1, res);
        if (sat) {
            // The branches meet exactly at the saturation point.
            const Point vap{sat->p_bar, sat->p_bar * sat->vVapour / rt};
            const Point liq{sat->p_bar, sat->p_bar * sat->vLiquid / rt};
            if (e1 == b / sat->vVapour)
                points.back() = vap;
            if (e0 == b / sat->vVapour)
                points.front() = vap;
            if (e1 == b / sat->vLiquid)
                points.back() = liq;
            if (e0 == b / sat->vLiquid)
                points.front() = liq;
        }
        setPoints(c, points);
        if (c.x.size() < 2)
            continue;
        if (br.style == LineStyle::Solid)
            for (std::size_t k = 0; k < c.x.size() && c.x[k] <= pTop; ++k)
                zTop = std::max(zTop, 1.1 * c.y[k]);
        d.curves.push_back(std::move(c));
    }
    return zTop;
}

Diagram zpDiagram(const DiagramInput& in, const Models& m, const StatePoint& st)
{
    Diagram d;
    d.title = "Z-P at " + st.tempText + " °C";
    const double pTop = pressureTop(in.state.constants, st);
    const double reach = kZpReach * pTop;
    const double rt = static_cast<double>(state::R) * st.t_K;
    // Resolved for Z up to about 1; where the liquid climbs higher the curves are finer
    // than needed.
    const Resolution res{pTop, 1.0, false, false};
    double zTop = 1.1;
    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::Isotherm& iso = m.iso[i];
        const state::Row row = iso.model;
        if (!iso.valid)
            continue;
        zTop = std::max(zTop, zpModelCurves(d, iso, m.sat[i], {pTop, reach, rt}, res));
        if (in.sheet)
            for (double v : sheetVolumes(*in.sheet, row)) {
                const double z = st.p_bar * v / rt;
                d.markers.push_back({MarkerKind::Root, row, st.p_bar, z, "sheet volume"});
                zTop = std::max(zTop, 1.1 * z);
            }
    }
    Curve stateLine = line("State pressure", std::nullopt, LineStyle::Dotted);
    push(stateLine, st.pTyped, 0);
    push(stateLine, st.pTyped, zTop);
    d.curves.push_back(std::move(stateLine));
    d.keys.push_back({LineStyle::Solid, "model solid: stable"});
    d.keys.push_back({LineStyle::Dashed, "model dashed: metastable"});
    d.x = {"P (bar)", false, 0, pTop, 0};
    d.y = {"Z (-)", false, 0, zTop, 0};
    return d;
}

// ---- P-T ------------------------------------------------------------------------------------

Diagram ptDiagram(const DiagramInput& in, const Models& m, const StatePoint& st)
{
    const state::ComponentConstants& cc = in.state.constants;
    Diagram d;
    d.title = "Vapour pressure";
    const double tc = cc.CritTemp;
    double tHigh = tc;
    for (const analysis::CriticalPoint& c : m.crit)
        if (c.found())
            tHigh = std::max(tHigh, c.t_K);
    tHigh = std::max(kBeyondCritical * tHigh, kBeyondCritical * st.t_K);
    // A state colder than the lowest reduced temperature sits a little inside the left edge,
    // its marker whole.
    const double tLow = std::min(kLowestReducedTemp * tc,
                                 std::max(0.5 * st.t_K, st.t_K - kEdgeMargin * (tHigh - st.t_K)));
    const std::vector<double> grid = linearGrid(tLow, tHigh, kTempSamples);
    double pLow = std::numeric_limits<double>::infinity();

    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::CriticalPoint& crit = m.crit[i];
        const state::Row row = analysis::kModels[i];
        if (!crit.found())
            continue;
        Curve c = line(abbrev(row) + " Psat", row, LineStyle::Solid);
        for (double t : grid) {
            if (t >= crit.t_K)
                break;
            const analysis::Saturation sat = analysis::saturation(row, m.fluid, t, crit);
            if (sat.converged() && sat.p_bar > 0) {
                push(c, t, sat.p_bar);
                pLow = std::min(pLow, sat.p_bar);
            }
        }
        push(c, crit.t_K, crit.p_bar);
        d.markers.push_back(
            {MarkerKind::ModelCritical, row, crit.t_K, crit.p_bar, "model critical point"});
        if (c.x.size() > 1)
            d.curves.push_back(std::move(c));
    }
    if (in.state.flags.AntoineAvailable) {
        // Solid over the fitted range, dashed where the coefficients are extrapolated.
        Curve below = line("Antoine extrapolated below", std::nullopt, LineStyle::Dashed);
        Curve fitted = line("Antoine", std::nullopt, LineStyle::Solid);
        Curve above = line("Antoine extrapolated above", std::nullopt, LineStyle::Dashed);
        const auto& range = in.antoineRange;
        for (double t : grid) {
            const auto ps = antoinePressure(in.state, t);
            if (!ps || !(*ps > 0))
                continue;
            const double t_C = t - state::kCelsiusToKelvin;
            Curve& part = !range                ? fitted
                          : t_C < range->tmin_C ? below
                          : t_C > range->tmax_C ? above
                                                : fitted;
            push(part, t, *ps);
            pLow = std::min(pLow, *ps);
        }
        for (Curve* c : {&below, &fitted, &above})
            if (c->x.size() > 1)
                d.curves.push_back(std::move(*c));
    }
    if (st.p_bar > 0)
        d.markers.push_back({MarkerKind::State, std::nullopt, st.t_K, st.p_bar, "State"});
    d.markers.push_back(
        {MarkerKind::CriticalPoint, std::nullopt, tc, cc.CritPress, "Critical point"});

    const double pHigh = 2.0 * std::max(static_cast<double>(cc.CritPress), st.p_bar);
    if (!finite(pLow))
        pLow = 1e-3 * pHigh;
    if (st.p_bar > 0)
        pLow = std::min(pLow, st.p_bar);
    d.x = {"T (K)", false, tLow, tHigh, 0};
    d.y = {"P (bar)", true, std::max(0.5 * pLow, 1e-12 * pHigh), pHigh, 0};
    return d;
}

// ---- table ----------------------------------------------------------------------------------

std::string joined(const std::vector<std::string>& parts)
{
    std::string s;
    for (const std::string& p : parts)
        s += (s.empty() ? "" : "; ") + p;
    return s;
}

std::vector<TableRow> table(const DiagramInput& in, const Models& m, const StatePoint& st)
{
    std::vector<TableRow> rows;
    const auto antoine = antoinePressure(in.state, st.t_K);
    for (const analysis::ModelAnalysis& a : m.state.models) {
        TableRow r;
        r.model = a.model;
        if (a.roots.hasRoots()) {
            std::vector<std::string> v;
            std::vector<std::string> phi;
            for (int k = 0; k < a.roots.count; ++k) {
                const analysis::VolumeRoot& root = a.roots.roots[static_cast<std::size_t>(k)];
                v.push_back(number(root.v_cm3mol) + (root.mechanicallyStable ? "" : " (unstable)"));
                phi.push_back(number(root.lnPhi));
            }
            r.roots = joined(v);
            r.lnPhi = joined(phi);
            if (a.roots.stable >= 0)
                r.stableRoot =
                    number(a.roots.roots[static_cast<std::size_t>(a.roots.stable)].v_cm3mol);
        } else {
            r.roots = std::string(analysis::statusText(a.roots.status));
        }
        if (r.stableRoot.empty())
            r.stableRoot = a.roots.hasRoots() ? std::string("no stable root")
                                              : std::string(analysis::statusText(a.roots.status));
        if (a.saturation.converged()) {
            r.psat = number(a.saturation.p_bar);
            r.vl = number(a.saturation.vLiquid);
            r.vv = number(a.saturation.vVapour);
            if (antoine && *antoine > 0)
                r.antoineDev =
                    state::formatSignificant(100.0 * (a.saturation.p_bar - *antoine) / *antoine, 4);
        } else {
            r.psat = std::string(analysis::statusText(a.saturation.status));
        }
        if (a.critical.found())
            r.critical = number(a.critical.t_K) + " K, " + number(a.critical.p_bar) + " bar, " +
                         number(a.critical.v_cm3mol) + " cm3/mol";
        else
            r.critical = std::string(analysis::statusText(a.critical.status));
        rows.push_back(std::move(r));
    }
    return rows;
}

StatePoint statePoint(const DiagramInput& in)
{
    StatePoint st;
    if (!in.sheet && !in.solvedBefore) {
        st.t_K = kStandInTemp_C + state::kCelsiusToKelvin;
        st.p_bar = st.pTyped = kStandInPress_bar;
        st.tempText = state::formatSignificant(kStandInTemp_C, 6);
        st.pressText = state::formatSignificant(kStandInPress_bar, 6);
        return st;
    }
    const float t = in.state.conditions.TempK;
    const float p = in.state.conditions.PressBar;
    st.t_K = t;
    st.p_bar = p;
    st.pTyped = asTyped(p);
    // Without the boxes' text: °C from the kelvins as typed, 298.15 -> 25 rather than
    // 25.0000061.
    st.tempText = !in.tempText.empty()
                      ? in.tempText
                      : state::formatSignificant(asTyped(t) - state::kCelsiusToKelvin, 6);
    st.pressText = !in.pressText.empty() ? in.pressText : state::formatSignificant(st.pTyped, 6);
    return st;
}

std::string note(const DiagramInput& in, const StatePoint& st)
{
    const std::string where =
        in.component + " at " + st.tempText + " °C and " + st.pressText + " bar";
    if (in.sheet)
        return where + "; markers on the curves are the volumes the sheet shows.";
    if (!in.solvedBefore)
        return "Not solved yet: " + where + ". Press Solve to draw your own state.";
    if (in.componentSolved)
        return where + ", not solved at this state: press Solve to mark the sheet's volumes.";
    return where + ", not solved for this component yet: press Solve to mark the sheet's volumes.";
}

} // namespace

std::array<double, 2> diagramStatePoint(const DiagramInput& input)
{
    const StatePoint st = statePoint(input);
    return {st.t_K, st.p_bar};
}

Diagrams computeDiagrams(const DiagramInput& in)
{
    Diagrams out;
    const StatePoint st = statePoint(in);
    const state::ComponentConstants& cc = in.state.constants;
    out.note = note(in, st);
    out.tempText = st.tempText;
    out.pressText = st.pressText;
    if (!(cc.CritTemp > 0) || !(cc.CritPress > 0) || !(cc.CritVol > 0) || !(st.t_K > 0)) {
        out.note = in.component.empty() ? "Choose a component to draw its diagrams."
                                        : "No diagrams: the critical constants or the "
                                          "temperature are not positive.";
        return out;
    }
    const Models m = formModels(in.state, st);
    out.pv = pvDiagram(in, m, st);
    out.zp = zpDiagram(in, m, st);
    out.pt = ptDiagram(in, m, st);
    out.table = table(in, m, st);
    return out;
}

namespace {

/// Whether a box's text reads as the value, to the text's own last decimal (a relative 1e-6 for
/// exponent forms and the single-precision state).
bool textShows(const std::string& text, double value)
{
    const auto typed = state::toDouble(text);
    const std::size_t point = text.find('.');
    const bool plain = text.find_first_of("eE") == std::string::npos;
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    const double halfStep = plain ? 0.5 * std::pow(10.0, -decimals) : 0;
    return typed && std::abs(*typed - value) <= halfStep + 1e-6 * std::abs(value);
}

} // namespace

void takeShownTexts(DiagramInput& input, const std::string& tempText, const std::string& pressText)
{
    const state::StateConditions& c = input.state.conditions;
    if (textShows(tempText, c.TempK - state::kCelsiusToKelvin))
        input.tempText = tempText;
    if (textShows(pressText, c.PressBar))
        input.pressText = pressText;
}

} // namespace plots
